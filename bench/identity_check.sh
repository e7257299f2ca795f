#!/usr/bin/env bash
# Writes what lumora-cli prints for a fixed set of long runs into a folder, so
# that two builds can be compared byte for byte (run by hand, not in CI):
#
#   bash bench/identity_check.sh build/lumora-cli /tmp/before
#   ... change and rebuild ...
#   bash bench/identity_check.sh build/lumora-cli /tmp/after
#   diff -r /tmp/before /tmp/after && echo identical
#
# The runs: the day export of the whole range under every setting, the lunar
# year records in both settings, every yearly table of 200 sampled years
# (lunar months, solar terms, moons, sun and twilight times at a few cities)
# in both settings, month sheets and day cards of the sampled years, and
# condition queries over the whole range. Several runs go in parallel (JOBS,
# default 2); a fresh, empty settings file keeps the stored settings out.
set -euo pipefail

if [ $# -ne 2 ]; then
    echo "usage: bash bench/identity_check.sh LUMORA-CLI OUTPUT-FOLDER" >&2
    exit 2
fi
cli=$(realpath "$1")
out=$2
jobs=${JOBS:-2}
mkdir -p "$out"
out=$(realpath "$out")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export LUMORA_REGISTRY=$work/registry
: >"$LUMORA_REGISTRY"
export TZ=UTC

# 200 years spread over -103..5000, with the years most asked about.
years() {
    local y
    for ((y = -103; y <= 5000; y += 37)); do echo "$y"; done   # 138 years
    for ((y = 1890; y <= 2110; y += 4)); do echo "$y"; done    # 56 years
    printf '%s\n' -104 0 1 1582 1912 1949
}

list=$work/commands
{
    for flags in "" "--modern" "--chunjie" "--modern --chunjie"; do
        echo "export${flags// /}|$flags export -0103-01-01 5000-12-31"
    done
    echo "export-tsv|export 1900-01-01 2100-12-31 --tsv"
    for flags in "" "--modern"; do
        echo "records$flags|$flags records -103 5000"
    done
    # One process per sampled year and setting: every table of the year.
    for flags in "" "--modern"; do
        for y in $(years); do
            echo "year$flags/$y|TABLES $flags|$y"
        done
    done
    for q in "months --leap" "months --leap 4" "months --long3" "months --short3" "months --long4"; do
        echo "query-${q// /}|query $q --from -103 --years 5104"
    done
    for q in "--term 立春 --lmonth 1 --lday 1" "--festival 复活节 --gmonth 4 --gday 1" \
             "--term 冬至 --weekday 7" "--festival 春节 --term 立春" "--lmonth L4 --lday 30" \
             "--gz-year 甲子 --gz-month 甲子 --gz-day 甲子" "--hmonth 9 --hday 1 --weekday 5" \
             "--festival 清明" "--term 24" "--weekday 7" "--lday 1"; do
        for flags in "" "--modern"; do
            echo "query-days$flags-${q// /}|$flags query days $q --from -103 --years 5104"
        done
    done
} >"$list"

run_one() {
    local line=$1 name rest flags y iso
    name=${line%%|*}
    rest=${line#*|}
    mkdir -p "$(dirname "$out/$name")"
    if [[ $rest == TABLES* ]]; then
        flags=${rest#TABLES}
        flags=${flags%%|*}
        y=${rest##*|}
        if ((y < 0)); then iso=$(printf -- '-%04d' $((-y))); else iso=$(printf '%04d' "$y"); fi
        {
            # shellcheck disable=SC2086
            for table in lunar-months terms moons; do "$cli" $flags "$table" "$y"; echo "status $?"; done
            for city in 1 7 23 43; do
                "$cli" $flags sun "$y" --city "$city"; echo "status $?"
                "$cli" $flags sun "$y" --city "$city" --twilight; echo "status $?"
            done
            for m in 1 2 6 9 12; do "$cli" $flags month "$y" "$m"; echo "status $?"; done
            for d in 01-01 02-10 04-05 06-21 09-15 12-31; do "$cli" $flags day "$iso-$d" 2>&1; echo "status $?"; done
        } >"$out/$name" 2>&1 || true
    else
        # shellcheck disable=SC2086
        { "$cli" $rest; echo "status $?"; } >"$out/$name" 2>&1 || true
    fi
}
export -f run_one
export cli out
tr '\n' '\0' <"$list" | xargs -0 -P "$jobs" -I{} bash -c 'run_one "$1"' _ {}
(cd "$out" && find . -type f | sort | xargs sha256sum) >"$work/sums"
mv "$work/sums" "$out/SHA256SUMS"
echo "$(grep -c . "$list") runs written to $out"
