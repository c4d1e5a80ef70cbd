#!/usr/bin/env bash
# Starts the wizard of a CD image folder against the modem simulator.
# Usage: start-wizard.sh CD_DIR [MODEMSIM]
#
# With a display the wizard runs in the foreground with modemsim behind it on a network of its
# own (scripts/modem-demo.sh): it is always the simulator, never a modem on the machine's real
# network, so the demo can neither find nor change a real router and sends nothing outside the
# namespaces it makes. Without a display it runs under a private Xvfb long enough to take a
# screenshot of its first screen, the main menu, and says where the picture is.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
cd_dir=$(cd "$1" && pwd)
modemsim=${2:-$(dirname "$cd_dir")/tools/modemsim/modemsim}
shot=${QUILLON_SCREENSHOT:-$(pwd)/build/run-screenshot.png}

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  if [ ! -x "$modemsim" ]; then
    echo "The modem simulator is missing ($modemsim); build it first (cmake --build --preset dev)." >&2
    exit 1
  fi
  echo "Starting the wizard against the modem simulator (modemsim); close the wizard to end."
  exec bash "$here/modem-demo.sh" --cd "$cd_dir" --modemsim "$modemsim"
fi

echo "No display: starting the wizard under a private Xvfb to take a screenshot."
mkdir -p "$(dirname "$shot")"
runtime=$(mktemp -d)
trap 'rm -rf "$runtime"' EXIT
export SHOT="$shot" CD_DIR="$cd_dir" XDG_RUNTIME_DIR="$runtime"
bash "$here/../tests/gui/with_xvfb.sh" bash -c '
  cd "$CD_DIR"
  ./quillon & pid=$!
  win=$(timeout 20 xdotool search --sync --onlyvisible --name "Norvane Quillon" | head -n 1 || true)
  sleep 0.5
  if [ -z "$win" ]; then echo "the wizard did not open its window" >&2; kill $pid 2>/dev/null; exit 1; fi
  /usr/bin/import -display "$DISPLAY" -window root "$SHOT"
  kill $pid 2>/dev/null; wait $pid 2>/dev/null || true
'
echo "Screenshot of the wizard's main menu: $shot"
echo "With a display (DISPLAY set), ./run starts the wizard against the modem simulator instead."
