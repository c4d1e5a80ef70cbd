#!/usr/bin/env bash
# Starts the real wizard from a CD image under the current X display, screenshots it and checks
# that the window shows the main menu picture (not a blank or half-drawn window). Then starts a
# second copy, which must end by itself with code 0 while the first stays.
# Usage: main_menu_on_screen.sh CD_DIR ARTIFACT_DIR
set -euo pipefail
cd_dir=$1
out=$2
mkdir -p "$out"
runtime=$(mktemp -d)
export XDG_RUNTIME_DIR=$runtime
cleanup() {
  local status=$?
  if [ -n "${first:-}" ]; then
    kill "$first" 2>/dev/null || true
    wait "$first" 2>/dev/null || true
  fi
  rm -rf "$runtime"
  exit "$status"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cd "$cd_dir"
./quillon &
first=$!
win=$(timeout 20 xdotool search --sync --onlyvisible --name '^Norvane Quillon$' | head -n 1) ||
  fail "no window titled 'Norvane Quillon' appeared"
sleep 0.3
eval "$(xdotool getwindowgeometry --shell "$win")"
[ "$WIDTH" -eq 725 ] && [ "$HEIGHT" -eq 485 ] || fail "window is ${WIDTH}x${HEIGHT}, expected 725x485"
# Centred on the 1024x768 screen.
[ "$X" -eq $(((1024 - 725) / 2)) ] && [ "$Y" -eq $(((768 - 485) / 2)) ] || fail "window at $X,$Y is not centred"

/usr/bin/import -display "$DISPLAY" -window root "$out/main_menu.png"
picture=$(sed -n 's/^IMG_MainMenuDlgBG.Picture=//p' "$cd_dir/Language/English/dslutility.ini" | tr -d '\r')
[ -n "$picture" ] || fail "the sample skin names no main menu picture"
/usr/bin/convert "$out/main_menu.png" -crop "720x480+$((X + 1))+$((Y + 1))" +repage "$out/main_menu_crop.png"
# The buttons sit on the background, so compare the menu picture only where it shows through:
# the whole frame must be close on average, and clearly unlike a blank window.
# compare exits 1 whenever the pictures differ at all; only its figure counts here.
mae() { /usr/bin/compare -metric MAE "$1" "$2" null: 2>&1 | sed 's/.*(\(.*\))/\1/' || true; }
diff=$(mae "$out/main_menu_crop.png" "$cd_dir/Language/English/$picture")
/usr/bin/convert "$out/main_menu_crop.png" -fill white -colorize 100 "$out/blank.png"
blank=$(mae "$out/main_menu_crop.png" "$out/blank.png")
echo "difference to the main menu picture: $diff; to a blank window: $blank"
awk -v d="$diff" 'BEGIN { exit !(d < 0.06) }' || fail "the window does not show the main menu picture"
awk -v b="$blank" 'BEGIN { exit !(b > 0.10) }' || fail "the window looks blank"

# A second copy must close by itself, with code 0, and leave the first running.
set +e
timeout 20 ./quillon
second=$?
set -e
[ "$second" -eq 0 ] || fail "the second copy ended with $second"
kill -0 "$first" 2>/dev/null || fail "the first copy died when the second started"
xdotool search --onlyvisible --name '^Norvane Quillon$' >/dev/null || fail "the first window is gone"
echo "PASS"
