#!/usr/bin/env bash
# Starts the real wizard from a CD image under the current X display, screenshots it and checks
# that the window shows the main menu picture (not a blank or half-drawn window), and that Install
# Document Reader starts the installer. Then starts a second copy, which must end by itself with
# code 0 while the first stays. Closing the window with Alt+F4 must end the program, so that the
# next start shows its window again. A main menu picture with damaged pixel data must be reported
# before any window opens; a damaged picture button reached by Tab is reported once and the wizard
# goes on, and so is a damaged page background, after which the keyboard works that page.
# Usage: main_menu_on_screen.sh CD_DIR ARTIFACT_DIR
set -euo pipefail
cd_dir=$1
out=$2
mkdir -p "$out"
settings=$cd_dir/Language/English/dslutility.ini
# shellcheck source=lib.sh
. "$(dirname "$0")/lib.sh"
XDG_RUNTIME_DIR=$(mktemp -d)
QUILLON_C_DRIVE=$(mktemp -d)
export XDG_RUNTIME_DIR QUILLON_C_DRIVE
remove_at_exit "$XDG_RUNTIME_DIR"
remove_at_exit "$QUILLON_C_DRIVE"

cd "$cd_dir"
./quillon &
first=$!
stop_at_exit "$first"
find_wizard_window 20
check_main_window
shot main_menu
picture=$(skin_value IMG_MainMenuDlgBG.Picture)
[ -n "$picture" ] || fail "the sample skin names no main menu picture"
check_menu_picture main_menu "$cd_dir/Language/English/$picture"

# Install Document Reader starts the edition's installer (the sample's stand-in notes that it
# ran) and shows no message.
click $(($(skin_value IMG_AcrobatBT.Left) + 20)) $(($(skin_value IMG_AcrobatBT.Top) + 20))
for _ in $(seq 50); do [ -s "$QUILLON_C_DRIVE/pdfreader.log" ] && break; sleep 0.1; done
[ -s "$QUILLON_C_DRIVE/pdfreader.log" ] || fail "Install Document Reader did not start the installer"
sleep 0.5
xdotool search --onlyvisible --name "$dialog_title" >/dev/null 2>&1 &&
  fail "Install Document Reader showed a message"

second_copy_ends "$first" timeout 20 ./quillon

# Closed from the keyboard (as the window manager would close it), the program ends with code 0;
# left running unseen, it would keep every later start from opening a window. The focus is in
# the language list then, which must not keep the key to itself.
xdotool mousemove $((X + $(skin_value CB_Languages.Left) + 40)) $((Y + $(skin_value CB_Languages.Top) + 8))
sleep 0.2
xdotool click 1
sleep 0.5
xdotool key Escape
sleep 0.2
xdotool mousemove $((X + 300)) $((Y + 300))
sleep 0.2
xdotool key alt+F4
ends_after "$first" 10 Alt+F4
./quillon &
first=$!
stop_at_exit "$first"
find_wizard_window 20

# A copy of the CD whose main menu picture lost its last two thirds: its headers are sound, its
# pixels are not. The picture error must come up in the message box, no main window may open,
# and closing the box ends the program with code 0. Its own runtime folder keeps the copy from
# meeting the running one.
damaged=$(mktemp -d)
remove_at_exit "$damaged"
cp -r "$cd_dir/." "$damaged/"
menu_jpg=$damaged/Language/English/$picture
truncate -s $(($(stat -c %s "$menu_jpg") / 3)) "$menu_jpg"
mkdir -m 700 "$damaged/run"
(cd "$damaged" && XDG_RUNTIME_DIR="$damaged/run" exec ./quillon) &
broken=$!
stop_at_exit "$broken"
box=""
for _ in $(seq 100); do
  box=$(windows | grep -vx "$win" | head -n 1) || true
  [ -n "$box" ] && break
  kill -0 "$broken" 2>/dev/null || fail "with a damaged menu picture the program ended silently"
  sleep 0.1
done
[ -n "$box" ] || fail "with a damaged menu picture no message box appeared"
sleep 0.5
shot damaged_picture
[ "$(windows | wc -l)" -eq 2 ] || fail "with a damaged menu picture a main window opened beside the message box"
geometry "$box" BOX_
[ "$BOX_HEIGHT" -lt 485 ] || fail "the second window is not a message box"
xdotool mousemove $((BOX_X + BOX_WIDTH / 2)) $((BOX_Y + 10))
sleep 0.2
xdotool key Return
ends_after "$broken" 10 "the picture error"

