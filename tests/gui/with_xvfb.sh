#!/usr/bin/env bash
# Runs a command against a private Xvfb server: `with_xvfb.sh CMD ARGS...`. The display number is
# taken from a free slot, exported as DISPLAY, and the server is stopped when the command ends.
# Fails loudly when Xvfb is missing: a GUI test must not pass by not running.
set -u
if ! command -v Xvfb >/dev/null; then
  echo "with_xvfb: Xvfb is not installed" >&2
  exit 2
fi
display=""
for n in $(seq 50 199); do
  if [ ! -e "/tmp/.X${n}-lock" ] && [ ! -e "/tmp/.X11-unix/X${n}" ]; then
    Xvfb ":${n}" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    pid=$!
    for _ in $(seq 1 100); do
      [ -e "/tmp/.X11-unix/X${n}" ] && break
      kill -0 "$pid" 2>/dev/null || break
      sleep 0.05
    done
    if [ -e "/tmp/.X11-unix/X${n}" ] && kill -0 "$pid" 2>/dev/null; then
      display=":${n}"
      break
    fi
    kill "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
  fi
done
if [ -z "$display" ]; then
  echo "with_xvfb: could not start Xvfb" >&2
  exit 2
fi
trap 'kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null' EXIT
export DISPLAY="$display"
"$@"
