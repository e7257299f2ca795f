#!/usr/bin/env bash
# The test command. Builds and tests both flavours:
#   1. native, with AddressSanitizer and UBSan, in build-test/;
#   2. the fuzz targets, with clang and libFuzzer, in build-fuzz-test/, each run
#      for a short while (when clang is there; install-deps.sh installs it);
#   3. Windows (MinGW-w64 cross build), its tests run under Wine, in build-win-test/,
#      and the registry and settings tests once more under code page 1252.
# Every stage runs even when an earlier one fails. The last line of output is
# always "N passed, N failed", summed over both test runs; a build that fails
# counts as one failed test. Exit status 0 only when everything passed.
set -euo pipefail

cd "$(dirname "${BASH_SOURCE[0]}")/.."
root=$PWD
jobs=2
test_timeout=900

total_passed=0
total_failed=0
summary_printed=0
timings=()
script_t0=$SECONDS

print_summary() {
  local status=$?
  [ "$summary_printed" -eq 1 ] && return
  summary_printed=1
  # Something outside the guarded stages stopped the run: never report it as a pass.
  if [ "$status" -ne 0 ] && [ "$total_failed" -eq 0 ]; then
    total_failed=1
  fi
  echo
  echo "Timings:"
  local line
  for line in "${timings[@]}"; do echo "  $line"; done
  echo "  total: $((SECONDS - script_t0)) s"
  echo
  echo "$total_passed passed, $total_failed failed"
}
trap print_summary EXIT

note_time() {  # label start_seconds
  timings+=("$1: $((SECONDS - $2)) s")
}

# Runs ctest in a build directory and adds its counts to the totals.
# Returns non-zero when any test failed or ctest itself failed.
run_ctest() {  # build_dir label
  local dir=$1 label=$2 log=$1/ctest.log rc=0 line
  ctest --test-dir "$dir" --output-on-failure -j"$jobs" --timeout "$test_timeout" 2>&1 |
    tee "$log" || rc=$?
  line=$(grep -E '^[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n 1 || true)
  if [ -n "$line" ]; then
    local failed total
    failed=$(sed -E 's/^[0-9]+% tests passed, ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<<"$line")
    total=$(sed -E 's/^[0-9]+% tests passed, ([0-9]+) tests? failed out of ([0-9]+).*/\2/' <<<"$line")
    total_passed=$((total_passed + total - failed))
    total_failed=$((total_failed + failed))
    if [ "$rc" -ne 0 ] && [ "$failed" -eq 0 ]; then
      echo "$label: ctest exited with status $rc" >&2
      total_failed=$((total_failed + 1))
    fi
  elif [ "$rc" -ne 0 ]; then
    echo "$label: ctest exited with status $rc and no summary" >&2
    total_failed=$((total_failed + 1))
  else
    echo "$label: no tests were run" >&2
  fi
  [ "$rc" -eq 0 ]
}

overall=0

t0=$SECONDS
echo "==> Installing missing dependencies"
bash scripts/install-deps.sh
note_time "dependencies" "$t0"

# --- Native flavour, sanitised -------------------------------------------
t0=$SECONDS
echo "==> Native build (ASan+UBSan, RelWithDebInfo) in build-test/"
native_built=0
if cmake -S . -B build-test -DLUMORA_SANITIZE=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo \
     -DLUMORA_TESTS=ON &&
   cmake --build build-test -j"$jobs"; then
  native_built=1
else
  echo "native build failed" >&2
  total_failed=$((total_failed + 1))
  overall=1
fi
note_time "native build" "$t0"

if [ "$native_built" -eq 1 ]; then
  t0=$SECONDS
  echo "==> Native tests"
  run_ctest build-test "native tests" || overall=1
  note_time "native tests" "$t0"
fi

# --- Fuzz targets ---------------------------------------------------------
# Each target runs for fuzz_seconds from its seeds and counts as one test; a
# crash, leak, sanitizer report or timeout fails it.
fuzz_seconds=20
if command -v clang++ >/dev/null 2>&1; then
  t0=$SECONDS
  echo "==> Fuzz targets (clang, libFuzzer) in build-fuzz-test/"
  if cmake -S . -B build-fuzz-test -DLUMORA_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++ \
       -DCMAKE_BUILD_TYPE=RelWithDebInfo &&
     cmake --build build-fuzz-test -j"$jobs"; then
    note_time "fuzz build" "$t0"
    t0=$SECONDS
    for seeds in tests/fuzz/corpus/*/; do
      if bash tests/fuzz/run_fuzz.sh build-fuzz-test "$fuzz_seconds" "$(basename "$seeds")"; then
        total_passed=$((total_passed + 1))
      else
        total_failed=$((total_failed + 1))
        overall=1
      fi
    done
    note_time "fuzz runs" "$t0"
  else
    echo "fuzz build failed" >&2
    total_failed=$((total_failed + 1))
    overall=1
    note_time "fuzz build" "$t0"
  fi
else
  echo "==> No clang++: the fuzz targets are skipped" >&2
fi

# --- Windows flavour under Wine ------------------------------------------
t0=$SECONDS
echo "==> Windows build (MinGW-w64) in build-win-test/"
win_built=0
if cmake -S . -B build-win-test -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
     -DLUMORA_TESTS=ON &&
   cmake --build build-win-test -j"$jobs"; then
  win_built=1
else
  echo "Windows build failed" >&2
  total_failed=$((total_failed + 1))
  overall=1
fi
note_time "Windows build" "$t0"

if [ "$win_built" -eq 1 ]; then
  # A private Wine prefix per build tree; LC_ALL gives the ANSI code page 936.
  # The Mono and Gecko installers are switched off: no test needs them.
  export WINEPREFIX="$root/build-win-test/wineprefix"
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml="
  export LC_ALL=zh_CN.UTF-8

  t0=$SECONDS
  echo "==> Preparing the Wine prefix"
  # First start creates the prefix; doing it here keeps it out of the test timings.
  wineboot --init >/dev/null 2>&1 || true
  wineserver -w || true
  note_time "Wine prefix" "$t0"

  t0=$SECONDS
  echo "==> Windows tests under Wine"
  run_ctest build-win-test "Windows tests" || overall=1
  wineserver -w || true
  note_time "Windows tests" "$t0"

  # The registry speaks code page 936 whatever the system's ANSI code page:
  # its tests run again where that is 1252. One more test in the totals.
  t0=$SECONDS
  echo "==> Windows registry and settings tests under Wine, code page 1252"
  if LC_ALL=en_US.UTF-8 timeout "$test_timeout" wine build-win-test/tests/lumora-tests.exe \
       --gtest_filter='Registry*:Settings*'; then
    total_passed=$((total_passed + 1))
  else
    echo "Windows registry and settings tests failed under code page 1252" >&2
    total_failed=$((total_failed + 1))
    overall=1
  fi
  wineserver -w || true
  note_time "Windows registry tests, code page 1252" "$t0"
fi

print_summary
exit "$overall"
