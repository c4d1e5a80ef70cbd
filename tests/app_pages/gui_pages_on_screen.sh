#!/usr/bin/env bash
# The ISP, static IP, PPP, radio and wireless pages in a real window under the current X display:
# types into the real fields, picks from the real lists, clicks Next, acknowledges the message
# dialog and checks on the screen that the red frame surrounds the wrong field, and that a
# corrected page moves on to the page whose picture then fills the window.
# Usage: gui_pages_on_screen.sh PAGE_HOST DATA_DIR ARTIFACT_DIR
set -euo pipefail
host=$1
data=$2
out=$3
mkdir -p "$out"
settings=$data/Language/English/dslutility.ini
# shellcheck source=../gui/lib.sh
. "$(dirname "$0")/../gui/lib.sh"
log=$(mktemp)
remove_at_exit "$log"

start_page() {
  if [ -n "${pid:-}" ]; then
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  fi
  "$host" "$data" "$1" >"$log" 2>&1 &
  pid=$!
  stop_at_exit "$pid"
  find_wizard_window 20
}
# Picks a list row: the list drops down on the current row; arrows move, Return takes.
pick() {
  click "$1" "$2"
  local key=$3 count=$4
  for _ in $(seq 1 "$count"); do xdotool key "$key"; done
  xdotool key Return
  sleep 0.3
}
# The two-pixel frame around the control at client position LEFT, TOP: its outer corner and a
# point on its left edge are red; the field itself is not.
framed() {
  local name=$1 left=$2 top=$3
  shot "$name"
  [ "$(pixel "$name" $((X + left - 2)) $((Y + top - 2)))" = FF0000 ] &&
    [ "$(pixel "$name" $((X + left - 1)) $((Y + top + 8)))" = FF0000 ] &&
    [ "$(pixel "$name" $((X + left + 4)) $((Y + top + 8)))" != FF0000 ]
}
# The window shows the page whose background picture is PICTURE.
shows_page() {
  local name=$1 picture=$2 diff
  shot "$name"
  client_area "$name"
  diff=$(mae "$out/${name}_crop.png" "$(dirname "$settings")/$picture")
  echo "$name: difference to $picture is $diff"
  below "$diff" 0.06
}

# ISP page: a VPI of 256 is refused and framed; 8 with "Static IP" from the list leads on.
start_page isp
shows_page isp_start isp.jpg || fail "the ISP page is not on screen"
framed isp_clean 341 335 && fail "a frame shows before any check"
type_into 360 343 256
next
acknowledge isp_vpi
framed isp_vpi_framed 341 335 || fail "no red frame around the VPI field"
type_into 360 343 8
pick 400 285 Down 2  # PPPoA -> Dynamic IP -> Static IP
next
shows_page static_page staticip.jpg || fail "Static IP did not lead to the static IP page"

# Static IP page: the broadcast address of its subnet is refused at the address field.
type_into 360 189 192.168.1.255
type_into 360 223 255.255.255.0
type_into 360 257 192.168.1.1
type_into 360 291 192.168.1.1
next
acknowledge static_broadcast
framed static_framed 341 181 || fail "no red frame around the WAN address"
type_into 360 189 192.168.1.20
next
shows_page radio_page radio.jpg || fail "a valid static IP page did not lead to the radio page"

# PPP page: passwords that differ in letter case are refused at the confirmation.
start_page ppp
shows_page ppp_page ppp.jpg || fail "the PPP page is not on screen"
type_into 360 189 alice@isp.example
type_into 360 223 Secret
type_into 360 257 secret
next
acknowledge ppp_mismatch
framed ppp_framed 341 249 || fail "no red frame around the confirmation"
type_into 360 257 Secret
# A letter the Western code page lacks would vanish from the password: it is refused and both
# fields are emptied for typing again.
type_into 360 223 "sekrЖt99"
type_into 360 257 "sekrЖt99"
next
acknowledge ppp_code_page
framed ppp_code_page_framed 341 215 || fail "no red frame around the password"
type_into 360 223 Secret
type_into 360 257 Secret
next
shows_page ppp_done radio.jpg || fail "a valid PPP page did not lead to the radio page"

# Radio on leads to the wireless page.
pick 400 211 Up 1
next
shows_page wireless_page wireless.jpg || fail "the radio page did not lead to the wireless page"

# Wireless page: a four-character WEP key is refused and framed; ten hexadecimal digits pass.
type_into 360 173 garden
pick 400 265 Down 1  # None -> WEP Key(64 bits)
type_into 360 293 1234
next
acknowledge wireless_key
framed wireless_framed 341 285 || fail "no red frame around the key"
type_into 360 293 0a1b2c3d4e
next
acknowledge wireless_reminder
sleep 0.5
grep -q "software check" "$log" || fail "the wireless page did not lead on to applying the settings"
echo "PASS"
