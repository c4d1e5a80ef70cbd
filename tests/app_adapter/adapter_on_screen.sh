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
cleanup() {
  local status=$?
  if [ -n "${pid:-}" ]; then
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  fi
  # A utility the stand-in installer started would close by itself; close it now.
  local utility="$work/run/norvane-windows/Norvane KXU-300 Wireless G USB Adapter.pid"
  if [ -r "$utility" ]; then kill "$(cat "$utility")" 2>/dev/null || true; fi
  rm -rf "$work"
  exit "$status"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cp -r "$data" "$work/cd"
sed -i 's/^isBundle=0/isBundle=1/' "$work/cd/setup.ini"
mkdir -p "$work/run"
printf '#!/bin/sh\necho "$@" >>"%s/opened.txt"\n' "$work" >"$work/opener"
chmod +x "$work/opener"
export QUILLON_C_DRIVE=$work/c QUILLON_MACHINE_REGISTRY=$work/hklm XDG_CONFIG_HOME=$work/config
export XDG_RUNTIME_DIR=$work/run QUILLON_OPENER=$work/opener QUILLON_SIMULATE_ADAPTER=1
export QUILLON_KXU_SETUP_SECONDS=2 QUILLON_WIRELESSCM_SECONDS=60

"$host" "$work/cd/quillon" &
pid=$!
win=$(timeout 20 xdotool search --sync --onlyvisible --name '^Norvane Quillon$' | head -n 1) ||
  fail "no window titled 'Norvane Quillon' appeared"
eval "$(xdotool getwindowgeometry --shell "$win")"
skin=$work/cd/Language/English/dslutility_kit.ini
value() { sed -n "s/^$1=//p" "$skin" | tr -d '\r'; }

# Whether the window shows the page of a skin key's picture: its heading and steps (the band
# from 60 to 260), where neither the hover pictures nor the progress bars lie. The pages share
# their layout, so only this band tells them apart.
shows() {
  /usr/bin/import -display "$DISPLAY" -window root "$work/shot.png"
  /usr/bin/convert "$work/shot.png" -crop "720x480+$((X + 1))+$((Y + 1))" +repage "$work/crop.png"
  /usr/bin/convert "$work/crop.png" -crop 720x200+0+60 +repage "$work/band.png"
  /usr/bin/convert "$work/cd/Language/English/$(value "$1.Picture")" -crop 720x200+0+60 +repage \
    "$work/expected.png"
  local mae
  # compare exits 1 whenever the pictures differ at all; only its figure counts here.
  mae=$(/usr/bin/compare -metric MAE "$work/band.png" "$work/expected.png" null: 2>&1 |
    sed -n 's/^[0-9.e+-]* (\([0-9.e+-]*\))$/\1/p' || true)
  [ -n "$mae" ] || fail "could not compare the window with $1"
  awk -v d="$mae" 'BEGIN { exit !(d < 0.01) }'
}
# Waits up to SECONDS for the page of a skin key and keeps its screenshot as NAME.
page() {
  local key=$1 name=$2 seconds=$3 start=$SECONDS
  until shows "$key"; do
    [ $((SECONDS - start)) -lt "$seconds" ] || { cp "$work/crop.png" "$out/$name-timeout.png"; fail "no $key page after $seconds s"; }
    kill -0 "$pid" 2>/dev/null || fail "the wizard ended before the $key page"
    sleep 1
  done
  cp "$work/crop.png" "$out/$name.png"
  echo "page $name after $((SECONDS - start)) s"
}
# Points at a picture placed by a skin key (it shows under the mouse) and clicks it.
point() {
  xdotool mousemove --window "$win" $(($(value "$1.Left") + 12)) $(($(value "$1.Top") + 12))
  sleep 0.4
}
shot() {
  /usr/bin/import -display "$DISPLAY" -window root "$work/shot.png"
  /usr/bin/convert "$work/shot.png" -crop "720x480+$((X + 1))+$((Y + 1))" +repage "$out/$1.png"
}

page IMG_InstallCompleteDlgBG 12-complete 15
point IMG_InstallWLANUSBBT
shot 12-complete-usb-button
xdotool click 1
page IMG_EthernetRemoveDlgBG 13-unplug 10
point IMG_EthernetRemoveDlgNextBT
shot 13-unplug-next
xdotool click 1
# The cable test waits 3 s and the driver copier 10 s.
page IMG_WlanUsbCheckDlgBG 14-usbcheck 30
point IMG_WlanUsbCheckDlgNextBT
xdotool click 1
page IMG_InstallWlanDriverDlgBG 15-driver 20
sleep 30
shot 15-driver-progress
page IMG_WlanInternetStatDlgBG 16-internet 120
sleep 8
shot 16-internet-progress
page IMG_WlanInstallCompleteDlgBG 17-done 60
point IMG_WlanInstallCompleteDlgOKBT
shot 17-done-ok
xdotool click 1
for _ in $(seq 1 100); do
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.2
done
kill -0 "$pid" 2>/dev/null && fail "the wizard did not end after its OK picture was clicked"
set +e
wait "$pid"
code=$?
set -e
pid=
[ "$code" -eq 0 ] || fail "the wizard ended with $code"

[ -s "$work/c/cpydrv.log" ] || fail "the driver copier did not run"
grep -q 'InstallLocation=' "$work/hklm/HKLM/Software/Microsoft/Windows/CurrentVersion/Uninstall/{5B0D7E21-3C94-4F6A-9A1E-7D22C4E8B913}.reg" ||
  fail "the installer recorded no installation"
[ ! -e "$work/c/Setup.log" ] || fail "the installer's log was not removed"
[ ! -e "$work/c/ChkNIC.txt" ] || fail "the detection report was not removed"
grep -q 'Language/Internet/Internet.htm' "$work/opened.txt" || fail "the help page was not opened"
echo "PASS"
