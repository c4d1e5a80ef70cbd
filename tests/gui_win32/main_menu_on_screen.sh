#!/usr/bin/env bash
# Starts Quillon.exe from its CD image under Wine on the current X display and checks the main
# menu on screen: the window found by its title, its size and place, the menu picture and the
# window colour around it, the version box of Alt+F2 (a system message box), a language picked
# in the native drop-down list (the pictures of that language follow), a second copy that ends
# by itself with code 0, and the Close picture ending the program with code 0.
# Usage: main_menu_on_screen.sh QUILLON_EXE ARTIFACT_DIR
set -euo pipefail
exe=$1
out=$2
cd_dir=$(cd "$(dirname "$exe")" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
mkdir -p "$out"
rm -f "$out"/*.png
fail() {
  echo "FAIL: $*" >&2
  /usr/bin/import -display "$DISPLAY" -window root "$out/failure.png" 2>/dev/null || true
  exit 1
}
# A server of our own: its desktop must live on this test's display.
WINE_ENV_PRIVATE=1
# shellcheck source=wine_env.sh
. "$here/wine_env.sh"
log=$out/wine.log
: >"$log"
cleanup() {
  local status=$?
  if [ -n "${first:-}" ]; then
    kill "$first" 2>/dev/null || true
    wait "$first" 2>/dev/null || true
  fi
  wine_env_cleanup
  exit "$status"
}
trap cleanup EXIT

title='^Norvane Quillon$'
windows() { xdotool search --onlyvisible --name "$title" 2>/dev/null | sort; }
mae() { /usr/bin/compare -metric MAE "$1" "$2" null: 2>&1 | sed 's/.*(\(.*\))/\1/' || true; }
shot() { /usr/bin/import -display "$DISPLAY" -window root "$out/$1.png"; }
crop() {
  /usr/bin/convert "$out/$1.png" -crop "720x480+$((X + 1))+$((Y + 1))" +repage "$out/$1_crop.png"
}
pixel() { /usr/bin/convert "$out/$1.png" -format "%[hex:p{$2,$3}]" info: | cut -c1-6; }
picture() {
  sed -n 's/^IMG_MainMenuDlgBG.Picture=//p' "$cd_dir/Language/$1/dslutility.ini" | tr -d '\r'
}

cd "$cd_dir"
wine_run "$log" ./Quillon.exe &
first=$!
win=$(timeout 60 xdotool search --sync --onlyvisible --name "$title" | head -n 1) ||
  fail "no window titled 'Norvane Quillon' appeared"
sleep 0.5
eval "$(xdotool getwindowgeometry --shell "$win")"
[ "$WIDTH" -eq 725 ] && [ "$HEIGHT" -eq 485 ] || fail "window is ${WIDTH}x${HEIGHT}, expected 725x485"
[ "$X" -eq $(((1024 - 725) / 2)) ] && [ "$Y" -eq $(((768 - 485) / 2)) ] ||
  fail "window at $X,$Y is not centred"

# The buttons sit on the menu picture, so it is compared where it shows through: close on
# average, and clearly unlike a blank window.
shot main_menu
crop main_menu
english=$cd_dir/Language/English/$(picture English)
diff=$(mae "$out/main_menu_crop.png" "$english")
/usr/bin/convert "$out/main_menu_crop.png" -fill white -colorize 100 "$out/blank.png"
blank=$(mae "$out/main_menu_crop.png" "$out/blank.png")
echo "difference to the main menu picture: $diff; to a blank window: $blank"
awk -v d="$diff" 'BEGIN { exit !(d < 0.06) }' || fail "the window does not show the main menu picture"
awk -v b="$blank" 'BEGIN { exit !(b > 0.10) }' || fail "the window looks blank"
# Outside the 720x480 picture the form's own colour shows: the cream RGB(255, 251, 240).
corner=$(pixel main_menu $((X + WIDTH - 2)) $((Y + HEIGHT - 2)))
[ "$corner" = FFFBF0 ] || fail "the window colour is #$corner, expected #FFFBF0"

# Alt+F2 on the menu shows the version in the system's message box, captioned with the title.
xdotool mousemove $((X + 300)) $((Y + 300))
xdotool key alt+F2
for _ in $(seq 50); do [ "$(windows | wc -l)" -ge 2 ] && break; sleep 0.1; done
[ "$(windows | wc -l)" -ge 2 ] || fail "Alt+F2 showed no message box"
sleep 0.3
shot version_box
box=$(windows | grep -vx "$win" | head -n 1)
eval "$(xdotool getwindowgeometry --shell "$box" | sed 's/^/BOX_/')"
[ "$BOX_WIDTH" -lt 725 ] || fail "the version box is as wide as the main window"
xdotool key Return
for _ in $(seq 50); do [ "$(windows | wc -l)" -eq 1 ] && break; sleep 0.1; done
[ "$(windows | wc -l)" -eq 1 ] || fail "the version box did not close with Return"

# Picking Russian in the language list: a click opens it, typing picks the row, Return closes.
eval "$(xdotool getwindowgeometry --shell "$win")"
combo_x=$(sed -n 's/^CB_Languages.Left=//p' Language/English/dslutility.ini | tr -d '\r')
combo_y=$(sed -n 's/^CB_Languages.Top=//p' Language/English/dslutility.ini | tr -d '\r')
xdotool mousemove $((X + combo_x + 40)) $((Y + combo_y + 8))
sleep 0.2
xdotool click 1
sleep 0.5
xdotool key r
sleep 0.2
xdotool key Return
russian=$cd_dir/Language/Russian/$(picture Russian)
for _ in $(seq 40); do
  sleep 0.25
  shot russian
  crop russian
  to_russian=$(mae "$out/russian_crop.png" "$russian")
  to_english=$(mae "$out/russian_crop.png" "$english")
  awk -v r="$to_russian" -v e="$to_english" 'BEGIN { exit !(r < 0.06 && r < e) }' && break
done
echo "after picking Russian: difference $to_russian to its menu, $to_english to the English one"
awk -v r="$to_russian" -v e="$to_english" 'BEGIN { exit !(r < 0.06 && r < e) }' ||
  fail "picking Russian in the list did not switch the pictures"

# A second copy closes by itself with code 0 and leaves the first running.
set +e
timeout 60 "$wine_loader" ./Quillon.exe </dev/null >>"$log" 2>&1
second=$?
set -e
[ "$second" -eq 0 ] || fail "the second copy ended with $second"
kill -0 "$first" 2>/dev/null || fail "the first copy died when the second started"
[ "$(windows | wc -l)" -eq 1 ] || fail "the first window is gone or the second stayed"

# The Close picture ends the program at once, with code 0.
close_x=$(sed -n 's/^IMG_CloseBT.Left=//p' Language/Russian/dslutility.ini | tr -d '\r')
close_y=$(sed -n 's/^IMG_CloseBT.Top=//p' Language/Russian/dslutility.ini | tr -d '\r')
xdotool mousemove $((X + close_x + 20)) $((Y + close_y + 10))
sleep 0.2
xdotool mousemove $((X + close_x + 21)) $((Y + close_y + 11))
sleep 0.2
xdotool click 1
for _ in $(seq 100); do kill -0 "$first" 2>/dev/null || break; sleep 0.1; done
kill -0 "$first" 2>/dev/null && fail "the program did not end on Close"
set +e
wait "$first"
code=$?
set -e
first=""
[ "$code" -eq 0 ] || fail "the program ended with $code after Close"
echo "PASS"
