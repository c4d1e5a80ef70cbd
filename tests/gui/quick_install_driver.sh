#!/usr/bin/env bash
# Drives the wizard through a quick installation with the keyboard alone, as a user would,
# screenshots every page and checks that the modem saved what was typed. Runs in the PC's network
# namespace that modem-demo.sh made, from the CD folder, with DISPLAY, MODEMSIM_PID and
# MODEM_STATE_FILE set, and ends with finish, which hands the local help page to a stand-in
# browser. Natively it also checks the DHCP lease; under Wine (`wine`, with a modem whose
# password is not the factory one, ROUTER_PASSWORD) it answers the router password dialog and
# checks the message dialog, the red frame and the native progress bar on the way, and after
# finish starts a copy of the CD with a damaged page picture. QUILLON_BRIEF_WALK=1 leaves those
# side trips out under Wine: the pages to the end, and what the modem saved.
# Usage: quick_install_driver.sh ARTIFACT_DIR [native|wine]
set -euo pipefail
out=$1
platform=${2:-native}
side_trips=no
[ "$platform" != wine ] || [ "${QUILLON_BRIEF_WALK:-0}" = 1 ] || side_trips=yes
here=$(cd "$(dirname "$0")" && pwd)
mkdir -p "$out"
settings=Language/English/dslutility.ini
# shellcheck source=lib.sh
. "$here/lib.sh"

# Documents the wizard opens go to a stand-in browser, which notes what it was given.
opened=$out/opened.txt
browser=$out/browser.sh
printf '#!/bin/sh\necho "$*" >>"%s"\n' "$opened" >"$browser"
chmod 755 "$browser"
if [ "$platform" = wine ]; then
  # Wine's sockets live in its server, which must be started in this namespace.
  WINE_ENV_PRIVATE=1
  # shellcheck source=../gui_win32/wine_env.sh
  . "$here/../gui_win32/wine_env.sh"
  call_at_exit wine_env_cleanup
  log=$out/wine.log
  : >"$log"
  # The system's browser for the help pages, as a user sets it.
  wine_run "$log" reg add 'HKCU\Software\Wine\WineBrowser' /v Browsers /d "$browser" /f
  wine_run "$log" "${wine_launcher[@]}" ./Quillon.exe &
  account=wine@thamesline.example password="seen under wine" network="Wine Net"
else
  export QUILLON_OPENER=$browser
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
# The language list at the bottom, the menu's one field, has the keyboard at first; Tab passes
# Close and reaches the first of the menu. Return starts the quick installation: the DHCP lease
# comes from the modem's dnsmasq.
key Tab Tab Return
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
if [ "$platform" = wine ]; then
  # The router asks for its password: the dialog shows centred on the wizard at once, with the
  # keyboard in its field. Tab reaches the forgotten-password link, marked by a frame, and Space
  # asks about the factory reset, which Escape declines; Shift+Tab goes back to the field and
  # Return answers OK with the typed password.
  dialog_centred "router password dialog" 40
  xdotool type --delay 30 "$ROUTER_PASSWORD"
fi
if [ "$side_trips" = yes ]; then
  shot password_typed
  key Tab
  shot password_link
  # The link's focus frame darkens whole rows of the dialog's right half, where the field's
  # caret never is.
  rows=$(/usr/bin/convert "$out/password_typed.png" "$out/password_link.png" \
    -crop "$((D_WIDTH / 2))x$D_HEIGHT+$((D_X + D_WIDTH / 2))+$D_Y" +repage -colorspace Gray \
    -threshold 50% -scale "1x$D_HEIGHT!" -compose difference -composite -threshold 10% \
    -format "%[fx:round(mean*h)]" info:)
  echo "password dialog: Tab changed $rows rows of its right half"
  [ "$rows" -ge 2 ] || fail "Tab did not show a focus frame on the forgotten-password link"
  key space
  dialogs_become "$dialog_title" -ge 2 || true
  shot password_reset_asked
  dialogs_become "$dialog_title" -ge 2 ||
    fail "Space on the forgotten-password link did not ask about the reset"
  key Escape
  dialogs_become "$dialog_title" -eq 1 ||
    fail "Escape did not decline the factory reset"
  key shift+Tab
