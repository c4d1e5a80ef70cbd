#!/usr/bin/env bash
# Starts Quillon.exe from its CD image under Wine on the current X display and checks the main
# menu on screen: the window found by its title, its size and place, the menu picture and the
# window colour around it, the keyboard in the language list at first, from which Tab reaches
# the Close picture, the version box of Alt+F2 (a system message box), the document reader's
# message closed with Return and its installer started, a language picked in the native
# drop-down list (the pictures of that language follow), a second copy that ends by itself with
# code 0, Alt+F4 ending the program so that the next start shows its window, the Close picture
# pressed with Space, and the Close picture clicked, each ending the program with code 0. The
# last start is of a kit edition's copy with a damaged picture button, which Tab reports once,
# and a long question before the adapter's installation, which the dialog shows whole.
# Usage: main_menu_on_screen.sh QUILLON_EXE ARTIFACT_DIR
set -euo pipefail
exe=$1
out=$2
cd_dir=$(cd "$(dirname "$exe")" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
mkdir -p "$out"
rm -f "$out"/*.png
settings=$cd_dir/Language/English/dslutility.ini
# shellcheck source=../gui/lib.sh
. "$here/../gui/lib.sh"
# A server of our own: its desktop must live on this test's display.
WINE_ENV_PRIVATE=1
# shellcheck source=wine_env.sh
. "$here/wine_env.sh"
call_at_exit wine_env_cleanup
log=$out/wine.log
: >"$log"
menu_picture() {
  echo "$cd_dir/Language/$1/$(skin_value IMG_MainMenuDlgBG.Picture "$cd_dir/Language/$1/dslutility.ini")"
}

QUILLON_C_DRIVE=$(mktemp -d)
remove_at_exit "$QUILLON_C_DRIVE"
export QUILLON_C_DRIVE
cd "$cd_dir"
wine_run "$log" ./Quillon.exe &
first=$!
stop_at_exit "$first"
find_wizard_window 60
check_main_window
shot main_menu
english=$(menu_picture English)
check_menu_picture main_menu "$english"
# Outside the 720x480 picture the form's own colour shows: the cream RGB(255, 251, 240).
corner=$(pixel main_menu $((X + WIDTH - 2)) $((Y + HEIGHT - 2)))
[ "$corner" = FFFBF0 ] || fail "the window colour is #$corner, expected #FFFBF0"

# The language list, the menu's one field, has the keyboard at first, and Tab passes on to the
# Close picture in its row, which then shows as under the mouse.
xdotool mousemove $((X + 100)) $((Y + 300))
xdotool key Tab
sleep 0.5
shot close_focused
close_picture=$cd_dir/Language/English/$(skin_value IMG_CloseBT.Picture)
size=$(/usr/bin/identify -format '%w %h' "$close_picture")
cut_out close_focused close "$(skin_value IMG_CloseBT.Left)" "$(skin_value IMG_CloseBT.Top)" \
  "${size% *}" "${size#* }"
focused=$(mae "$out/close_focused_close.png" "$close_picture")
echo "Tab: the Close picture differs by $focused"
below "$focused" 0.02 || fail "Tab from the language list did not mark the Close picture"

# Out of the field, the window takes the keys: Alt+F2 shows the version in the system's message
# box, captioned with the title.
xdotool key alt+F2
for _ in $(seq 50); do [ "$(windows | wc -l)" -ge 2 ] && break; sleep 0.1; done
[ "$(windows | wc -l)" -ge 2 ] || fail "Alt+F2 showed no message box"
sleep 0.3
shot version_box
geometry "$(windows | grep -vx "$win" | head -n 1)" BOX_
[ "$BOX_WIDTH" -lt 725 ] || fail "the version box is as wide as the main window"
xdotool key Return
for _ in $(seq 50); do [ "$(windows | wc -l)" -eq 1 ] && break; sleep 0.1; done
[ "$(windows | wc -l)" -eq 1 ] || fail "the version box did not close with Return"

# Without its installer, Install Document Reader shows its message in the skinned dialog, and
# Return closes it as the OK button would. With it, the sample's stand-in (a script Wine hands
# to the system) notes on drive C that it ran, and no message shows.
reader=$cd_dir/Acrobat/pdfreader.exe
mv "$reader" "$reader.away"
restore_reader() { [ ! -e "$reader.away" ] || mv "$reader.away" "$reader"; }
call_at_exit restore_reader
geometry "$win"
click $(($(skin_value IMG_AcrobatBT.Left) + 20)) $(($(skin_value IMG_AcrobatBT.Top) + 20))
window_id 20 "$dialog_title" >/dev/null || fail "the document reader's message did not show"
sleep 0.5
xdotool key Return
dialogs_become "$dialog_title" -eq 0 || fail "Return did not close the message dialog"
restore_reader
click $(($(skin_value IMG_AcrobatBT.Left) + 20)) $(($(skin_value IMG_AcrobatBT.Top) + 20))
for _ in $(seq 100); do [ -s "$QUILLON_C_DRIVE/pdfreader.log" ] && break; sleep 0.1; done
[ -s "$QUILLON_C_DRIVE/pdfreader.log" ] || fail "Install Document Reader did not start the installer"
sleep 0.5
xdotool search --onlyvisible --name "$dialog_title" >/dev/null 2>&1 &&
  fail "Install Document Reader showed a message"

# Picking Russian in the language list: a click opens it, typing picks the row, Return closes.
xdotool mousemove $((X + $(skin_value CB_Languages.Left) + 40)) $((Y + $(skin_value CB_Languages.Top) + 8))
sleep 0.2
xdotool click 1
sleep 0.5
xdotool key r
sleep 0.2
xdotool key Return
russian=$(menu_picture Russian)
for _ in $(seq 40); do
  sleep 0.25
  shot russian
  client_area russian
  to_russian=$(mae "$out/russian_crop.png" "$russian")
  to_english=$(mae "$out/russian_crop.png" "$english")
  below "$to_russian" 0.06 && below "$to_russian" "$to_english" && break
done
echo "after picking Russian: difference $to_russian to its menu, $to_english to the English one"
below "$to_russian" 0.06 && below "$to_russian" "$to_english" ||
  fail "picking Russian in the list did not switch the pictures"

second_copy_ends "$first" timeout 60 "$wine_loader" ./Quillon.exe

# Closed from the keyboard (as the system's End task would close it), the program ends with code
# 0; left running unseen, it would keep every later start from opening a window. The focus is
# still in the language list, which must not keep the key to itself.
xdotool mousemove $((X + 300)) $((Y + 300))
sleep 0.2
xdotool key alt+F4
ends_after "$first" 10 Alt+F4
wine_run "$log" ./Quillon.exe &
first=$!
stop_at_exit "$first"
find_wizard_window 60

# From the keyboard alone: Tab from the language list rests on the Close picture, and Space
# presses it.
xdotool mousemove $((X + 100)) $((Y + 300))
xdotool key --delay 100 Tab space
ends_after "$first" 10 Space

# A kit edition's copy whose Quick Installation Guide picture button lost its last two thirds,
# and whose question before the adapter's installation is longer than the dialog's first 97
# pixels of text.
damaged=$(mktemp -d)
remove_at_exit "$damaged"
cp -r "$cd_dir/." "$damaged/"
sed -i 's/^isBundle=.*/isBundle=1\r/' "$damaged/setup.ini"
settings=$damaged/Language/English/dslutility_kit.ini
guide=$damaged/Language/English/$(skin_value IMG_ViewQIGBT.Picture)
truncate -s $(($(stat -c %s "$guide") / 3)) "$guide"
question="A long question, as a translation may have it."
for _ in $(seq 16); do question="$question Every line of it must stay readable."; done
sed -i "28s/.*/$question The last line.\r/" "$damaged/Language/English/application.err"
cd "$damaged"
wine_run "$log" ./Quillon.exe &
first=$!
stop_at_exit "$first"
find_wizard_window 60
boxes() { windows | grep -vx "$win" || true; }
# Tab past Close and Quick Install onto the damaged button reports it once; the wizard goes on,
# and Tab onto it again brings no second report.
xdotool mousemove $((X + 100)) $((Y + 300))
xdotool key --delay 100 Tab Tab Tab
reports_damage "$first" "Tab onto a damaged picture button"
shot damaged_button
xdotool key Return
for _ in $(seq 50); do
  [ -z "$(boxes)" ] && break
  sleep 0.1
done
[ -z "$(boxes)" ] || fail "the damaged button's error did not close with Return"
xdotool key --delay 100 shift+Tab Tab
sleep 1
[ -z "$(boxes)" ] || fail "the damaged button's error came again"
kill -0 "$first" 2>/dev/null || fail "the wizard ended after the damaged button's error"
# Five more Tabs reach the adapter's installation, whose question grows to show its text whole;
# Escape declines it.
xdotool key --delay 100 Tab Tab Tab Tab Tab Return
question_shows_whole "the adapter's question"
xdotool key Escape
dialogs_become "$dialog_title" -eq 0 || fail "Escape did not close the adapter's question"
kill -0 "$first" 2>/dev/null || fail "declining the adapter's installation ended the wizard"

# The Close picture ends the program at once, with code 0.
click $(($(skin_value IMG_CloseBT.Left) + 20)) $(($(skin_value IMG_CloseBT.Top) + 10))
ends_after "$first" 10 Close
echo "PASS"
