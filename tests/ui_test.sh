#!/usr/bin/env bash
# UI tests: runs the real lumora.exe under Wine and drives its windows with
# lumora-ui-driver.exe, once with the Chinese ANSI code page (936) and once
# with the Western one (1252).
#
# usage: ui_test.sh LUMORA_EXE DRIVER_EXE [SCENARIO...]
#
# Starts its own Xvfb when DISPLAY is unset and uses a throwaway Wine prefix,
# so it neither needs nor touches a desktop or a prefix of the user's. Prints
# the driver's lines and ends with "N passed, M failed" summed over both runs;
# exit status 0 only when both runs passed.
set -uo pipefail

if [ $# -lt 2 ]; then
  echo "usage: $0 LUMORA_EXE DRIVER_EXE [SCENARIO...]" >&2
  exit 2
fi
lumora=$(realpath "$1")
driver=$(realpath "$2")
shift 2
for f in "$lumora" "$driver"; do
  [ -f "$f" ] || { echo "$f: no such file" >&2; exit 2; }
done

work=$(mktemp -d "${TMPDIR:-/tmp}/lumora-ui.XXXXXX")
xvfb_pid=
cleanup() {
  if [ -d "$work/prefix" ]; then
    WINEPREFIX="$work/prefix" wineserver -k >/dev/null 2>&1 || true
    WINEPREFIX="$work/prefix" wineserver -w >/dev/null 2>&1 || true
  fi
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# A display of our own: Xvfb picks a free display number and writes it to fd 3.
if [ -z "${DISPLAY:-}" ]; then
  Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 100); do
    [ -s "$work/display" ] && break
    kill -0 "$xvfb_pid" 2>/dev/null || break
    sleep 0.1
  done
  if [ ! -s "$work/display" ]; then
    echo "Xvfb did not start:" >&2
    cat "$work/xvfb.log" >&2
    echo "0 passed, 1 failed"
    exit 1
  fi
  export DISPLAY=":$(head -n 1 "$work/display")"
fi

export WINEPREFIX="$work/prefix"
export WINEDEBUG=-all
# No Mono or Gecko installers: nothing here needs them.
export WINEDLLOVERRIDES="mscoree,mshtml="
LC_ALL=zh_CN.UTF-8 wineboot --init >/dev/null 2>&1
# No window manager runs on this display: Wine's windows stay unmanaged, or
# every show, hide, re-parent and close waits for a manager that never answers.
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
wineserver -w
lumora_win=$(winepath -w "$lumora" 2>/dev/null)

total_passed=0
total_failed=0
status=0
for locale in zh_CN.UTF-8 en_US.UTF-8; do
  echo "==> UI checks with LC_ALL=$locale"
  log="$work/driver-$locale.log"
  t0=$SECONDS
  # A fresh wineserver per run, so that nothing of the other locale lingers.
  wineserver -k >/dev/null 2>&1 || true
  wineserver -w >/dev/null 2>&1 || true
  LC_ALL=$locale timeout 1000 wine "$driver" "$lumora_win" "$@" \
    2>"$work/driver-$locale.err" | tee "$log"
  rc=${PIPESTATUS[0]}
  # Whatever the driver left behind goes with the wineserver.
  wineserver -k >/dev/null 2>&1 || true
  wineserver -w >/dev/null 2>&1 || true
  summary=$(grep -E '^[0-9]+ passed, [0-9]+ failed' "$log" | tail -n 1)
  if [ -n "$summary" ]; then
    total_passed=$((total_passed + ${summary%% passed*}))
    failed=${summary#*, }
    total_failed=$((total_failed + ${failed%% failed*}))
  else
    total_failed=$((total_failed + 1))
    echo "FAIL the driver ended without a summary (exit status $rc)"
    grep -v '^fixme:' "$work/driver-$locale.err" | tail -n 20 >&2
  fi
  [ "$rc" -eq 0 ] || status=1
  echo "==> LC_ALL=$locale: exit status $rc in $((SECONDS - t0)) s"
done

echo "$total_passed passed, $total_failed failed"
exit "$status"
