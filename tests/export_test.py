#!/usr/bin/env python3
"""lumora-cli's answers read by other programs: the iCalendar export parsed by
the icalendar package (an independent RFC 5545 parser), every --json answer
parsed by Python's json module and held against the text answer, and the
year view against its golden text.
Usage: export_test.py LUMORA_CLI [EMULATOR...]   (e.g. wine for the .exe)"""
import datetime
import json
import os
import re
import subprocess
import sys
import tempfile

import icalendar

CLI = sys.argv[2:] + sys.argv[1:2]
HERE = os.path.dirname(os.path.abspath(__file__))
passed = failed = 0


def check(ok, what):
    global passed, failed
    if ok:
        passed += 1
    else:
        failed += 1
        print("FAIL:", what)


def run(*args, env=None):
    """Standard output (bytes) of one call; a failing call is a failure."""
    result = subprocess.run(CLI + list(args), capture_output=True, env=env, stdin=subprocess.DEVNULL)
    check(result.returncode == 0, "%s -> status %d: %s" % (" ".join(args), result.returncode,
                                                         result.stderr.decode(errors="replace")))
    return result.stdout


def text(*args):
    return run(*args).decode().replace("\r\n", "\n")


def as_json(*args):
    out = run(*args, "--json")
    try:
        return json.loads(out.decode("utf-8"))
    except ValueError as e:
        check(False, "%s --json is no JSON document: %s" % (" ".join(args), e))
        return None


registry_dir = tempfile.mkdtemp()
os.environ["LUMORA_REGISTRY"] = os.path.join(registry_dir, "registry")
env = dict(os.environ, SOURCE_DATE_EPOCH="1767225600")  # 2026-01-01T00:00:00Z

# --- iCalendar -------------------------------------------------------------
# Under Wine the registry is the test prefix's: start from no stored days
# (switching registry use off deletes them) and leave none behind.
run("settings", "set", "registry", "off")
run("settings", "set", "registry", "on")
run("memorial", "add", "2000-05-05", "粽子, 艾草; 龙舟", "--calendar", "lunar")
raw = run("ics", "--from", "2024", "--years", "3", env=env)
check(raw == run("ics", "--from", "2024", "--years", "3", env=env), "two runs give different files")
lines = raw.split(b"\r\n")
check(lines[-1] == b"" and all(b"\n" not in line and b"\r" not in line for line in lines),
      "every line ends with CRLF")
check(all(len(line) <= 75 for line in lines), "a line longer than 75 octets")
calendar = icalendar.Calendar.from_ical(raw)
check(str(calendar.get("VERSION")) == "2.0" and calendar.get("PRODID"), "VERSION and PRODID")
events = [c for c in calendar.walk() if c.name == "VEVENT"]


def civil_year(event):  # the key opens with the civil day (UTC+8)
    return str(event.get("UID"))[:4]


def category(event):
    return event.get("CATEGORIES").to_ical().decode()


counts = {}
for event in events:
    if civil_year(event) in ("2025", "2026"):
        counts[category(event)] = counts.get(category(event), 0) + 1
# The moons as the yearly table counts them.
moons = 0
for year in ("2025", "2026"):
    header = text("moons", year).splitlines()[0]
    moons += sum(int(n) for n in re.findall(r"(\d+) 次", header))
expected = {"节气": 48, "朔望": moons, "节日": 60, "时令": 28, "纪念日": 2}
check(counts == expected, "events per kind %s, want %s" % (counts, expected))
check(len({str(e.get("UID")) for e in events}) == len(events), "UIDs are not unique")
check(all(e.get("DTSTAMP").dt == datetime.datetime(2026, 1, 1, tzinfo=datetime.timezone.utc) for e in events),
      "DTSTAMP from SOURCE_DATE_EPOCH")


def starts(name):
    return [e.get("DTSTART").dt for e in events if str(e.get("SUMMARY")) == name]


check(starts("春节") == [datetime.date(2024, 2, 10), datetime.date(2025, 1, 29), datetime.date(2026, 2, 17)],
      "春节 on %s" % starts("春节"))
check(datetime.datetime(2024, 12, 21, 9, 20, 28, tzinfo=datetime.timezone.utc) in starts("冬至"),
      "冬至 2024 at %s" % starts("冬至"))
