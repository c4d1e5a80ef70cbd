#!/usr/bin/env bash
# Walks the kit edition's wireless USB adapter pages in a real window under the current X
# display: from the completion page through the cable, adapter, driver and internet pages to the
# adapter's completion page, with the CD's stand-ins doing the work through the real shell. Each
# page must show its picture; screenshots go to ARTIFACT_DIR. The flow takes about two minutes of
# real time (the wizard's own waits).
# Usage: adapter_on_screen.sh HOST_PROGRAM DATA_DIR ARTIFACT_DIR
set -euo pipefail
host=$1
data=$2
out=$3
mkdir -p "$out"
work=$(mktemp -d)
# shellcheck source=../gui/lib.sh
. "$(dirname "$0")/../gui/lib.sh"
remove_at_exit "$work"
# A utility the stand-in installer started would close by itself; close it now.
stop_utility() {
  local utility="$work/run/norvane-windows/Norvane KXU-300 Wireless G USB Adapter.pid"
  if [ -r "$utility" ]; then kill "$(cat "$utility")" 2>/dev/null || true; fi
}
call_at_exit stop_utility

cp -r "$data" "$work/cd"
sed -i 's/^isBundle=0/isBundle=1/' "$work/cd/setup.ini"
mkdir -p "$work/run"
printf '#!/bin/sh\necho "$@" >>"%s/opened.txt"\n' "$work" >"$work/opener"
chmod +x "$work/opener"
export QUILLON_C_DRIVE=$work/c QUILLON_MACHINE_REGISTRY=$work/hklm XDG_CONFIG_HOME=$work/config
export XDG_RUNTIME_DIR=$work/run QUILLON_OPENER=$work/opener QUILLON_SIMULATE_ADAPTER=1
export QUILLON_KXU_SETUP_SECONDS=2 QUILLON_WIRELESSCM_SECONDS=60

"$host" "$work/cd/quillon" &
wizard=$!
stop_at_exit "$wizard"
find_wizard_window 20
settings=$work/cd/Language/English/dslutility_kit.ini
# The pages share their layout: only their heading and steps (the band from 60 to 260), where
# neither the hover pictures nor the progress bars lie, tell them apart.
page_band=720x200+0+60
page_limit=0.01

# Points at a picture placed by a skin key (it shows under the mouse) and clicks it.
point() {
  xdotool mousemove --window "$win" $(($(skin_value "$1.Left") + 12)) $(($(skin_value "$1.Top") + 12))
  sleep 0.4
}

wait_page IMG_InstallCompleteDlgBG complete 15
point IMG_InstallWLANUSBBT
shot complete-usb-button
xdotool click 1
wait_page IMG_EthernetRemoveDlgBG unplug 10
point IMG_EthernetRemoveDlgNextBT
shot unplug-next
xdotool click 1
# The cable test waits 3 s and the driver copier 10 s.
wait_page IMG_WlanUsbCheckDlgBG usbcheck 30
point IMG_WlanUsbCheckDlgNextBT
xdotool click 1
wait_page IMG_InstallWlanDriverDlgBG driver 20
sleep 30
shot driver-progress
wait_page IMG_WlanInternetStatDlgBG internet 120
sleep 8
shot internet-progress
wait_page IMG_WlanInstallCompleteDlgBG done 60
point IMG_WlanInstallCompleteDlgOKBT
shot done-ok
xdotool click 1
ends_after "$wizard" 20 "its OK picture was clicked"

[ -s "$work/c/cpydrv.log" ] || fail "the driver copier did not run"
grep -q 'InstallLocation=' "$work/hklm/HKLM/Software/Microsoft/Windows/CurrentVersion/Uninstall/{5B0D7E21-3C94-4F6A-9A1E-7D22C4E8B913}.reg" ||
  fail "the installer recorded no installation"
[ ! -e "$work/c/Setup.log" ] || fail "the installer's log was not removed"
[ ! -e "$work/c/ChkNIC.txt" ] || fail "the detection report was not removed"
grep -q 'Language/Internet/Internet.htm' "$work/opened.txt" || fail "the help page was not opened"
echo "PASS"
