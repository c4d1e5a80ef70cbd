#!/usr/bin/env bash
# The wizard under a private Xvfb, in the PC's network namespace, against modemsim and dnsmasq
# in the modem's (scripts/modem-demo.sh): a whole quick installation from the keyboard alone, a
# screenshot of every page, and the modem's saved settings checked at the end. With `wine`, the
# CD's Quillon.exe runs under Wine against the native modemsim. A CD folder is copied with a
# reboot wait of one second, so the run takes about half a minute. A CD image (.iso) is taken as
# users get it: extracted, mounted read-only, walked with its own reboot wait, and afterwards
# nothing in it may have changed. Root only (namespaces, mounts).
# Usage: quick_install_netns.sh CD_DIR|CD_IMAGE MODEMSIM ARTIFACT_DIR [native|wine]
set -euo pipefail
cd_source=$1 modemsim=$2 out=$3 platform=${4:-native}
here=$(cd "$(dirname "$0")" && pwd)
repo=$(cd "$here/../.." && pwd)
[ "$(id -u)" -eq 0 ] || { echo "quick_install_netns: needs root for network namespaces" >&2; exit 1; }
[ -x "$modemsim" ] || { echo "quick_install_netns: no native modemsim at $modemsim" >&2; exit 2; }

work=$(mktemp -d /tmp/quillon-gui-netns.XXXXXX)
cleanup() {
  if mountpoint -q "$work/cd"; then umount "$work/cd"; fi
  rm -rf "$work"
}
trap cleanup EXIT
# Every file of the CD with its checksum, mode and time, sorted.
inventory() { (cd "$1" && find . -printf '%p %m %T@\n' && find . -type f -exec sha256sum {} +) | sort; }
if [ -f "$cd_source" ]; then
  mkdir "$work/image" "$work/cd"
  xorriso -no_rc -osirrox on -indev "$cd_source" -extract / "$work/image" >/dev/null 2>&1 ||
    { echo "quick_install_netns: cannot extract $cd_source" >&2; exit 2; }
  inventory "$work/image" >"$work/before.txt"
  mount --bind "$work/image" "$work/cd"
  mount -o remount,bind,ro "$work/cd"
  touch "$work/cd/probe" 2>/dev/null && { echo "quick_install_netns: the CD is writable" >&2; exit 2; }
else
  cp -r "$cd_source" "$work/cd"
  sed -i 's/^ResetWaitTime=.*/ResetWaitTime=1\r/' "$work"/cd/Language/*/dslutility*.ini
fi
rm -rf "$out"
mkdir -p "$out"

# Under Wine the router's password is not the factory one, so that the walk meets the password
# dialog.
sim_args=(--sim-arg --reboot-ms --sim-arg 500)
# Natively the PC is a laptop whose Wi-Fi, with the default route, has a decoy modem on it. Wine
# cannot tell a wireless card from a cable, so the Windows walk has the cable alone.
[ "$platform" = wine ] || sim_args+=(--laptop-wifi)
if [ "$platform" = wine ]; then
  export ROUTER_PASSWORD=changed-tulip
  sim_args+=(--sim-arg --password --sim-arg "$ROUTER_PASSWORD")
fi
bash "$here/with_xvfb.sh" bash "$repo/scripts/modem-demo.sh" --mode netns --cd "$work/cd" \
  --modemsim "$modemsim" "${sim_args[@]}" -- \
  bash "$here/quick_install_driver.sh" "$out" "$platform"
if [ -f "$cd_source" ]; then
  inventory "$work/image" >"$work/after.txt"
  diff "$work/before.txt" "$work/after.txt" >"$out/cd_changes.txt" ||
    { echo "FAIL: the walk changed the CD:" >&2; cat "$out/cd_changes.txt" >&2; exit 1; }
  echo "the CD is unchanged after the walk"
fi
