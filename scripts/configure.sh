#!/usr/bin/env bash
# Configures a CMake preset: configure.sh PRESET. A configure that failed leaves its NOTFOUND
# values in the cache, and the next configure would fail the same way even after the missing
# package was installed, so a failure is retried once from scratch.
set -euo pipefail
preset=${1:?preset}
log=$(mktemp)
trap 'rm -f "$log"' EXIT
if ! cmake --preset "$preset" >"$log" 2>&1; then
  echo "configuring $preset again from scratch" >&2
  cmake --preset "$preset" --fresh >/dev/null
fi
