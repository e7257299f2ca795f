#!/usr/bin/env bash
# lumora-cli as a user calls it: exact output of known calls, and clear
# failures (message on standard error, exit status 2) for bad calls.
# Usage: cli_test.sh LUMORA_CLI [EMULATOR...]   (e.g. wine for the .exe)
set -u
cli=("${@:2}" "$1")
passed=0
failed=0
# The checks start from an empty registry of their own, whatever the machine
# holds (the Windows build under Wine uses the test prefix's registry).
export LUMORA_REGISTRY; LUMORA_REGISTRY=$(mktemp -d)/registry
registry_dir=$(dirname "$LUMORA_REGISTRY")
trap 'rm -rf "$registry_dir"' EXIT

expect() {  # expect "EXPECTED OUTPUT" ARGS...
    local want=$1
    shift
    local got status
    got=$("${cli[@]}" call "$@" 2>/dev/null | tr -d '\r')
    status=${PIPESTATUS[0]}
    if [[ $status -eq 0 && "$got" == "$want" ]]; then
        passed=$((passed + 1))
    else
        failed=$((failed + 1))
        echo "FAIL: call $* -> '$got' (status $status), want '$want'"
    fi
}

refuse() {  # refuse ARGS...: must fail with status 2 and say why
    local err status
    err=$("${cli[@]}" call "$@" 2>&1 >/dev/null)
    status=$?
    if [[ $status -eq 2 && -n "$err" ]]; then
        passed=$((passed + 1))
    else
        failed=$((failed + 1))
        echo "FAIL: call $* -> status $status, message '$err'; want status 2 and a message"
    fi
}

# Calendar arithmetic and texts.
expect 2451545 DateToDayNumber 2000 1 1
expect -100000000 DateToDayNumber 1582 10 10
expect 1 IsLeapYear -4
expect 355 DaysInYear 1582
expect 0 IsValidDate 1900 2 29
expect 278 DayOfYear 1582 10 15
expect AD10-15-1582 DayOfYearToText 1582 278
expect BC01-01-9999 DayNumberToText -1930711
expect "" DayNumberToText -1930712
expect "AD01-01-2000 23:59:59" MomentToText 2451545.999999
expect 01-02-0003 NormaliseTypedDate 1-2-3
expect "" NormaliseTypedDate 2000-12-29
expect 1 ConsistsOnlyOf 12-29-2000 1234567890-
expect 6 WeekdayOfDayNumber 2451545
# Time scales, Sun and Moon.
expect 328.4797325200 DeltaT 2149.9999
expect 317.5900000000 DeltaT 2150
expect 345.0000000000 NormalizeAngle -15 180 180
expect -0.3333333333 LocalTimeToDayFraction 0 0 0
expect 280.3681580284 SunApparentLongitude 2451545
expect 223.3143753812 MoonApparentLongitude 2451545
expect 14.0005566083 GeneralPrecession 2816795
# Solar terms and moon phases.
expect "AD12-21-2024 17:20:28 2460666.722548" NextSolarTermMoment 2460666 0 0
expect 24 NextSolarTermIndex 2460666 0
expect "AD01-05-2025 10:32:40 2460681.439360" NextSolarTermMoment 2460667 0 0
expect "AD01-20-2025 04:00:01 2460696.166687" NextSolarTermMoment 2460667 1 0
expect "AD02-04-2024 16:27:02 2460345.685444" AstroTermOnOrAfter 2460000 3 0
expect "AD01-11-2024 19:57:19 2460321.831480" NextNewOrFullMoon 2460321 0
expect "AD01-26-2024 01:53:55 2460336.079112" NextNewOrFullMoon 2460330 1
expect "AD01-12-2024 00:00:00 2460322.000000" NewMoonWithAdvance 2460321 0.75
expect "BC12-25-0105 00:00:00 1683431.000000" ApplyTermDayCorrection 1683429.5
expect "AD12-29-0620 23:59:59 1947876.999988" ApplyNewMoonDayCorrection 1947877.5
# Sun times and places.
expect 04:46:10 SunEventTime 2460483 -116.3833 39.9 8 1
expect 20:19:11 SunEventTime 2460483 -116.3833 39.9 8 6
expect 24:00:00 SunEventTime 2460483 -20 70 8 3
expect "" SunEventTime 2460483 -116.3833 90.5 8 1
expect 23:59:59 TimeOfDayText 0.99999999
expect 东经116.3833度 CoordinateText -116.3833 lon
expect 北纬39.9000度 CoordinateText 39.9 lat

