#!/usr/bin/env bash
# Runs the fuzz targets of a build directory, one after the other:
#   bash tests/fuzz/run_fuzz.sh BUILD_DIR SECONDS [TARGET...]
# (all targets when none is named). Each starts from its committed seeds in
# tests/fuzz/corpus/<target>/ (the regression inputs of past findings among
# them) and what earlier runs found in BUILD_DIR/fuzz-corpus/<target>/.
# A crash, leak, sanitizer report or timeout leaves its input in
# BUILD_DIR/fuzz-findings/ and fails the run. Prints one line per target:
# executions, coverage, corpus size. Exit status 0 when no target failed.
set -uo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
build=${1:?usage: run_fuzz.sh BUILD_DIR SECONDS [TARGET...]}
seconds=${2:?usage: run_fuzz.sh BUILD_DIR SECONDS [TARGET...]}
shift 2
targets=("$@")
if [ "${#targets[@]}" -eq 0 ]; then
  for seeds in "$here"/corpus/*/; do targets+=("$(basename "$seeds")"); done
fi

failed=0
mkdir -p "$build/fuzz-findings"
for target in "${targets[@]}"; do
  program="$build/tests/fuzz/${target}_fuzz"
  corpus="$build/fuzz-corpus/$target"
  log="$build/fuzz-findings/$target.log"
  mkdir -p "$corpus"
  # -close_fd_mask=3: the program's own output is dropped; libFuzzer and the
  # sanitizers still report on standard error.
  "$program" -max_total_time="$seconds" -timeout=30 -rss_limit_mb=2048 -close_fd_mask=3 \
    -print_final_stats=1 -artifact_prefix="$build/fuzz-findings/$target-" \
    "$corpus" "$here/corpus/$target" >"$log" 2>&1
  status=$?
  runs=$(grep -o 'stat::number_of_executed_units: [0-9]*' "$log" | tail -n 1 | grep -o '[0-9]*$')
  cov=$(grep -o 'cov: [0-9]*' "$log" | tail -n 1 | grep -o '[0-9]*$')
  units=$(find "$corpus" -type f | wc -l)
  if [ "$status" -eq 0 ]; then
    echo "fuzz $target: ${runs:-0} runs, coverage ${cov:-0}, corpus $units"
  else
    echo "fuzz $target: FAILED (status $status), see $log" >&2
    grep -E '^==[0-9]+==ERROR|^SUMMARY|runtime error' "$log" | head -n 5 >&2
    failed=$((failed + 1))
  fi
done
[ "$failed" -eq 0 ]
