#!/usr/bin/env bash
# Makes (once) and warms the Wine prefix the Windows build's tests run in, so that ctest does
# not pay for starting a wineserver on every test. Usage: wine-prefix.sh PREFIX [stop]
set -euo pipefail
export WINEPREFIX=$1 WINEDEBUG=-all
if [ "${2:-}" = stop ]; then
  wineserver -k 2>/dev/null || true
  exit 0
fi
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$WINEPREFIX"
  wineboot -i </dev/null >/dev/null 2>&1
  wineserver -w
fi
# A persistent server with its standard streams detached: ctest would otherwise wait on them.
# It refuses to start a second time (exit 2) when one is already up, which is as good.
wineserver -p </dev/null >/dev/null 2>&1 || true
wine cmd /c exit </dev/null >/dev/null 2>&1