# Bad calls: unknown operation, wrong counts, malformed numbers.
refuse
refuse NoSuchOperation 1
refuse DateToDayNumber 2000 1
refuse DateToDayNumber 2000 1 1 1
refuse DateToDayNumber 2000 x 1
refuse DateToDayNumber "" 1 1
refuse DateToDayNumber 99999999999999999999 1 1
refuse DateToDayNumber 2147483648 1 1
refuse DeltaT 1e999
refuse DeltaT nan
refuse DeltaT inf
refuse DeltaT 12abc
refuse SunEventTime 2460483 -116.3833 39.9 8 1.5
refuse CoordinateText 1 north
# Huge but well-formed arguments give a result, not a crash.
for args in "NextSolarTermMoment 2147483647 0 0" "NextNewOrFullMoon -2147483648 1" \
            "NewMoonWithAdvance 2147483647 0.5" "ToDynamicalTime 1e300" "MomentToText -1e300" \
            "SunEventTime -2147483648 0 0 0 1" "TimeOfDayText 1e300" "NormalizeAngle 1 0 0" \
            "NormaliseTypedDate 乗乗乗乗乗" "ApplyNewMoonDayCorrection -1e300"; do
    # shellcheck disable=SC2086
    "${cli[@]}" call $args >/dev/null 2>&1
    status=$?
    if [[ $status -eq 0 ]]; then passed=$((passed + 1)); else
        failed=$((failed + 1)); echo "FAIL: call $args -> status $status"; fi
done

# Names, numerals, eras, the Hijri calendar, weekdays and zodiac signs.
expect "    2026" YearText 2026
expect "     前1" YearText 0
expect "   回历前1" HijriYearText 0
expect "  二○○○" ChineseYearText 2000
expect "  一九一二" EraYearText 1912
expect 元代至元17 EraYearText 1280
expect 闰正月小 LunarMonthName 13 0
expect 廿一 LunarDayName 21
expect 1948440 HijriToDayNumber 1 1 1
expect AD07-16-0622 HijriToSolarText 1 1 1
expect BC12-29-0001 SolarToHijriText 622 7 15
expect "" SolarToHijriText 1582 10 10
expect 星期四 WeekdayName 1582 10 4
expect 双鱼座 ZodiacSignName 2024 2 29
refuse LunarMonthName 13
expect "" YearText -2147483648
expect "" EraYearText 2147483647
expect -100000000 HijriToDayNumber 2147483647 12 30
expect "" SolarToHijriText -2147483648 1 1

# The Chinese calendar.
expect 1683490 LunarNewYear -103
expect 10101101010150124 GetLunarYearRecord 445
expect 1 YearLeapCode 445
expect 01111001010140125 GetLunarYearRecord 2020
expect "" GetLunarYearRecord 9999
expect AD16-02-2020 SolarToLunar 2020 5 24
expect AD05-24-2020 LunarToSolar 2020 16 2
expect "" LunarToSolar 2024 13 1
expect 55 DayCycleIndex 2000 1 1
expect 甲辰\(龙\)年丙寅月甲辰日 CycleDateText 2024 2 10 1
expect "BC12-25-0105 00:00:00 1683431.000000" TermMoment 1683420 0
expect "AD12-21-2024 17:20:28 2460666.722548" TermMoment 2460666 0
expect "BC05-19-0059 13:55:33 1700012.580247" FullMoonMoment 1700000
expect 5 CurrentTermIndex 2024 3 5

# Festivals and seasonal periods.
expect "世界红十字日 母亲节" GregorianFestivalText 1988 5 8 1
expect 端午节 LunarFestivalText -277 5 5
expect 29 NthWeekdayOfMonth 2024 2 5 4
expect "今日立春 16:27:02" NextSolarTermText 2024 2 4
expect 2027年1月5日小寒 NextSolarTermText 2026 12 25
expect 一九第1天 NineNinesText 2024 12 21
expect 初伏第1天 DogDaysText 2024 7 15
expect 入梅 PlumRainText 2024 6 11

