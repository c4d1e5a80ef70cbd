#!/usr/bin/env bash
# The page machine in a real window: a help page whose navigation pictures appear only under the
# mouse, the ISP page with its input controls, and a modal message dialog, each checked by a
# screenshot against the skin's own pictures.
# Usage: pages_on_screen.sh PAGE_HOST CD_DIR ARTIFACT_DIR
set -euo pipefail
host=$1
cd_dir=$2
out=$3
mkdir -p "$out"
runtime=$(mktemp -d)
export XDG_RUNTIME_DIR=$runtime QUILLON_DHCLIENT=none
pid=""
cleanup() {
  local status=$?
  if [ -n "$pid" ]; then
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  fi
  rm -rf "$runtime"
  exit "$status"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
skin() { sed -n "s/^$1=//p" "$cd_dir/Language/English/dslutility.ini" | tr -d '\r'; }
mae() { /usr/bin/compare -metric MAE "$1" "$2" null: 2>&1 | sed 's/.*(\(.*\))/\1/' || true; }
below() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a < b) }'; }

# Starts the host on a page; sets win, X, Y (the window's client origin on the screen).
open_page() {
  "$host" "$cd_dir" "$@" &
  pid=$!
  win=$(timeout 20 xdotool search --sync --onlyvisible --name '^Norvane Quillon$' | head -n 1) ||
    fail "no wizard window for page $1"
  sleep 0.4
  eval "$(xdotool getwindowgeometry --shell "$win")"
}
close_page() {
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  pid=""
}
# Crops the screen at window coordinates: crop NAME LEFT TOP WIDTH HEIGHT.
shot() { /usr/bin/import -display "$DISPLAY" -window root "$out/$1.png"; }
crop() {
  /usr/bin/convert "$out/$1.png" -crop "${4}x${5}+$((X + $2))+$((Y + $3))" +repage "$out/$1_$6.png"
}

# A help page: the background shows, the Next picture appears only with the mouse over it.
open_page 2
next_left=$(skin IMG_PowerLinkHelpDlgNextBT.Left)
next_top=$(skin IMG_PowerLinkHelpDlgNextBT.Top)
next_picture="$cd_dir/Language/English/$(skin IMG_PowerLinkHelpDlgNextBT.Picture)"
size=$(/usr/bin/identify -format '%w %h' "$next_picture")
next_w=${size% *}
next_h=${size#* }
shot power
crop power 1 1 720 480 page
crop power "$next_left" "$next_top" "$next_w" "$next_h" next
page_diff=$(mae "$out/power_page.png" "$cd_dir/Language/English/$(skin IMG_PowerLinkHelpDlgBG.Picture)")
away=$(mae "$out/power_next.png" "$next_picture")
xdotool mousemove --window "$win" $((next_left + next_w / 2)) $((next_top + next_h / 2))
sleep 0.4
shot power_hover
crop power_hover "$next_left" "$next_top" "$next_w" "$next_h" next
over=$(mae "$out/power_hover_next.png" "$next_picture")
echo "power page: background $page_diff; Next picture away $away, under the mouse $over"
below "$page_diff" 0.05 || fail "the power help page does not show its background"
below "$over" 0.02 || fail "the Next picture did not appear under the mouse"
below "$over" "$away" || fail "the Next picture showed before the mouse came"
close_page

# The ISP page: its background with the lists and fields laid over it.
open_page 6
shot isp
crop isp 1 1 720 480 page
isp_diff=$(mae "$out/isp_page.png" "$cd_dir/Language/English/$(skin IMG_ISPSelectionDlgBG.Picture)")
country_left=$(skin CB_CountrySelector.Left)
country_top=$(skin CB_CountrySelector.Top)
crop isp "$country_left" "$country_top" 120 20 country
crop isp 1 1 720 480 whole
bg_country=$(/usr/bin/convert "$cd_dir/Language/English/$(skin IMG_ISPSelectionDlgBG.Picture)" \
  -crop "120x20+$((country_left - 1))+$((country_top - 1))" +repage png:- | cat > "$out/isp_bg_country.png"; mae "$out/isp_country.png" "$out/isp_bg_country.png")
echo "isp page: background $isp_diff; country list against bare background $bg_country"
below "$isp_diff" 0.08 || fail "the ISP page does not show its background"
below 0.02 "$bg_country" || fail "no country list is drawn over the ISP page"
close_page

# A modal message dialog over the main menu.
open_page 1 "The wizard cannot find your router."
dialog=$(timeout 20 xdotool search --sync --onlyvisible --name '^Norvane$' | head -n 1) ||
  fail "the message dialog did not open"
sleep 0.3
shot message
eval "$(xdotool getwindowgeometry --shell "$dialog" | sed 's/^/D_/')"
echo "message dialog: ${D_WIDTH}x${D_HEIGHT} at $D_X,$D_Y"
[ "$D_WIDTH" -ge 435 ] && [ "$D_HEIGHT" -ge 173 ] || fail "the message dialog is ${D_WIDTH}x${D_HEIGHT}"
close_page
echo "PASS"
