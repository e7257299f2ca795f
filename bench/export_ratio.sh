#!/usr/bin/env bash
# Whole-process speed of the day export against lunar-javascript, a general
# Chinese calendar library, turning the same 73,049 days (1901-01-01 ..
# 2100-12-31) into lunar dates and stem-branch texts. Installs the library
# from the npm registry into a temporary folder, runs each side three times,
# prints every run's wall and CPU (user + sys) seconds, the medians and
# their ratio. Run by hand on a quiet machine:
#
#   bash bench/export_ratio.sh build/lumora-cli [lunar-javascript version]
set -euo pipefail

if [ $# -lt 1 ]; then
    echo "usage: bash bench/export_ratio.sh LUMORA-CLI [LUNAR-JAVASCRIPT-VERSION]" >&2
    exit 2
fi
cli=$(realpath "$1")
version=${2:-1.7.7}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export LUMORA_REGISTRY=$work/registry
: >"$LUMORA_REGISTRY"

(cd "$work" && npm install --silent --no-audit --no-fund "lunar-javascript@$version" >/dev/null)
cat >"$work/days.js" <<'JS'
const { Solar } = require('lunar-javascript');
const out = [];
const day = new Date(Date.UTC(1901, 0, 1));
const end = Date.UTC(2100, 11, 31);
for (; day.getTime() <= end; day.setUTCDate(day.getUTCDate() + 1)) {
    const lunar = Solar.fromYmd(day.getUTCFullYear(), day.getUTCMonth() + 1, day.getUTCDate()).getLunar();
    out.push(lunar.toString() + ' ' + lunar.getYearInGanZhi() + '年' + lunar.getMonthInGanZhi() + '月' +
             lunar.getDayInGanZhi() + '日');
    if (out.length === 4096) { process.stdout.write(out.join('\n') + '\n'); out.length = 0; }
}
process.stdout.write(out.join('\n') + '\n');
JS

# One run: "wall cpu" in seconds, to the millisecond (time(1) counts only
# hundredths, a tenth of lumora-cli's whole run).
measure() {
    python3 - "$work/lines" "$@" <<'PY'
import os, subprocess, sys, time
with open(sys.argv[1], "wb") as lines:
    start = time.perf_counter()
    child = subprocess.Popen(sys.argv[2:], stdout=lines)
    _, status, usage = os.wait4(child.pid, 0)
    wall = time.perf_counter() - start
if status != 0:
    sys.exit(f"{sys.argv[2]} exited with status {status}")
print(f"{wall:.3f} {usage.ru_utime + usage.ru_stime:.3f}")
PY
    [ "$(wc -l <"$work/lines")" -eq 73049 ] || { echo "expected 73049 lines from: $*" >&2; exit 1; }
}

median() { sort -n | sed -n 2p; }

declare -A wall cpu
for side in lumora peer; do
    : >"$work/$side.wall"
    : >"$work/$side.cpu"
done
for run in 1 2 3; do
    for side in lumora peer; do
        if [ $side = lumora ]; then
            read -r w c < <(measure "$cli" export 1901-01-01 2100-12-31)
        else
            read -r w c < <(measure node "$work/days.js")
        fi
        echo "run $run $side: wall $w s, cpu $c s"
        echo "$w" >>"$work/$side.wall"
        echo "$c" >>"$work/$side.cpu"
    done
done
for side in lumora peer; do
    wall[$side]=$(median <"$work/$side.wall")
    cpu[$side]=$(median <"$work/$side.cpu")
done
echo "median lumora-cli export: wall ${wall[lumora]} s, cpu ${cpu[lumora]} s"
echo "median lunar-javascript $version: wall ${wall[peer]} s, cpu ${cpu[peer]} s"
awk -v lw="${wall[lumora]}" -v pw="${wall[peer]}" -v lc="${cpu[lumora]}" -v pc="${cpu[peer]}" \
    'BEGIN { printf "ratio (lunar-javascript / lumora-cli): wall %.1fx, cpu %.1fx\n", pw / lw, pc / lc }'