# Commands besides call.
expect_command() {  # expect_command "EXPECTED OUTPUT" ARGS...
    local want=$1
    shift
    local got
    got=$("${cli[@]}" "$@" 2>/dev/null | tr -d '\r')
    if [[ ${PIPESTATUS[0]} -eq 0 && "$got" == "$want" ]]; then passed=$((passed + 1)); else
        failed=$((failed + 1)); echo "FAIL: $* -> '$got', want '$want'"; fi
}
expect_command $'-103 01010101010100222\n-102 01101010101000211' records -103 -102
expect_command $'AD01-01-2024\n二○二四年正月初一 甲辰(龙)年丙寅月甲辰日' convert 2024-02-10 --to lunar
expect_command $'AD05-24-2020\n2020年5月24日 星期日 庚子(鼠)年辛巳月丁卯日' convert 2020-L4-02 --from lunar --to gregorian
expect_command $'AD02-10-2024\n2024年2月10日 星期六 甲辰(龙)年丙寅月甲辰日' convert 2024-1-1 --from lunar --to gregorian
for args in "records 1 2 3" "records x 2" "records -9998 0" "convert" "convert 2024-02-30 --to lunar" \
            "convert 2024-02-10 --to mayan" "convert 2020-L5-02 --from lunar --to gregorian" "nonsense"; do
    # shellcheck disable=SC2086
    err=$("${cli[@]}" $args 2>&1 >/dev/null)
    status=$?
    if [[ $status -eq 2 && -n "$err" ]]; then passed=$((passed + 1)); else
        failed=$((failed + 1)); echo "FAIL: $args -> status $status, message '$err'"; fi
done

# --- Yearly tables (terms, lunar-months, moons, sun) ---
for check in "3|terms 2024|03: 立春02月04日16:27:02   04: 雨水02月19日12:13:05" \
             "6|lunar-months 2020|闰四月小     对应公历AD05-23-2020 ～ AD06-20-2020" \
             "14|moons 2024|朔日 12月31日06:26:44" "1|terms -103|    公历 前104 年共 24 个节气" \
             "174|sun 2024 --city 天安门|06-21 日出时刻04:46:10 日落时刻19:46:23"; do
    IFS='|' read -r line args want <<<"$check"
    # shellcheck disable=SC2086
    got=$("${cli[@]}" $args 2>/dev/null | tr -d '\r' | sed -n "${line}p")
    if [[ "$got" == "$want" ]]; then passed=$((passed + 1)); else
        failed=$((failed + 1)); echo "FAIL: $args line $line -> '$got', want '$want'"; fi
done
for args in "terms" "terms 5001" "terms -104" "moons 20x4" "lunar-months -105" "sun 2024 --city 火星" "sun 2024 --city" "sun 2024 --dusk"; do
    # shellcheck disable=SC2086
    err=$("${cli[@]}" $args 2>&1 >/dev/null)
    status=$?
    if [[ $status -eq 2 && -n "$err" ]]; then passed=$((passed + 1)); else
        failed=$((failed + 1)); echo "FAIL: $args -> status $status, message '$err'"; fi
done
# A message quotes a typed word as it was typed, whether or not code page 936
# can write it (ö it cannot).
for check in "sun 2024 --city|no built-in city '%s' (see lumora-cli cities)" "query|unknown search '%s' (expected months or days)"; do
    IFS='|' read -r args form <<<"$check"
    for word in 火星 Zürich ö; do
        # shellcheck disable=SC2086,SC2059
        want="${args%% *}: $(printf "$form" "$word")"
        # shellcheck disable=SC2086
        got=$("${cli[@]}" $args "$word" 2>&1 >/dev/null | tr -d '\r')
        if [[ "$got" == "$want" ]]; then passed=$((passed + 1)); else
            failed=$((failed + 1)); echo "FAIL: $args $word -> '$got', want '$want'"; fi
    done
done
# --- end of yearly tables ---

# --- Converter (julian, interval, ganzhi, export) ---
expect_command 2451545 julian 2000-01-01
expect_command 1 interval 1582-10-04 1582-10-15
expect_command AD01-01-2000 interval 2000-01-11 --days -10
expect_command AD16-02-2020 interval 2020-05-23 --days 1 --to lunar
expect_command '丙子(鼠)年辛丑月壬寅日' ganzhi 02-01-0104 --bc
expect_command $'2024-02-04\tAD02-04-2024\tAD12-25-2023\tAD07-24-1445\t甲辰(龙)年丙寅月戊戌日\t星期日\t\t立春' \
               export 2024-02-04 2024-02-04 --tsv
# A long export (made in two halves where processes fork) gives the lines of
# two short ones, in order; a failed write is a failure.
long=$("${cli[@]}" export 1990-01-01 2012-06-30 | md5sum)
short=$({ "${cli[@]}" export 1990-01-01 2001-03-31; "${cli[@]}" export 2001-04-01 2012-06-30; } | md5sum)
if [[ "$long" == "$short" ]]; then passed=$((passed + 1)); else
    failed=$((failed + 1)); echo "FAIL: export 1990-01-01 2012-06-30 differs from its two halves"; fi
