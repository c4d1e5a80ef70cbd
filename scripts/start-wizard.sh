#!/usr/bin/env bash
# Starts the wizard of a CD image folder. With a display it runs in the foreground; without one
# it runs under a private Xvfb long enough to take a screenshot of its first screen.
set -euo pipefail
cd_dir=$(cd "$1" && pwd)
shot=${QUILLON_SCREENSHOT:-$(pwd)/build/run-screenshot.png}

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  cd "$cd_dir"
  exec ./quillon
fi

echo "No display: starting the wizard under a private Xvfb to take a screenshot."
mkdir -p "$(dirname "$shot")"
runtime=$(mktemp -d)
trap 'rm -rf "$runtime"' EXIT
export SHOT="$shot" CD_DIR="$cd_dir" XDG_RUNTIME_DIR="$runtime"
bash tests/gui/with_xvfb.sh bash -c '
  cd "$CD_DIR"
  ./quillon & pid=$!
  win=$(timeout 20 xdotool search --sync --onlyvisible --name "Norvane Quillon" | head -n 1 || true)
  sleep 0.5
  if [ -z "$win" ]; then echo "the wizard did not open its window" >&2; kill $pid 2>/dev/null; exit 1; fi
  /usr/bin/import -display "$DISPLAY" -window root "$SHOT"
  kill $pid 2>/dev/null; wait $pid 2>/dev/null || true
'
echo "Screenshot of the wizard's main menu: $shot"
