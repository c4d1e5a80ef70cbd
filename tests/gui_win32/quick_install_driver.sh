#!/usr/bin/env bash
# Drives Quillon.exe under Wine through a quick installation with the mouse and keyboard, as a
# user would, up to the completion page, screenshots every page and checks that the modem saved
# what was typed. Runs in the PC's network namespace that modem-demo.sh made, from the CD folder,
# with DISPLAY, MODEMSIM_PID and MODEM_STATE_FILE set. The completion page is not clicked: its
# finish would hand the local help page to a browser.
# Usage: quick_install_driver.sh ARTIFACT_DIR
set -euo pipefail
out=$1
here=$(cd "$(dirname "$0")" && pwd)
mkdir -p "$out"
settings=Language/English/dslutility.ini
fail() {
  echo "FAIL: $*" >&2
  /usr/bin/import -display "$DISPLAY" -window root "$out/failure.png" 2>/dev/null || true
  exit 1
}
WINE_ENV_PRIVATE=1
# shellcheck source=wine_env.sh
. "$here/wine_env.sh"
log=$out/wine.log
: >"$log"
cleanup() {
  [ -n "${wizard:-}" ] && kill "$wizard" 2>/dev/null
  wait 2>/dev/null || true
  wine_env_cleanup
}
trap cleanup EXIT

wine_run "$log" ./Quillon.exe &
wizard=$!
# shellcheck source=../gui/page_walk.sh
. "$here/../gui/page_walk.sh"
find_wizard_window 60

wait_page IMG_MainMenuDlgBG main_menu
click 541 105  # quick installation
wait_page IMG_PowerLinkHelpDlgBG power 60
next
wait_page IMG_EthernetLinkHelpDlgBG ethernet
next
wait_page IMG_ADSLLinkHelpDlgBG adsl 40
next
wait_page IMG_CheckHWLinkStatusDlgBG hardware_check 40
wait_page IMG_ISPSelectionDlgBG isp_selection 90
# The preselected provider of the edition (PPPoA) stays; the account goes on the next page.
next
wait_page IMG_PPPSettingDlgBG ppp
# Next with an empty account: the skinned message dialog shows modally, and once it is closed
# the user name edit is framed in red.
next
dialog=$(timeout 20 xdotool search --sync --onlyvisible --name '^Norvane$' | head -n 1) ||
  fail "no message dialog for the empty account"
sleep 0.5
/usr/bin/import -display "$DISPLAY" -window root "$out/ppp_message.png"
eval "$(xdotool getwindowgeometry --shell "$dialog" | sed 's/^/DLG_/')"
xdotool mousemove $((DLG_X + 168 + 50)) $((DLG_Y + 136 + 12))
sleep 0.2
xdotool click 1
for _ in $(seq 50); do
  xdotool search --onlyvisible --name '^Norvane$' >/dev/null 2>&1 || break
  sleep 0.1
done
xdotool search --onlyvisible --name '^Norvane$' >/dev/null 2>&1 && fail "the dialog did not close on OK"
sleep 0.3
/usr/bin/import -display "$DISPLAY" -window root "$out/ppp_red_frame.png"
user_x=$(sed -n 's/^ED_PPPUsername.Left=//p' "$settings" | tr -d '\r')
user_y=$(sed -n 's/^ED_PPPUsername.Top=//p' "$settings" | tr -d '\r')
frame=$(/usr/bin/convert "$out/ppp_red_frame.png" \
  -format "%[hex:p{$((wx + user_x + 20)),$((wy + user_y - 1))}]" info: | cut -c1-6)
[ "$frame" = FF0000 ] || fail "the user name edit is not framed in red (#$frame above it)"
echo "message dialog shown and closed; the user name edit is framed in red"
type_into 351 191 "wine@thamesline.example"
type_into 351 225 "seen under wine"
type_into 351 259 "seen under wine"
/usr/bin/import -display "$DISPLAY" -window root "$out/ppp_typed.png"
next
wait_page IMG_WRadioSettingDlgBG radio
next
wait_page IMG_WirelessSettingDlgBG wireless
type_into 351 175 "Wine Net"
next
wait_page IMG_CheckSWLinkStatusDlgBG software_link 20
# The native progress bar fills from the left while the settings are applied.
bar_x=$(sed -n 's/^PB_CheckSWLinkStatus.Left=//p' "$settings" | tr -d '\r')
bar_y=$(sed -n 's/^PB_CheckSWLinkStatus.Top=//p' "$settings" | tr -d '\r')
filled=""
for _ in $(seq 60); do
  /usr/bin/import -display "$DISPLAY" -window root "$out/progress.png"
  mean=$(/usr/bin/convert "$out/progress.png" -crop "40x8+$((wx + bar_x + 4))+$((wy + bar_y + 6))" \
    +repage -colorspace Gray -format "%[fx:mean]" info:)
  if awk -v m="$mean" 'BEGIN { exit !(m < 0.8) }'; then
    filled=$mean
    break
  fi
  sleep 0.3
done
[ -n "$filled" ] || fail "the progress bar of the software link check never filled"
echo "progress bar filling (grey level $filled at its left end)"
wait_page IMG_InstallCompleteDlgAloneBG complete 240

kill -HUP "$MODEMSIM_PID"
sleep 0.5
grep -qx 'saved.pvc1.pppUsername=wine@thamesline.example' "$MODEM_STATE_FILE" ||
  fail "the modem did not save the account: $(grep pppUsername "$MODEM_STATE_FILE")"
grep -qx 'saved.pvc1.pppPassword=seen under wine' "$MODEM_STATE_FILE" || fail "password not saved"
grep -qx 'saved.wireless.wlSsid=Wine Net' "$MODEM_STATE_FILE" ||
  fail "network name not saved: $(grep wlSsid "$MODEM_STATE_FILE")"
grep -qx 'saved.pvc1.protocol=1' "$MODEM_STATE_FILE" || fail "the provider's PPPoA not saved"
kill -0 "$wizard" 2>/dev/null || fail "the wizard ended on the completion page"
cp "$MODEM_STATE_FILE" "$out/modem-state.txt"
echo "PASS: $shown pages on screen, the modem kept the account and the network name"