memorial = "粽子, 艾草; 龙舟"
check(starts(memorial) == [datetime.date(2024, 6, 10), datetime.date(2025, 5, 31), datetime.date(2026, 6, 19)],
      "the lunar memorial on %s" % starts(memorial))
all_day = [e for e in events if not isinstance(e.get("DTSTART").dt, datetime.datetime)]
check(all(e.get("DTEND").dt - e.get("DTSTART").dt == datetime.timedelta(days=1) for e in all_day),
      "all-day events last one day")
# Every timed event is the moment the tables show, moved to UTC.
shown = {}
for year in ("2024", "2025", "2026"):
    for entry in as_json("terms", year)["terms"]:
        shown[(entry["name"], entry["moment"][:4])] = entry["moment"]
for event in events:
    if category(event) == "节气":
        moment = shown.get((str(event.get("SUMMARY")), civil_year(event)))
        local = datetime.datetime.fromisoformat(moment) if moment else None
        check(local and event.get("DTSTART").dt == local, "%s at %s" % (event.get("SUMMARY"), moment))
# Another run keeps the UIDs; a kind alone gives only that kind.
uids = {str(e.get("UID")) for e in events}
again = icalendar.Calendar.from_ical(run("ics", "--from", "2024", "--years", "3"))
check(uids == {str(e.get("UID")) for e in again.walk("VEVENT")}, "UIDs differ between runs")
terms_only = icalendar.Calendar.from_ical(run("ics", "--from", "2025", "--terms"))
check({category(e) for e in terms_only.walk("VEVENT")} == {"节气"}, "--terms gives only terms")
for bad in (["--from", "1582"], ["--from", "4103", "--years", "2"], ["--years", "0"], ["--bogus"]):
    result = subprocess.run(CLI + ["ics"] + bad, capture_output=True, stdin=subprocess.DEVNULL)
    check(result.returncode == 2 and result.stderr, "ics %s is refused" % " ".join(bad))

# --- JSON ------------------------------------------------------------------
day = as_json("day", "2024-02-10")
day_lines = text("day", "2024-02-10").splitlines()
check(day and [day["gregorian"]["text"], day["lunar"]["text"], day["hijri"]["text"], day["line1"], day["line2"]]
      == day_lines[:5], "day fields against its text")
check(day and day["description"] == day_lines[5:-1] and day["date"] == "2024-02-10", "day description")
check(day and (day["lunar"]["year"], day["lunar"]["month"], day["lunar"]["day"], day["lunar"]["leap"])
      == (2024, 1, 1, False) and "春节" in day["festivals"], "day's lunar date and festivals")
sun_day = as_json("day", "2024-02-10", "--info", "sun")
check(sun_day and sun_day["line2"] == text("day", "2024-02-10", "--info", "sun").splitlines()[4] and
      sun_day["sun"]["sunrise"] in sun_day["line2"], "day --info sun")
bc = as_json("day", "-0103-02-01")
check(bc and bc["date"] == "-0103-02-01", "a year before the common era")

month = as_json("month", "2024", "2")
sheet = text("month", "2024", "2").splitlines()
events_line = "".join("%d日%s%s" % (int(t["moment"][8:10]), t["moment"][11:19], t["name"]) for t in month["terms"])
check(month and len(month["days"]) == 29 and month["days"][9]["text"] == "春节" and month["days"][0]["weekday"] == 4,
      "month days")
check(month and sheet[-2].replace(" ", "") == events_line, "month terms %s against %s" % (events_line, sheet[-2]))
# The sheet's moons line: "10日06:59:04朔 24日20:30:17望"; full moons are 望.
sheet_moons = [(int(d), t, name == "望") for d, t, name in re.findall(r"(\d+)日(\d\d:\d\d:\d\d)(\S)", sheet[-1])]
check(month and sheet_moons == [(int(m["moment"][8:10]), m["moment"][11:19], m["name"] == "望")
                                for m in month["moons"]] and {m["name"] for m in month["moons"]} == {"朔", "望"},
      "month moons %s against %s" % (month["moons"], sheet[-1]))

