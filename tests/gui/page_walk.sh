# Sourced by the scripts that walk the wizard's pages in a real window (natively and under Wine).
# The caller sets `out` (the screenshot folder), `settings` (the skin file of the language shown),
# `wizard` (the wizard's pid) and defines fail(); find_wizard_window sets wx and wy.

# Waits up to LIMIT seconds for the wizard's window and takes its place on the screen.
find_wizard_window() {
  local limit=$1
  win=$(timeout "$limit" xdotool search --sync --onlyvisible --name '^Norvane Quillon$' | head -n 1) ||
    fail "no wizard window appeared"
  eval "$(xdotool getwindowgeometry --shell "$win")"
  wx=$X wy=$Y
}

picture() { sed -n "s/^$1.Picture=//p" "$settings" | tr -d '\r'; }
mae() { /usr/bin/compare -metric MAE "$1" "$2" null: 2>&1 | sed 's/.*(\(.*\))/\1/' || true; }

# Waits until the window shows the page whose background is the skin key's picture, then keeps
# a screenshot of it under NAME. The pages share their frame, so the shot must be close to the
# page's picture and closer to it than to the page before.
shown=0
previous=""
wait_page() {
  local key=$1 name=$2 limit=${3:-30} file
  file=$(picture "$key")
  [ -n "$file" ] || fail "no picture for $key"
  local deadline=$((SECONDS + limit)) diff=1 before=1
  while [ $SECONDS -le $deadline ]; do
    /usr/bin/import -display "$DISPLAY" -window root "$out/current.png"
    /usr/bin/convert "$out/current.png" -crop "720x480+$((wx + 1))+$((wy + 1))" +repage \
      "$out/current_crop.png"
    diff=$(mae "$out/current_crop.png" "Language/English/$file")
    before=1
    [ -n "$previous" ] && before=$(mae "$out/current_crop.png" "Language/English/$previous")
    if awk -v d="$diff" -v b="$before" 'BEGIN { exit !(d < 0.025 && d < b) }'; then
      shown=$((shown + 1))
      mv "$out/current.png" "$out/$(printf %02d $shown)_$name.png"
      rm -f "$out/current_crop.png"
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

# The buttons are pictures that appear under the mouse: move there, then click.
click() {
  xdotool mousemove $((wx + $1)) $((wy + $2))
  sleep 0.15
  xdotool mousemove $((wx + $1 + 1)) $((wy + $2 + 1))
  sleep 0.15
  xdotool click 1
}
next() { click 651 457; }
type_into() {
  click "$1" "$2"
  xdotool key End
  xdotool key --repeat 64 --delay 5 BackSpace
  xdotool type --delay 20 "$3"
}

