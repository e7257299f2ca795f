#!/usr/bin/env bash
# The run command.
#   scripts/run.sh [--xvfb]          the windowed program under Wine when it is
#                                    built and a display is available (--xvfb
#                                    starts a virtual one on :99); otherwise
#                                    today's card from lumora-cli
#   scripts/run.sh [--xvfb] ARGS...  lumora-cli ARGS... (e.g. call DeltaT 2000)
# Builds build/ (native) and build-win/ (Windows) first, as far as needed.
# A build directory configured for the first time gets no tests and no
# benchmarks; one that is already configured keeps its own options.
set -euo pipefail

cd "$(dirname "${BASH_SOURCE[0]}")/.."
root=$PWD
jobs=2

use_xvfb=0
if [ "${1:-}" = "--xvfb" ]; then
  use_xvfb=1
  shift
fi

bash scripts/install-deps.sh

# Build output goes to a log so that only the program's own output reaches
# the terminal; the log is shown when the build fails.
build_flavour() {  # build_dir label [configure options...]
  local dir=$1 label=$2
  shift 2
  mkdir -p "$dir"
  local log=$dir/run-build.log
  if { [ -f "$dir/CMakeCache.txt" ] ||
       cmake -S . -B "$dir" -DLUMORA_TESTS=OFF -DLUMORA_BENCHMARKS=OFF "$@"; } >"$log" 2>&1 &&
     cmake --build "$dir" -j"$jobs" >>"$log" 2>&1; then
    return 0
  fi
  cat "$log" >&2
  echo "run: the $label build failed (log: $log)" >&2
  exit 1
}

build_flavour build native
build_flavour build-win Windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake

if [ "$#" -gt 0 ]; then
  exec build/lumora-cli "$@"
fi

if [ -f build-win/lumora.exe ]; then
  xvfb_pid=
  if [ "$use_xvfb" -eq 1 ]; then
    Xvfb :99 -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    trap 'kill "$xvfb_pid" 2>/dev/null || true' EXIT
    export DISPLAY=:99
    for _ in $(seq 50); do
      xdpyinfo >/dev/null 2>&1 && break
      sleep 0.1
    done
  fi
  if [ -n "${DISPLAY:-}" ]; then
    # Settings live in the Wine registry, so the prefix is kept under $HOME
    # rather than in the build tree, where a clean rebuild would lose them.
    export WINEPREFIX="${WINEPREFIX:-$HOME/.local/share/lumora/wineprefix}"
    export WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml="
    export LC_ALL=zh_CN.UTF-8
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
      # First start creates the prefix; its chatter is of no use here.
      mkdir -p "$WINEPREFIX"
      wineboot --init >/dev/null 2>&1 || true
    fi
    status=0
    wine "$root/build-win/lumora.exe" || status=$?
    # Let Wine's helper processes finish before a virtual display goes away.
    [ -z "$xvfb_pid" ] || wineserver -w || true
    exit "$status"
  fi
  echo "run: no display (set DISPLAY or pass --xvfb); showing today's card instead" >&2
fi

exec build/lumora-cli
