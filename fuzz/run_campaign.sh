#!/usr/bin/env bash
# Runs fuzz targets one after another for a fixed number of executions each and prints one
# Markdown table row per target (executions, seconds, exec/s, corpus, coverage, features).
#   fuzz/run_campaign.sh BUILD_DIR WORK_DIR [RUNS] [TARGET...]
# BUILD_DIR is a clang build configured with -DQUILLON_FUZZ=ON and the sanitizers; WORK_DIR
# receives a copy of each seed corpus (the committed seeds are never written) and the logs.
# Without TARGET names every fuzz target of BUILD_DIR is run.
set -euo pipefail
build=${1:?build dir}
work=${2:?work dir}
runs=${3:-1000000}
shift $(($# < 3 ? $# : 3))
src=$(cd "$(dirname "$0")" && pwd)

# The seed folder of a target, as its ctest entry names it.
seeds_of() {
  ctest --test-dir "$build" -N -V -R "^fuzz\.$1\$" 2>/dev/null |
    sed -n 's/.*Test command: .*"\([^"]*\)"$/\1/p' | head -n1
}

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  mapfile -t targets < <(ctest --test-dir "$build" -N 2>/dev/null | sed -n 's/.*Test *#[0-9]*: fuzz\.//p')
fi

mkdir -p "$work"
echo "| target | executions | seconds | exec/s (wall) | seeds | corpus after | cov | ft | peak RSS MB |"
echo "| --- | --- | --- | --- | --- | --- | --- | --- | --- |"
for t in "${targets[@]}"; do
  exe=$(find "$build/fuzz" -type f -perm -u+x -name "$t" | head -n1)
  seeds=$(seeds_of "$t")
  [ -n "$exe" ] && [ -d "$seeds" ] || { echo "| $t | not built or no seeds | | | | | | | |"; continue; }
  corpus="$work/$t.corpus"
  rm -rf "$corpus" && mkdir -p "$corpus" && cp "$seeds"/* "$corpus"/
  start=$(date +%s.%N)
  set +e
  "$exe" -runs="$runs" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$work/$t." "$corpus" >"$work/$t.log" 2>&1
  rc=$?
  set -e
  end=$(date +%s.%N)
  secs=$(echo "$end - $start" | bc)
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$work/$t.log")
  rate=$(echo "${execs:-0} / $secs" | bc)
  rss=$(sed -n 's/^stat::peak_rss_mb: *//p' "$work/$t.log")
  done_line=$(grep -E '^#[0-9]+[[:space:]]+DONE' "$work/$t.log" | tail -n1 || true)
  cov=$(echo "$done_line" | sed -n 's/.* cov: \([0-9]*\).*/\1/p')
  ft=$(echo "$done_line" | sed -n 's/.* ft: \([0-9]*\).*/\1/p')
  status=""
  [ "$rc" -eq 0 ] || status=" (exit $rc, see $work/$t.log)"
  printf '| %s%s | %s | %.1f | %s | %s | %s | %s | %s | %s |\n' "$t" "$status" "${execs:-?}" \
    "$secs" "${rate:-?}" "$(ls "$seeds" | wc -l)" "$(ls "$corpus" | wc -l)" "${cov:-?}" \
    "${ft:-?}" "${rss:-?}"
done
