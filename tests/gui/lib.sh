# Sourced by every script that checks the wizard in a real window, natively and under Wine.
# The caller sets `out` (the folder for screenshots) before anything here can fail, and
# `settings` (the skin file of the language shown) before it reads skin values or walks pages.
# shellcheck shell=bash

title='^Norvane Quillon$'
dialog_title='^Norvane$'

# The exit trap stops the processes, calls the functions and removes the paths handed to it, so
# that neither a failure nor a pass leaves a wizard, a Wine server or a temporary folder behind.
lib_pids=()
lib_hooks=()
lib_paths=()
stop_at_exit() { lib_pids+=("$1"); }
call_at_exit() { lib_hooks+=("$1"); }
remove_at_exit() { lib_paths+=("$@"); }
lib_cleanup() {
  local status=$? pid hook
  for pid in "${lib_pids[@]}"; do
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  done
  for hook in "${lib_hooks[@]}"; do "$hook" || true; done
  rm -rf "${lib_paths[@]}"
  exit "$status"
}
trap lib_cleanup EXIT

# A failure keeps the screen as it was, since the message alone rarely tells what showed.
fail() {
  echo "FAIL: $*" >&2
  /usr/bin/import -display "$DISPLAY" -window root "$out/failure.png" 2>/dev/null || true
  exit 1
}

# Waits up to SECONDS for a visible window whose title matches PATTERN and prints its id.
window_id() { timeout "$1" xdotool search --sync --onlyvisible --name "$2" | head -n 1; }
windows() { xdotool search --onlyvisible --name "$title" 2>/dev/null | sort; }
# Sets X, Y, WIDTH and HEIGHT, each after PREFIX when one is given, from WINDOW's geometry.
geometry() { eval "$(xdotool getwindowgeometry --shell "$1" | sed "s/^/${2:-}/")"; }
# Waits up to SECONDS for the wizard's window; sets win and its geometry once it has settled.
find_wizard_window() {
  win=$(window_id "$1" "$title") || fail "no window titled 'Norvane Quillon' appeared"
  sleep 0.5
  geometry "$win"
}

# The main window is 725x485, centred on the 1024x768 screen.
check_main_window() {
  [ "$WIDTH" -eq 725 ] && [ "$HEIGHT" -eq 485 ] ||
    fail "window is ${WIDTH}x${HEIGHT}, expected 725x485"
  [ "$X" -eq $(((1024 - 725) / 2)) ] && [ "$Y" -eq $(((768 - 485) / 2)) ] ||
    fail "window at $X,$Y is not centred"
}

# Waits up to five seconds until the number of visible windows titled TITLE compares to N:
# dialogs_become TITLE OP N, OP one of test's -eq, -ge, -le. Returns 1 if it never does.
dialogs_become() {
  for _ in $(seq 50); do
    [ "$(xdotool search --onlyvisible --name "$1" 2>/dev/null | wc -l)" "$2" "$3" ] && return 0
    sleep 0.1
  done
  return 1
}

# Waits up to five seconds for the error box a damaged picture brings, as listed by the caller's
# `boxes` (the windows other than the wizard's): reports_damage WIZARD_PID WHAT. Fails when the
# wizard ended instead, or nothing showed.
reports_damage() {
  for _ in $(seq 50); do
    [ -n "$(boxes)" ] && return 0
    kill -0 "$1" 2>/dev/null || fail "$2 ended the wizard"
    sleep 0.1
  done
  fail "$2 reported nothing"
}

# Waits for the dialog titled $dialog_title, sets dialog and its geometry (D_X, D_Y, D_WIDTH,
# D_HEIGHT), and fails unless it shows centred on the wizard within 2 px:
# dialog_centred NAME SECONDS.
dialog_centred() {
  dialog=$(window_id "$2" "$dialog_title") || fail "the $1 did not show"
  sleep 0.5
  geometry "$dialog" D_
  local off=$(((D_X * 2 + D_WIDTH) - (X * 2 + WIDTH)))
  echo "$1: ${D_WIDTH}x${D_HEIGHT} at $D_X,$D_Y, $((off / 2)) px off the centre"
  [ "${off#-}" -le 2 ] || fail "the $1 shows $((off / 2)) px off the centre"
}

# The question dialog a long text grows past 280 px to show whole: question_shows_whole WHICH.
question_shows_whole() {
  dialog=$(window_id 20 "$dialog_title") || fail "$1 did not show"
  sleep 0.5
  shot question
  geometry "$dialog" D_
  echo "question dialog: ${D_WIDTH}x${D_HEIGHT}"
  [ "$D_HEIGHT" -gt 280 ] || fail "the question dialog stays ${D_HEIGHT} px high and cuts its text"
}

# Screenshots are named without folder or ending: shot NAME saves $out/NAME.png.
shot() { /usr/bin/import -display "$DISPLAY" -window root "$out/$1.png"; }
# Cuts WIDTHxHEIGHT at window position LEFT, TOP out of shot NAME: cut_out NAME PART LEFT TOP
# WIDTH HEIGHT saves NAME_PART.
cut_out() {
  /usr/bin/convert "$out/$1.png" -crop "${5}x${6}+$((X + $3))+$((Y + $4))" +repage "$out/$1_$2.png"
}
# The wizard's 720x480 client area of shot NAME, as NAME_crop.
client_area() { cut_out "$1" crop 1 1 720 480; }
# The colour at a screen position of shot NAME, as six hexadecimal digits.
pixel() { /usr/bin/convert "$out/$1.png" -format "%[hex:p{$2,$3}]" info: | cut -c1-6; }