if [[ -w /dev/full ]]; then
    "${cli[@]}" export 1990-01-01 2012-06-30 >/dev/full 2>/dev/null
    status=$?
    if [[ $status -ne 0 ]]; then passed=$((passed + 1)); else
        failed=$((failed + 1)); echo "FAIL: export into a full disk -> status 0"; fi
fi
for args in "julian -0104-12-31" "julian 2000-02-30" "interval 2000-01-11 --days 1-0" "ganzhi" \
            "interval 2000-01-01 --days 5 --to mayan" "export 2024-02-10 2024-02-01" "export 2024-01-01 5001-01-01"; do
    # shellcheck disable=SC2086
    err=$("${cli[@]}" $args 2>&1 >/dev/null)
    status=$?
    if [[ $status -eq 2 && -n "$err" ]]; then passed=$((passed + 1)); else
        failed=$((failed + 1)); echo "FAIL: $args -> status $status, message '$err'"; fi
done
# --- end of converter ---

# --- Day card and month sheet (day, month) ---
expect_command $'    2024年   2月10日\n  二○二四年正月小初一\n  回历1445年   7月30日\n星期六 水瓶座  甲辰(龙)年丙寅月甲辰日\n日出时刻07:14:17  日落时刻17:42:57\n农历   二○二四年 正月小初一 甲辰(龙)年丙寅月甲辰日\n回历 1445年7月30日 水瓶座 六九第6天\n天亮06:46:14 日出07:14:17 日落17:42:57 天黑18:11:01\n春节 国际气象节\n天安门 东经116.3833度 北纬39.9000度' \
               day 2024-02-10 --info sun
got=$("${cli[@]}" month 2024 2 2>/dev/null | tr -d '\r' | sed -n '3p;4p;14p;15p')
if [[ "$got" == $'                                               [1]         2          3\n                                               廿二       小年       廿四\n4日16:27:02立春 19日12:13:05雨水\n10日06:59:04朔 24日20:30:17望' ]]; then
    passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAIL: month 2024 2 -> '$got'"; fi
for args in "day 2024-02-30" "day 4104-01-01" "day 2024-02-10 --info moon" "day --bc" "day 1 2" "month 2024" "month 4104 1" "month 2024 13"; do
    # shellcheck disable=SC2086
    err=$("${cli[@]}" $args 2>&1 >/dev/null)
    status=$?
    if [[ $status -eq 2 && -n "$err" ]]; then passed=$((passed + 1)); else
        failed=$((failed + 1)); echo "FAIL: $args -> status $status, message '$err'"; fi
done
# --- end of day card and month sheet ---

# --- Condition queries (query months, query days) ---
expect_command $'    共找到 3 个农历闰四月\nAD2001闰四月小    AD05-23-2001 ～ AD06-20-2001\nAD2012闰四月小    AD05-21-2012 ～ AD06-18-2012\nAD2020闰四月小    AD05-23-2020 ～ AD06-20-2020' \
               query months --leap 4 --from 2000 --years 31
expect_command $'    共找到 1 个条件日\n\n第1个条件日：\n    对应公历→AD02-29-2004\n    对应农历→AD02-10-2004\n    对应回历→AD01-08-1425\n    对应星期→星期日\n    对应干支→甲申(猴)年丙寅月戊寅日' \
               query days --gmonth 2 --gday 29 --weekday 星期日 --from 2000 --years 30
# A long list is printed in pieces: the same lines as the JSON answer, which
# leaves out the empty ones, and one "\n" after the last.
long=(query days --lday 1 --from 1900 --years 200)
"${cli[@]}" "${long[@]}" 2>/dev/null | tr -d '\r' >"$registry_dir/long.txt"
"${cli[@]}" "${long[@]}" --json 2>/dev/null | tr -d '\r' >"$registry_dir/long.json"
if python3 - "$registry_dir/long.txt" "$registry_dir/long.json" <<'CHECK'
import json, sys
text = open(sys.argv[1], encoding="utf-8").read()
answer = json.load(open(sys.argv[2], encoding="utf-8"))
lines = text.split("\n")
assert len(text) > 200000 and lines.pop() == "", "one line break after the last line"
assert [l for l in lines if l] == [answer["status"]] + answer["results"]
CHECK
then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAIL: ${long[*]}: the printed lines differ from the JSON answer's"; fi
for args in "query" "query months --from 2000 --years 5" "query months --leap 13 --from 2000 --years 5" \
            "query days --from 2000 --years 5" "query days --gday 1 --from -104 --years 1" "query days --term 春 --from 2000 --years 1"; do
    # shellcheck disable=SC2086
    err=$("${cli[@]}" $args 2>&1 >/dev/null)
    status=$?
    if [[ $status -eq 2 && -n "$err" ]]; then passed=$((passed + 1)); else
        failed=$((failed + 1)); echo "FAIL: $args -> status $status, message '$err'"; fi