# Starts the damaged copy with the given settings and waits for its window: $broken is its
# process, $broken_win its window, B_X and B_Y its place.
start_damaged_copy() {  # WHAT [VARIABLE=VALUE...]
  local what=$1
  shift
  (cd "$damaged" && exec env XDG_RUNTIME_DIR="$damaged/run" "$@" ./quillon) &
  broken=$!
  stop_at_exit "$broken"
  broken_win=$(for _ in $(seq 100); do
    windows | grep -vx "$win" | head -n 1 && break
    sleep 0.1
  done)
  [ -n "$broken_win" ] || fail "the copy with $what did not open its window"
  geometry "$broken_win" B_
}

# A copy whose Quick Install picture button is damaged the same way. Tab onto it (past Close, as
# the language list has the focus) reports the damage once and the wizard goes on; the mouse
# over it afterwards brings no second report.
quick=$damaged/Language/English/$(skin_value IMG_QuickInstallBT.Picture)
cp "$cd_dir/Language/English/$picture" "$menu_jpg"
truncate -s $(($(stat -c %s "$quick") / 3)) "$quick"
start_damaged_copy "a damaged button"
xdotool mousemove 0 0
xdotool windowfocus --sync "$broken_win"
xdotool key --delay 100 Tab Tab
boxes() { windows | grep -vx "$win" | grep -vx "$broken_win" || true; }
reports_damage "$broken" "Tab onto a damaged picture button"
shot damaged_button
xdotool windowfocus --sync "$(boxes | head -n 1)"
xdotool key Return
sleep 1
kill -0 "$broken" 2>/dev/null || fail "the wizard ended after the damaged button's error"
[ -z "$(boxes)" ] || fail "the damaged button's error did not close"
for step in 0 6 12; do
  xdotool mousemove $((B_X + $(skin_value IMG_QuickInstallBT.Left) + 40 + step)) \
    $((B_Y + $(skin_value IMG_QuickInstallBT.Top) + 20))
  sleep 0.3
done
shot damaged_button_hover
[ -z "$(boxes)" ] || fail "the damaged button's error came again under the mouse"
kill -0 "$broken" 2>/dev/null || fail "the wizard ended under the mouse over the damaged button"
kill "$broken"
wait "$broken" 2>/dev/null || true

# A copy whose power page background is damaged: Quick Install from the keyboard reports it, and
# then the keyboard's stops are the power page's, whose Next leads on to the Ethernet page.
cp "$cd_dir/Language/English/$(skin_value IMG_QuickInstallBT.Picture)" "$quick"
power=$damaged/Language/English/$(skin_value IMG_PowerLinkHelpDlgBG.Picture)
truncate -s $(($(stat -c %s "$power") / 3)) "$power"
start_damaged_copy "a damaged page" QUILLON_DHCLIENT=none
xdotool windowfocus --sync "$broken_win"
xdotool key --delay 100 Tab Tab Return
for _ in $(seq 50); do
  [ -n "$(boxes)" ] && break
  sleep 0.1
done
[ -n "$(boxes)" ] || fail "the damaged power page was not reported"
xdotool windowfocus --sync "$(boxes | head -n 1)"
xdotool key Return
sleep 0.5
xdotool windowfocus --sync "$broken_win"
xdotool key Tab
sleep 0.4
shot damaged_page_tab
next_picture=$cd_dir/Language/English/$(skin_value IMG_PowerLinkHelpDlgNextBT.Picture)
X=$B_X Y=$B_Y cut_out damaged_page_tab next "$(skin_value IMG_PowerLinkHelpDlgNextBT.Left)" \
  "$(skin_value IMG_PowerLinkHelpDlgNextBT.Top)" 104 32
focused=$(mae "$out/damaged_page_tab_next.png" "$next_picture")
echo "after the damaged page's error, Tab: the power page's Next differs by $focused"
below "$focused" 0.02 || fail "after the damaged page's error Tab did not reach its Next"
xdotool key Return
sleep 0.5
shot damaged_page_next
X=$B_X Y=$B_Y client_area damaged_page_next
ethernet=$(mae "$out/damaged_page_next_crop.png" \
  "$cd_dir/Language/English/$(skin_value IMG_EthernetLinkHelpDlgBG.Picture)")
echo "Return there: against the Ethernet page $ethernet"
below "$ethernet" 0.05 || fail "Next on the damaged page did not lead to the Ethernet page"
echo "PASS"