fi
[ "$platform" != wine ] || key Return
wait_page IMG_ISPSelectionDlgBG isp_selection 90
# The preselected provider of the edition (PPPoA) stays; the account goes on the next page.
key Return
wait_page IMG_PPPSettingDlgBG ppp
if [ "$side_trips" = yes ]; then
  # Return with an empty account: the skinned message dialog shows modally with the keyboard on
  # its OK, Return closes it, and the user name edit is framed in red.
  key Return
  window_id 20 "$dialog_title" >/dev/null || fail "no message dialog for the empty account"
  sleep 0.5
  shot ppp_message
  key Return
  dialogs_become "$dialog_title" -eq 0 || fail "Return did not close the message dialog"
  shot ppp_red_frame
  frame=$(pixel ppp_red_frame $((X + $(skin_value ED_PPPUsername.Left) + 20)) \
    $((Y + $(skin_value ED_PPPUsername.Top) - 1)))
  [ "$frame" = FF0000 ] || fail "the user name edit is not framed in red (#$frame above it)"
  echo "message dialog shown and closed; the user name edit is framed in red"
fi
# A new page has its first field ready for typing, and the keyboard returns there from the
# message. The account is typed with a letter left out four from the end, which Left reaches.
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
# A decoy on the laptop's Wi-Fi may hear the discovery, and nothing else: no account, no key.
if [ -n "${DEMO_DECOY_LOG:-}" ]; then
  cp "$DEMO_DECOY_LOG" "$out/decoy.log"
  ! grep 'rx code=' "$DEMO_DECOY_LOG" | grep -qv 'rx code=1 ' ||
    fail "the decoy on the Wi-Fi received more than discovery: $(grep 'rx code=' "$DEMO_DECOY_LOG")"
  ! grep -qF "$password" "$DEMO_DECOY_LOG" || fail "the PPP password reached the decoy on the Wi-Fi"
  echo "the decoy on the Wi-Fi heard $(grep -c 'rx code=1 ' "$DEMO_DECOY_LOG") discovery request(s), nothing else"
fi
# Return presses Finish: the wizard ends and the browser gets the local help page.
key Return
ends_after "$wizard" 10 finish
for _ in $(seq 50); do
  [ -s "$opened" ] && break
  sleep 0.1
done
grep -q 'Language.Internet.Internet\.htm' "$opened" 2>/dev/null ||
  fail "finish did not open the help page: $(cat "$opened" 2>/dev/null)"
echo "finish opened $(cat "$opened")"
if [ "$side_trips" = yes ]; then
  # A copy of this CD whose power page background lost its last two thirds: Quick Install
  # reports the damage once, and the user is on the power page laid out without its picture,
  # whose keyboard stops are its own: Tab reaches its Next, and Return leads to the Ethernet page.
  damaged=$(mktemp -d)
  remove_at_exit "$damaged"
  cp -r . "$damaged/"
  power=$damaged/Language/English/$(skin_value IMG_PowerLinkHelpDlgBG.Picture)
  truncate -s $(($(stat -c %s "$power") / 3)) "$power"
  (cd "$damaged" && exec "$wine_loader" "${wine_launcher[@]}" ./Quillon.exe </dev/null >>"$log" 2>&1) &
  wizard=$!
  stop_at_exit "$wizard"
  find_wizard_window 60
  xdotool windowfocus --sync "$win"
  key Tab Tab Return
  for _ in $(seq 50); do
    box=$(windows | grep -vx "$win" | head -n 1) || true
    [ -n "$box" ] && break
    sleep 0.1
  done
  [ -n "$box" ] || fail "the damaged power page was not reported"
  shot damaged_page_error
  key Return
  for _ in $(seq 50); do
    [ "$(windows | wc -l)" -eq 1 ] && break
    sleep 0.1
  done
  [ "$(windows | wc -l)" -eq 1 ] || fail "the damaged page's error did not close with Return"
  key Tab
  shot damaged_page_tab
  cut_out damaged_page_tab next "$(skin_value IMG_PowerLinkHelpDlgNextBT.Left)" \
    "$(skin_value IMG_PowerLinkHelpDlgNextBT.Top)" 104 32
  focused=$(mae "$out/damaged_page_tab_next.png" \
    "Language/English/$(skin_value IMG_PowerLinkHelpDlgNextBT.Picture)")
  echo "after the damaged page's error, Tab: the power page's Next differs by $focused"
  below "$focused" 0.02 || fail "after the damaged page's error Tab did not reach its Next"
  key Return
  wait_page IMG_EthernetLinkHelpDlgBG ethernet_after_damage 10
fi
echo "PASS: $shown pages on screen, the modem kept the account and the network name"