# The mean absolute error between two pictures, from 0 (alike) to 1. compare exits 1 whenever
# the pictures differ at all, so only its figure counts; a missing figure is a failure, since a
# comparison that did not happen must not pass as a difference.
mae() {
  local figure
  figure=$(/usr/bin/compare -metric MAE "$1" "$2" null: 2>&1 |
    sed -n 's/^[0-9.e+-]* (\([0-9.e+-]*\))$/\1/p' || true)
  [ -n "$figure" ] || fail "could not compare $1 with $2"
  echo "$figure"
}
below() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a < b) }'; }

# A value of the skin: skin_value KEY [FILE], by default from $settings.
skin_value() { sed -n "s/^$1=//p" "${2:-$settings}" | tr -d '\r'; }

# Whether shot NAME shows the menu picture: the buttons sit on it, so it is compared where it
# shows through, close on average and clearly unlike a blank window.
check_menu_picture() {
  local name=$1 picture=$2 diff blank
  client_area "$name"
  diff=$(mae "$out/${name}_crop.png" "$picture")
  /usr/bin/convert "$out/${name}_crop.png" -fill white -colorize 100 "$out/blank.png"
  blank=$(mae "$out/${name}_crop.png" "$out/blank.png")
  echo "difference to the main menu picture: $diff; to a blank window: $blank"
  below "$diff" 0.06 || fail "the window does not show the main menu picture"
  below 0.10 "$blank" || fail "the window looks blank"
}

# Runs a second copy of the wizard with COMMAND, its output into $log when set: it must end by
# itself with code 0 and leave the first, FIRST, running with its one window.
second_copy_ends() {
  local first=$1 code=0
  shift
  "$@" </dev/null >>"${log:-/dev/stderr}" 2>&1 || code=$?
  [ "$code" -eq 0 ] || fail "the second copy ended with $code"
  kill -0 "$first" 2>/dev/null || fail "the first copy died when the second started"
  [ "$(windows | wc -l)" -eq 1 ] || fail "the first window is gone or the second stayed"
}

# Waits up to SECONDS for the wizard PID to end after WHAT; it must end with code 0.
ends_after() {
  local pid=$1 seconds=$2 what=$3 code=0
  for _ in $(seq $((seconds * 10))); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  kill -0 "$pid" 2>/dev/null && fail "the wizard did not end after $what"
  wait "$pid" || code=$?
  [ "$code" -eq 0 ] || fail "the wizard ended with $code after $what"
}

# The pictures are buttons that appear under the mouse: move there, then click. Positions are
# in the window, as the skin gives them.
click() {
  xdotool mousemove $((X + $1)) $((Y + $2))
  sleep 0.15
  xdotool mousemove $((X + $1 + 1)) $((Y + $2 + 1))
  sleep 0.15
  xdotool click 1
  sleep 0.25
}
next() { click 651 457; }
# Empties the focused one-line edit the way a user does.
clear_field() {
  xdotool key End
  xdotool key --repeat 64 --delay 5 BackSpace
}
type_into() {
  click "$1" "$2"
  clear_field
  # The text is UTF-8, and xdotool reads it by the locale: a bare machine's has no UTF-8.
  LC_ALL=C.UTF-8 xdotool type --delay 30 "$3"
  sleep 0.2
}

# Waits for the message dialog, keeps a screenshot of it as NAME_message and closes it with its
# OK button, which must close it.
acknowledge() {
  local dialog
  dialog=$(window_id 20 "$dialog_title") || fail "no message dialog after $1"
  sleep 0.5
  shot "$1_message"
  geometry "$dialog" DLG_
  xdotool mousemove $((DLG_X + 218)) $((DLG_Y + 148))
  sleep 0.2
  xdotool click 1
  for _ in $(seq 50); do
    xdotool search --onlyvisible --name "$dialog_title" >/dev/null 2>&1 || return 0
    sleep 0.1
  done
  fail "the message dialog did not close on OK"
}

# Waits up to LIMIT seconds (30 by default) until the window shows the page whose background is
# the skin key's picture, then keeps the screenshot as NN_NAME. The pages share their frame, so
# the shot must be close to the page's picture and closer to it than to the page before; where
# they share more, page_band names the part that tells them apart. The wizard's pid is $wizard.
shown=0
previous=""
page_band=""
page_limit=0.025
page_part() {
  if [ -z "$page_band" ]; then
    echo "$1"
  else
    /usr/bin/convert "$1" -crop "$page_band" +repage "$out/$2.png"
    echo "$out/$2.png"
  fi
}
wait_page() {
  local key=$1 name=$2 limit=${3:-30} file dir now diff=1 before=1
  file=$(skin_value "$key.Picture")
  [ -n "$file" ] || fail "no picture for $key"
  dir=$(dirname "$settings")
  local deadline=$((SECONDS + limit))
  while [ $SECONDS -le $deadline ]; do
    shot current
    client_area current
    now=$(page_part "$out/current_crop.png" current_part)
    diff=$(mae "$now" "$(page_part "$dir/$file" expected_part)")
    before=1
    [ -z "$previous" ] || before=$(mae "$now" "$(page_part "$dir/$previous" previous_part)")
    if below "$diff" "$page_limit" && below "$diff" "$before"; then
      shown=$((shown + 1))
      mv "$out/current.png" "$out/$(printf %02d $shown)_$name.png"
      rm -f "$out"/current_crop.png "$out"/*_part.png
      previous=$file
      echo "page $name (difference $diff, to the page before $before)"
      # A user looks at a page before clicking on it.
      sleep 0.5
      return 0
    fi
    kill -0 "$wizard" 2>/dev/null || fail "the wizard ended while waiting for $name"
    sleep 0.3
  done
  fail "page $name did not show within ${limit}s (difference $diff, to the page before $before)"
}
