#!/usr/bin/env bash
# Drives the wizard through a quick installation with the keyboard alone, as a user would,
# screenshots every page and checks that the modem saved what was typed. Runs in the PC's network
# namespace that modem-demo.sh made, from the CD folder, with DISPLAY, MODEMSIM_PID and
# MODEM_STATE_FILE set. Natively it also checks the DHCP lease and ends with finish; under Wine
# (`wine`) it checks the message dialog, the red frame and the native progress bar on the way,
# and stops on the completion page, whose finish would hand the local help page to a browser.
# Usage: quick_install_driver.sh ARTIFACT_DIR [native|wine]
set -euo pipefail
out=$1
platform=${2:-native}
here=$(cd "$(dirname "$0")" && pwd)
mkdir -p "$out"
settings=Language/English/dslutility.ini
# shellcheck source=lib.sh
. "$here/lib.sh"

if [ "$platform" = wine ]; then
  # Wine's sockets live in its server, which must be started in this namespace.
  WINE_ENV_PRIVATE=1
  # shellcheck source=../gui_win32/wine_env.sh
  . "$here/../gui_win32/wine_env.sh"
  call_at_exit wine_env_cleanup
  log=$out/wine.log
  : >"$log"
  wine_run "$log" ./Quillon.exe &
  account=wine@thamesline.example password="seen under wine" network="Wine Net"
else
  # Documents the wizard opens go nowhere: no browser is started.
  export QUILLON_OPENER=/bin/true
  ./quillon &
  account=screen@thamesline.example password="seen on screen" network="Screen Net"
fi
wizard=$!
stop_at_exit "$wizard"
find_wizard_window 60

# From here on the keyboard alone, as a user without a mouse goes: Tab reaches a page's fields
# in order and then Next, Return presses Next (or the focused button), and a typo in the middle
# of the account is mended with the arrow keys.
# The mouse goes out of the way, so the window is given the keyboard as a window manager would.
xdotool mousemove 0 0
wait_page IMG_MainMenuDlgBG main_menu
xdotool windowfocus --sync "$win"
key() { xdotool key --delay 80 "$@"; sleep 0.3; }
# The first Tab reaches the first of the menu; natively the language list at the bottom has the
# focus at first, so Tab passes Close before. Return starts the quick installation: the DHCP
# lease comes from the modem's dnsmasq.
[ "$platform" = wine ] || key Tab
key Tab Return
wait_page IMG_PowerLinkHelpDlgBG power 60
if [ "$platform" = native ]; then
  # The renewal switched the PC side from its static address to a lease from the modem.
  ip -4 -o addr show dev veth_pc | grep -q 'inet 198\.51\.100\.1[0-5][0-9]/24' ||
    fail "no lease from the modem: $(ip -4 -o addr show dev veth_pc)"
fi
key Return
wait_page IMG_EthernetLinkHelpDlgBG ethernet
key Return
wait_page IMG_ADSLLinkHelpDlgBG adsl 40
key Return
wait_page IMG_CheckHWLinkStatusDlgBG hardware_check 40
wait_page IMG_ISPSelectionDlgBG isp_selection 90
# The preselected provider of the edition (PPPoA) stays; the account goes on the next page.
key Return
wait_page IMG_PPPSettingDlgBG ppp
if [ "$platform" = wine ]; then
  # Return with an empty account: the skinned message dialog shows modally, and once it is closed
  # the user name edit is framed in red. Without a window manager Wine does not hand the new
  # window the keyboard, so its OK is clicked, and the main window is given the keyboard back.
  key Return
  acknowledge ppp
  xdotool mousemove 0 0
  xdotool windowfocus --sync "$win"
  sleep 0.3
  shot ppp_red_frame
  frame=$(pixel ppp_red_frame $((X + $(skin_value ED_PPPUsername.Left) + 20)) \
    $((Y + $(skin_value ED_PPPUsername.Top) - 1)))
  [ "$frame" = FF0000 ] || fail "the user name edit is not framed in red (#$frame above it)"
  echo "message dialog shown and closed; the user name edit is framed in red"
fi
# Natively a new page has its first field ready for typing; under Wine the first Tab reaches it.
first_field() { [ "$platform" != wine ] || key Tab; }
# The account is typed with a letter left out four from the end, which Left reaches.
first_field
clear_field
xdotool type --delay 30 "${account%ample}mple"
key Left Left Left Left
xdotool type --delay 30 a
key Tab
clear_field
xdotool type --delay 30 "$password"
key Tab
clear_field
xdotool type --delay 30 "$password"
shot ppp_typed
# After the last field Tab reaches Next, which Return presses.
key Tab Return
wait_page IMG_WRadioSettingDlgBG radio
key Return
wait_page IMG_WirelessSettingDlgBG wireless
first_field
clear_field
xdotool type --delay 30 "$network"
key Return
wait_page IMG_CheckSWLinkStatusDlgBG software_link 20
if [ "$platform" = wine ]; then
  # The native progress bar fills from the left while the settings are applied.
  bar_x=$(skin_value PB_CheckSWLinkStatus.Left)
  bar_y=$(skin_value PB_CheckSWLinkStatus.Top)
  filled=""
  for _ in $(seq 60); do
    shot progress
    mean=$(/usr/bin/convert "$out/progress.png" -crop "40x8+$((X + bar_x + 4))+$((Y + bar_y + 6))" \
      +repage -colorspace Gray -format "%[fx:mean]" info:)
    if below "$mean" 0.8; then
      filled=$mean
      break
    fi
    sleep 0.3
  done
  [ -n "$filled" ] || fail "the progress bar of the software link check never filled"
  echo "progress bar filling (grey level $filled at its left end)"
fi
wait_page IMG_InstallCompleteDlgAloneBG complete 240

kill -HUP "$MODEMSIM_PID"
sleep 0.5
grep -qx "saved.pvc1.pppUsername=$account" "$MODEM_STATE_FILE" ||
  fail "the modem did not save the account: $(grep pppUsername "$MODEM_STATE_FILE")"
grep -qx "saved.pvc1.pppPassword=$password" "$MODEM_STATE_FILE" || fail "password not saved"
grep -qx "saved.wireless.wlSsid=$network" "$MODEM_STATE_FILE" ||
  fail "network name not saved: $(grep wlSsid "$MODEM_STATE_FILE")"
grep -qx 'saved.pvc1.protocol=1' "$MODEM_STATE_FILE" || fail "the provider's PPPoA not saved"
cp "$MODEM_STATE_FILE" "$out/modem-state.txt"
if [ "$platform" = wine ]; then
  kill -0 "$wizard" 2>/dev/null || fail "the wizard ended on the completion page"
else
  key Return  # finish: opens the local help page and ends
  ends_after "$wizard" 5 finish
fi
echo "PASS: $shown pages on screen, the modem kept the account and the network name"
