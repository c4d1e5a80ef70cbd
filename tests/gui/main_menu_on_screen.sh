#!/usr/bin/env bash
# Starts the real wizard from a CD image under the current X display, screenshots it and checks
# that the window shows the main menu picture (not a blank or half-drawn window). Then starts a
# second copy, which must end by itself with code 0 while the first stays. Closing the window with
# Alt+F4 must end the program, so that the next start shows its window again.
# Usage: main_menu_on_screen.sh CD_DIR ARTIFACT_DIR
set -euo pipefail
cd_dir=$1
out=$2
mkdir -p "$out"
settings=$cd_dir/Language/English/dslutility.ini
# shellcheck source=lib.sh
. "$(dirname "$0")/lib.sh"
XDG_RUNTIME_DIR=$(mktemp -d)
export XDG_RUNTIME_DIR
remove_at_exit "$XDG_RUNTIME_DIR"

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
echo "PASS"