for year in ("2024", "1582", "-103"):
    table = re.findall(r"\d\d: (\S\S)(\d\d)月(\d\d)日(\d\d:\d\d:\d\d)", text("terms", year))
    # "...MM-DDTHH:MM:SS+08:00", read from the end for years of any sign.
    got = [(t["name"], t["moment"][-20:-18], t["moment"][-17:-15], t["moment"][-14:-6])
           for t in as_json("terms", year)["terms"]]
    check(table == got, "terms %s against the table" % year)

moons = as_json("moons", "2024")
table = text("moons", "2024")
check(len(moons["new_moons"]) == 13 and len(moons["full_moons"]) == 12, "moons 2024 counts")
# Entries "X日 MM月DD日HH:MM:SS", X 望 for a full moon and the other word for a new one.
entries = re.findall(r"(\S)日 (\d\d)月(\d\d)日(\d\d:\d\d:\d\d)", table)
for full, key in ((False, "new_moons"), (True, "full_moons")):
    shown_moons = sorted((m, d, t) for word, m, d, t in entries if (word == "望") == full)
    check(shown_moons == [(m[5:7], m[8:10], m[11:19]) for m in moons[key]], "%s against the table" % key)

months = as_json("lunar-months", "2023")
table = re.findall(r"AD(\d\d)-(\d\d)-(\d{4}) ～ AD(\d\d)-(\d\d)-(\d{4})", text("lunar-months", "2023"))
check([(m["first"], m["last"]) for m in months["months"]] ==
      [("%s-%s-%s" % (y1, m1, d1), "%s-%s-%s" % (y2, m2, d2)) for m1, d1, y1, m2, d2, y2 in table] and
      [m["month"] for m in months["months"] if m["leap"]] == [2], "lunar months 2023 against the table")

sun = as_json("sun", "2024", "--city", "1")
table = text("sun", "2024", "--city", "1").splitlines()
check(len(sun["days"]) == 366 and sun["days"][59]["date"] == "2024-02-29" and
      sun["days"][59]["sunrise"] in table[60] and sun["days"][59]["sunset"] in table[60], "sun 2024")
dusk = as_json("sun", "2024", "--twilight")
check(set(dusk["days"][0]) == {"date", "dawn", "dusk"}, "sun --twilight fields")

convert = as_json("convert", "2023-03-31", "--to", "lunar")
tagged, words = text("convert", "2023-03-31", "--to", "lunar").splitlines()
check(convert == {"from": "gregorian", "to": "lunar", "year": 2023, "month": 2, "leap": True, "day": 10,
                  "tagged": tagged, "text": words}, "convert %s" % convert)
back = as_json("convert", "2023-L2-10", "--from", "lunar", "--to", "gregorian")
check(back and back["date"] == "2023-03-31", "convert back")

query = as_json("query", "days", "--gmonth", "2", "--gday", "29", "--from", "2000", "--years", "9")
listed = [line for line in text("query", "days", "--gmonth", "2", "--gday", "29", "--from", "2000", "--years",
                                "9").splitlines() if line]
check(query and query["count"] == 3 and [query["status"]] + query["results"] == listed, "query days")
leap = as_json("query", "months", "--leap", "--from", "2020", "--years", "5")
check(leap and leap["search"] == "months" and leap["count"] == 2, "query months")

run("settings", "set", "registry", "off")

# --- year view and version -------------------------------------------------
with open(os.path.join(HERE, "golden", "year_2024.txt"), encoding="utf-8") as golden:
    check(text("year", "2024", "--width", "80") == golden.read(), "year 2024 against tests/golden/year_2024.txt")
wide = text("year", "2024", "--width", "120").splitlines()
check(wide[3].split() == ["日", "一", "二", "三", "四", "五", "六"] * 3, "three months side by side at 120 columns")
check(b"\x1b" not in run("year") + run("month"), "no escape sequences when piped")
with open(os.path.join(HERE, "..", "res", "lumora.rc"), encoding="ascii", errors="replace") as rc:
    version = re.search(r"^PRODUCTVERSION (\d+),(\d+),(\d+),(\d+)", rc.read(), re.M).groups()
check(text("--version").strip() == "lumora-cli " + ".".join(version), "--version")

print("%d passed, %d failed" % (passed, failed))
sys.exit(1 if failed else 0)
