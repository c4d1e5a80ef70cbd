#!/usr/bin/env bash
# Runs a Windows test program under Wine with its output on ours: `run_under_wine.sh EXE ARGS...`;
# with QUILLON_WINE_VERSION win2k or winxp, through the old-Windows launcher (wine_env.sh).
# The Wine server is started first with its output detached, so that it never holds our pipes
# open after the program ended.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
# A server of our own: its desktop must live on this test's display.
WINE_ENV_PRIVATE=1
# shellcheck source=wine_env.sh
. "$here/wine_env.sh"
trap wine_env_cleanup EXIT
wineserver -p 5 </dev/null >/dev/null 2>&1 || true
"$wine_loader" "${wine_launcher[@]}" "$@" </dev/null
