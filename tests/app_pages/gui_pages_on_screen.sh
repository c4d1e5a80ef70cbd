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
lang="$data/Language/English"
log=$(mktemp)
cleanup() {
  local status=$?
  if [ -n "${pid:-}" ]; then
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  fi
  rm -f "$log"
  exit "$status"
}
trap cleanup EXIT
fail() {
  echo "FAIL: $*" >&2
  /usr/bin/import -display "$DISPLAY" -window root "$out/failure.png" 2>/dev/null || true
  exit 1
}

# The window sits centred on the 1024x768 screen; controls are placed in its client area.
X=$(((1024 - 725) / 2))
Y=$(((768 - 485) / 2))

start_page() {
  if [ -n "${pid:-}" ]; then
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  fi
  "$host" "$data" "$1" >"$log" 2>&1 &
  pid=$!
  win=$(timeout 20 xdotool search --sync --onlyvisible --name '^Norvane Quillon$' | head -n 1) ||
    fail "the page host showed no window for $1"
  sleep 0.3
}
click() { xdotool mousemove --window "$win" "$1" "$2" click 1; sleep 0.25; }
type_text() { xdotool type --delay 30 "$1"; sleep 0.2; }
# Empties the focused one-line edit the way a user does.
clear_field() { xdotool key End; for _ in $(seq 1 40); do xdotool key BackSpace; done; }
# Picks a list row: the list drops down on the current row; arrows move, Return takes.
pick() {
  click "$1" "$2"
  local key=$3 count=$4
  for _ in $(seq 1 "$count"); do xdotool key "$key"; done
  xdotool key Return
  sleep 0.3
}
# The Next picture appears under the mouse and takes the click.
next() {
  xdotool mousemove --window "$win" 640 450
  sleep 0.15
  click 651 457
}
# The message dialog: saved as a picture, then acknowledged with its OK button.
acknowledge() {
  local dialog
  dialog=$(timeout 10 xdotool search --sync --onlyvisible --name '^Norvane$' | head -n 1) ||
    fail "no message dialog after $1"
  sleep 0.3
  /usr/bin/import -display "$DISPLAY" -window root "$out/$1_message.png"
  xdotool mousemove --window "$dialog" 220 148 click 1
  sleep 0.4
  xdotool search --onlyvisible --name '^Norvane$' >/dev/null && fail "the dialog stayed open"
  return 0
}
shot() { /usr/bin/import -display "$DISPLAY" -window root "$out/$1.png"; }
pixel() { /usr/bin/convert "$out/$1.png" -crop "1x1+$2+$3" -depth 8 txt:- | tail -n 1 | grep -o '#[0-9A-F]\{6\}'; }
# The two-pixel frame around the control at client position LEFT, TOP: its outer corner and a
# point on its left edge are red; the field itself is not.
framed() {
  local name=$1 left=$2 top=$3
  shot "$name"
  [ "$(pixel "$name" $((X + left - 2)) $((Y + top - 2)))" = "#FF0000" ] &&
    [ "$(pixel "$name" $((X + left - 1)) $((Y + top + 8)))" = "#FF0000" ] &&
    [ "$(pixel "$name" $((X + left + 4)) $((Y + top + 8)))" != "#FF0000" ]
}
# The window shows the page whose background picture is PICTURE.
mae() { /usr/bin/compare -metric MAE "$1" "$2" null: 2>&1 | sed 's/.*(\(.*\))/\1/' || true; }
shows_page() {
  local name=$1 picture=$2
  shot "$name"
  /usr/bin/convert "$out/$name.png" -crop "720x480+$((X + 1))+$((Y + 1))" +repage "$out/${name}_crop.png"
  local diff
  diff=$(mae "$out/${name}_crop.png" "$lang/$picture")
  echo "$name: difference to $picture is $diff"
  awk -v d="$diff" 'BEGIN { exit !(d < 0.06) }'
}

# ISP page: a VPI of 256 is refused and framed; 8 with "Static IP" from the list leads on.
start_page isp
shows_page isp_start isp.jpg || fail "the ISP page is not on screen"
framed isp_clean 341 335 && fail "a frame shows before any check"
click 360 343
clear_field
type_text 256
next
acknowledge isp_vpi
framed isp_vpi_framed 341 335 || fail "no red frame around the VPI field"
click 360 343
clear_field
type_text 8
pick 400 285 Down 2  # PPPoA -> Dynamic IP -> Static IP
next
shows_page static_page staticip.jpg || fail "Static IP did not lead to the static IP page"

# Static IP page: the broadcast address of its subnet is refused at the address field.
click 360 189
type_text 192.168.1.255
click 360 223
type_text 255.255.255.0
click 360 257
type_text 192.168.1.1
click 360 291
type_text 192.168.1.1
next
acknowledge static_broadcast
framed static_framed 341 181 || fail "no red frame around the WAN address"
click 360 189
clear_field
click 360 189
type_text 192.168.1.20
next
shows_page radio_page radio.jpg || fail "a valid static IP page did not lead to the radio page"

# PPP page: passwords that differ in letter case are refused at the confirmation.
start_page ppp
shows_page ppp_page ppp.jpg || fail "the PPP page is not on screen"
click 360 189
type_text alice@isp.example
click 360 223
type_text Secret
click 360 257
type_text secret
next
acknowledge ppp_mismatch
framed ppp_framed 341 249 || fail "no red frame around the confirmation"
click 360 257
clear_field
type_text Secret
next
shows_page ppp_done radio.jpg || fail "a valid PPP page did not lead to the radio page"

# Radio on leads to the wireless page.
pick 400 211 Up 1
next
shows_page wireless_page wireless.jpg || fail "the radio page did not lead to the wireless page"

# Wireless page: a five-character WEP key is refused and framed; ten hexadecimal digits pass.
click 360 173
type_text garden
pick 400 265 Down 1  # None -> WEP Key(64 bits)
click 360 293
type_text 12345
next
acknowledge wireless_key
framed wireless_framed 341 285 || fail "no red frame around the key"
click 360 293
clear_field
type_text 0a1b2c3d4e
next
acknowledge wireless_reminder
sleep 0.5
grep -q "software check" "$log" || fail "the wireless page did not lead on to applying the settings"
echo "PASS"