done
# --- end of condition queries ---

# --- Month sources (why, uncertain) ---
for check in "3|why 2024-02-10|月首：现代天文计算的朔在 2024年2月10日 06:59:04" \
             "3|why -0099-06-15|本月：前一○○年五月小，前100年6月6日至前100年7月4日，共 29 天" \
             "13|why --year 1000|腊月大   1000年12月29日  应天历至纪元历（定朔，进朔）（行用于964–1135年）定朔：现代天文计算的朔在 1000年12月28日 22:34:10，合朔在日中的 0.9404，进朔限 0.8216；过进朔限，初一进至次日"; do
    IFS='|' read -r line args want <<<"$check"
    # shellcheck disable=SC2086
    got=$("${cli[@]}" $args 2>/dev/null | tr -d '\r' | sed -n "${line}p")
    if [[ "$got" == "$want" ]]; then passed=$((passed + 1)); else
        failed=$((failed + 1)); echo "FAIL: $args line $line -> '$got', want '$want'"; fi
done
got=$("${cli[@]}" why 1650-11-24 --tsv 2>/dev/null | tr -d '\r' | cut -f1,5,7,8,13)
if [[ "$got" == $'historical\t1650-11-24\tday-list\tlist+1\t1650-11-23\nmodern\t1650-11-23\tmodern\t\t' ]]; then
    passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAIL: why 1650-11-24 --tsv -> '$got'"; fi
expect_command $'2057-09-28\t九月初一\t2057-09-28 23:59:51\t8.8\t69' uncertain 2057 2057
for args in "why" "why 2024-02-30" "why 5001-01-01" "why --year 5001" "why --when 2024-01-01" "uncertain 2000" "uncertain 2001 2000"; do
    # shellcheck disable=SC2086
    err=$("${cli[@]}" $args 2>&1 >/dev/null)
    status=$?
    if [[ $status -eq 2 && -n "$err" ]]; then passed=$((passed + 1)); else
        failed=$((failed + 1)); echo "FAIL: $args -> status $status, message '$err'"; fi
done
# --- end of month sources ---

# --- Speaking clock (speak) ---
expect_command 'SOUNDRING SOUNDTIME SOUNDTWO SOUNDHOUR SOUND0 SOUND5 SOUNDMINUTE' speak 02:05
expect_command 'SOUNDRING SOUNDTIME SOUND10 SOUND2 SOUNDHOUR SOUND10 SOUND2 SOUNDMINUTE' speak 12:12
expect_command 'SOUNDRING SOUNDTIME SOUND20 SOUNDHOUR' speak 20:00 --hour-only
for args in "speak 24:00" "speak 12:60" "speak 9:5" "speak 10:00 11:00" "speak --minutes"; do
    # shellcheck disable=SC2086
    err=$("${cli[@]}" $args 2>&1 >/dev/null)
    status=$?
    if [[ $status -eq 2 && -n "$err" ]]; then passed=$((passed + 1)); else
        failed=$((failed + 1)); echo "FAIL: $args -> status $status, message '$err'"; fi
done
# --- end of speaking clock ---

# --- Stored days (memorial, reminder, countdown), in a registry of their own ---
saved_registry=${LUMORA_REGISTRY-}
export LUMORA_REGISTRY; LUMORA_REGISTRY=$(mktemp)
"${cli[@]}" settings set registry off >/dev/null 2>&1  # under Wine the prefix's registry
for args in "memorial add 2000-05-12 生日" "memorial add 2000-02-30 x" "reminder delete 2030-01-01"; do
    # shellcheck disable=SC2086
    err=$("${cli[@]}" $args 2>&1 >/dev/null)
    status=$?
    if [[ $status -eq 2 && -n "$err" ]]; then passed=$((passed + 1)); else
        failed=$((failed + 1)); echo "FAIL: $args -> status $status, message '$err'"; fi
    "${cli[@]}" settings set registry on >/dev/null 2>&1  # the first is refused while registry use is off
