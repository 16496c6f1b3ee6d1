#!/usr/bin/env bash
# Runs the archive stress test (several desks writing one archive at once, and
# a desk killed part-way through its write) N times in a row and counts the
# failures, optionally while a busy loop keeps the other cores loaded.
#   bash scripts/stress.sh [RUNS] [--busy]
# STRESS_TEST names another test of processes to run so, e.g. the two desks
# checking people in at the door: build/tests/eventday/tst_checkinstress.
# Needs a build (scripts/build.sh). Exit status 1 when any run failed.
set -uo pipefail
cd "$(dirname "$0")/.."
runs=${1:-100}
busy=${2:-}
test=${STRESS_TEST:-build/tests/archive/tst_archivestress}
[ -x "$test" ] || { echo "build first: bash scripts/build.sh" >&2; exit 2; }
pids=()
if [ "$busy" = "--busy" ]; then
  for ((c = 1; c < $(nproc); c++)); do
    (while :; do :; done) &
    pids+=($!)
  done
fi
trap '[ ${#pids[@]} -eq 0 ] || kill "${pids[@]}" 2>/dev/null' EXIT
failed=0
log=$(mktemp)
for ((i = 1; i <= runs; i++)); do
  if ! QT_QPA_PLATFORM=offscreen "$test" >"$log" 2>&1; then
    failed=$((failed + 1))
    echo "run $i failed:"
    grep -E "FAIL|Loc:|^process" "$log" | head -6
  fi
done
rm -f "$log"
echo "$runs runs, $failed failed"
[ "$failed" -eq 0 ]
