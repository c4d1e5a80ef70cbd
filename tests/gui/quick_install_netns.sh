#!/usr/bin/env bash
# The wizard under a private Xvfb, in the PC's network namespace, against modemsim and dnsmasq
# in the modem's (scripts/modem-demo.sh): a whole quick installation with mouse and keyboard, a
# screenshot of every page, and the modem's saved settings checked at the end. With `wine`, the
# CD's Quillon.exe runs under Wine against the native modemsim. The CD is a copy whose reboot
# wait is one second, so the run takes about half a minute. Root only (namespaces).
# Usage: quick_install_netns.sh CD_DIR MODEMSIM ARTIFACT_DIR [native|wine]
set -euo pipefail
cd_dir=$1 modemsim=$2 out=$3 platform=${4:-native}
here=$(cd "$(dirname "$0")" && pwd)
repo=$(cd "$here/../.." && pwd)
[ "$(id -u)" -eq 0 ] || { echo "quick_install_netns: needs root for network namespaces" >&2; exit 1; }
[ -x "$modemsim" ] || { echo "quick_install_netns: no native modemsim at $modemsim" >&2; exit 2; }

work=$(mktemp -d /tmp/quillon-gui-netns.XXXXXX)
trap 'rm -rf "$work"' EXIT
cp -r "$cd_dir" "$work/cd"
sed -i 's/^ResetWaitTime=.*/ResetWaitTime=1\r/' "$work"/cd/Language/*/dslutility*.ini
rm -rf "$out"
mkdir -p "$out"

bash "$here/with_xvfb.sh" bash "$repo/scripts/modem-demo.sh" --mode netns --cd "$work/cd" \
  --modemsim "$modemsim" --sim-arg --reboot-ms --sim-arg 500 -- \
  bash "$here/quick_install_driver.sh" "$out" "$platform"