done
expect_command "公历05月12日（AD2000年）：                生日" memorial add 2000-05-12 生日
expect_command "提醒02月17日（AD2026年）：                春节" reminder add 2026-01-01 春节 --calendar lunar
expect_command "倒计12月31日（AD2200年）：                  远" countdown set 2200-12-31 远
got=$("${cli[@]}" day 2000-05-12 2>/dev/null | tr -d '\r' | tail -2 | head -1)  # the day's event line
if [[ "$got" == "国际护士节 生日" ]]; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAIL: day event line '$got'"; fi
"${cli[@]}" settings set registry off >/dev/null 2>&1
rm -f "$LUMORA_REGISTRY"; LUMORA_REGISTRY=$saved_registry; [[ -n $LUMORA_REGISTRY ]] || unset LUMORA_REGISTRY
# --- end of stored days ---

# --- Settings (settings) ---
# A registry of its own natively; under Wine the prefix's, emptied before and after.
export LUMORA_REGISTRY; LUMORA_REGISTRY=$(mktemp -d)/registry
"${cli[@]}" settings set registry off >/dev/null 2>&1
for step in "registry on" "MyCityName 测试" "MyCityLongitude -116.38" "NowCityCode 44" "DFORMShowInfoTypeFlag 2"; do
    # shellcheck disable=SC2086
    "${cli[@]}" settings set $step >/dev/null 2>&1
done
got=$("${cli[@]}" settings 2>/dev/null | tr -d '\r' | grep -E '^(registry|MyCity|NowCityCode|DFORMShowInfo)' | tr '\n' '|')
want="registry on|DFORMShowInfoTypeFlag 2|MyCityName 测试|MyCityLongitude -116.38|MyCityLatitude 0|NowCityCode 44|"
if [[ "$got" == "$want" ]]; then passed=$((passed + 1)); else
    failed=$((failed + 1)); echo "FAIL: settings -> '$got', want '$want'"; fi
for args in "settings set NowCityCode 45" "settings set DFORMShowInfoTypeFlag 3" "settings set Nonsense 1" \
            "settings set registry maybe" "settings set FormLeft" "settings get"; do
    # shellcheck disable=SC2086
    err=$("${cli[@]}" $args 2>&1 >/dev/null)
    status=$?
    if [[ $status -eq 2 && -n "$err" ]]; then passed=$((passed + 1)); else
        failed=$((failed + 1)); echo "FAIL: $args -> status $status, message '$err'"; fi
done
"${cli[@]}" settings set registry off >/dev/null 2>&1
got=$("${cli[@]}" settings 2>/dev/null | tr -d '\r' | head -n 1)
if [[ "$got" == "registry off" ]]; then passed=$((passed + 1)); else
    failed=$((failed + 1)); echo "FAIL: settings after 'set registry off' -> '$got'"; fi
rm -rf "$(dirname "$LUMORA_REGISTRY")"
# --- end of settings ---

# Random argument strings for every command: a result or a clear refusal,
# never a crash (a crash or a sanitizer report ends with another status).
# Changes to stored data go to this script's own registry.
RANDOM=20261208
words=(call day month terms lunar-months moons sun julian interval ganzhi export query convert
       records cities settings memorial reminder countdown speak why --year --tsv --help --bc --to --from --days
       --info --city --leap --years lunar hijri gregorian 2024-02-10 -0103-02-01 12-31-0001 2024
       -2147483649 99999999999999999999 0 -1 1e308 nan "" " " 闰4 L4 乗 --- 01-01 2024-13-40
       SolarToLunar CycleDateText GregorianFestivalText 5 24 13 60)
fuzz_runs=${LUMORA_FUZZ_RUNS:-150}
for ((run = 0; run < fuzz_runs; ++run)); do
    args=()
    for ((k = RANDOM % 6; k >= 0; --k)); do args+=("${words[RANDOM % ${#words[@]}]}"); done
    "${cli[@]}" "${args[@]}" >/dev/null 2>&1 </dev/null
    status=$?
    # Wine now and then fails a start on its own; a real crash repeats.
    if [[ $status -ne 0 && $status -ne 2 ]]; then
        "${cli[@]}" "${args[@]}" >/dev/null 2>&1 </dev/null
        status=$?
    fi
    if [[ $status -eq 0 || $status -eq 2 ]]; then passed=$((passed + 1)); else
        failed=$((failed + 1)); echo "FAIL: ${args[*]} -> status $status"; fi
done

echo "$passed passed, $failed failed"
[[ $failed -eq 0 ]]
