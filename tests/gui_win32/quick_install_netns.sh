#!/usr/bin/env bash
# Quillon.exe under Wine and a private Xvfb, in the PC's network namespace, against the native
# modemsim and dnsmasq in the modem's (scripts/modem-demo.sh): a quick installation with mouse and
# keyboard up to the completion page, a screenshot of every page, and the modem's saved settings
# checked at the end. Wine's server is started inside the PC's namespace, since Wine's sockets
# live there. The CD is a copy whose reboot wait is one second. Root only (namespaces).
# Usage: quick_install_netns.sh QUILLON_EXE MODEMSIM ARTIFACT_DIR
set -euo pipefail
exe=$1 modemsim=$2 out=$3
here=$(cd "$(dirname "$0")" && pwd)
repo=$(cd "$here/../.." && pwd)
[ "$(id -u)" -eq 0 ] || { echo "quick_install_netns: needs root for network namespaces" >&2; exit 1; }
[ -x "$modemsim" ] || { echo "quick_install_netns: no native modemsim at $modemsim" >&2; exit 2; }

work=$(mktemp -d /tmp/quillon-wine-netns.XXXXXX)
trap 'rm -rf "$work"' EXIT
cp -r "$(dirname "$exe")" "$work/cd"
sed -i 's/^ResetWaitTime=.*/ResetWaitTime=1\r/' "$work"/cd/Language/*/dslutility*.ini
rm -rf "$out"
mkdir -p "$out"

bash "$repo/tests/gui/with_xvfb.sh" bash "$repo/scripts/modem-demo.sh" --mode netns --cd "$work/cd" \
  --modemsim "$modemsim" --sim-arg --reboot-ms --sim-arg 500 -- bash "$here/quick_install_driver.sh" "$out"
