#!/usr/bin/env bash
# Times the condition query window's search over 104 BC..5000 against
# `lumora-cli query days` with the same criteria, both under Wine on a
# virtual display, and prints the medians.
#   bash tools/time_query_window.sh [BUILD_DIR] [RUNS]   (default build-win, 3)
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$(realpath "${1:-$root/build-win}")
runs=${2:-3}
for f in lumora.exe lumora-cli.exe lumora-query-time.exe; do
  [ -f "$build/$f" ] || { echo "$build/$f: build it first" >&2; exit 2; }
done

work=$(mktemp -d "${TMPDIR:-/tmp}/lumora-time.XXXXXX")
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
xvfb=$!
trap 'WINEPREFIX=$work/prefix wineserver -k 2>/dev/null || true; kill $xvfb 2>/dev/null || true; rm -rf "$work"' EXIT
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(head -n 1 "$work/display")" WINEPREFIX="$work/prefix" WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=" LC_ALL=zh_CN.UTF-8
wineboot --init >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
wine reg add 'HKCU\Software\Lumora' /v Version /d 4.0 /f >/dev/null 2>&1
wineserver -w
wine "$build/lumora-query-time.exe" "$(winepath -w "$build/lumora.exe")" "$(winepath -w "$build/lumora-cli.exe")" "$runs"
