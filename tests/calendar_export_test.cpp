#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>

#include "calendar_events.h"
#include "date_text.h"
#include "icalendar.h"
#include "json_text.h"
#include "platform.h"
#include "registry_sandbox.h"
#include "seasonal_periods.h"
#include "settings.h"
#include "stored_days.h"

namespace {

std::string Utf8(const std::string& gbk) { return GbkToUtf8(gbk).value_or("?"); }

std::string UtcText(double moment)
{
    auto t = UtcOfMoment(moment);
    if (!t) return "none";
    return IsoDateText(t->date) + "T" + ZeroPadded(t->hour, 2) + ":" + ZeroPadded(t->minute, 2) + ":" +
           ZeroPadded(t->second, 2) + "Z";
}

// The days of the events of one kind and name, as ISO dates.
std::vector<std::string> DaysOf(const std::vector<CalendarEvent>& events, const std::string& name)
{
    std::vector<std::string> days;
    for (const CalendarEvent& e : events)
        if (e.name == name) days.push_back(IsoDateText(e.date));
    return days;
}

}  // namespace

TEST(ICalendar, FoldsAtOctetsWithoutSplittingCharacters)
{
    // 24 three-octet characters after a 6-octet name: the first cut falls
    // inside the 24th character and moves before it.
    std::string line = "NAME:1";
    for (int i = 0; i < 24; ++i) line += "\xE4\xB8\xAD";  // 中
    std::string folded = FoldContentLine(line);
    EXPECT_EQ(folded, line.substr(0, 75) + "\r\n " + line.substr(75) + "\r\n");
    EXPECT_EQ(line.size(), 78u);

    std::string ascii(200, 'a');
    folded = FoldContentLine(ascii);
    size_t start = 0, lines = 0;
    for (size_t end; (end = folded.find("\r\n", start)) != std::string::npos; start = end + 2, ++lines) {
        EXPECT_LE(end - start, 75u);
        if (lines > 0) {
            EXPECT_EQ(folded[start], ' ');
        }
    }
    EXPECT_EQ(lines, 3u);  // 75 + 74 + 51
    EXPECT_EQ(FoldContentLine(std::string(75, 'b')), std::string(75, 'b') + "\r\n");
    // Four-octet characters never straddle a fold either.
    std::string emoji = "X:";
    for (int i = 0; i < 40; ++i) emoji += "\xF0\x9F\x98\x80";
    folded = FoldContentLine(emoji);
    for (size_t at = folded.find("\r\n "); at != std::string::npos; at = folded.find("\r\n ", at + 1))
        EXPECT_NE(static_cast<unsigned char>(folded[at + 3]) & 0xC0, 0x80u) << at;
}

TEST(ICalendar, EscapesText)
{
    EXPECT_EQ(EscapeICalendarText("a,b;c\\d\ne"), "a\\,b\\;c\\\\d\\ne");
    EXPECT_EQ(EscapeICalendarText(std::string("x\x01\ty\x7F") + ":\"z"), "xy:\"z");
}

TEST(ICalendar, UtcFromTheMomentsShownToTheSecond)
{
    const int32_t j = DateToDayNumber(2024, 12, 21);
    // 17:20:28.9 (UTC+8) is 09:20:28Z, truncated like the moment texts.
    EXPECT_EQ(UtcText(j + (17 * 3600 + 20 * 60 + 28.9) / 86400), "2024-12-21T09:20:28Z");
    // Before 08:00 the day carries back, also across a year end.
    EXPECT_EQ(UtcText(DateToDayNumber(2025, 1, 1) + (7 * 3600 + 59 * 60 + 59.5) / 86400), "2024-12-31T23:59:59Z");
    EXPECT_EQ(UtcText(DateToDayNumber(2025, 3, 1) + 8.0 / 24), "2025-03-01T00:00:00Z");
    EXPECT_EQ(UtcText(NAN), "none");
}

TEST(ICalendar, FileShape)
{
    std::vector<CalendarEvent> events = {
        {EventKind::Festival, "春节", "节日", {2025, 1, 29}, false, 0, "20250129-festival-x"},
        {EventKind::SolarTerm, "冬至", "节气", {2024, 12, 21}, true,
         DateToDayNumber(2024, 12, 21) + (17 * 3600 + 20 * 60 + 28.5) / 86400, "20241221-term-24"},
    };
    std::string file = ICalendarOfEvents(events, {{2026, 1, 2}, 3, 4, 5});
    EXPECT_EQ(file.find('\n'), file.find("\r\n") + 1);
    EXPECT_EQ(file.rfind("END:VCALENDAR\r\n"), file.size() - 15);
    for (const char* line : {"VERSION:2.0\r\n", "PRODID:", "UID:20250129-festival-x@lumora\r\n",
                             "DTSTAMP:20260102T030405Z\r\n", "DTSTART;VALUE=DATE:20250129\r\n",
                             "DTEND;VALUE=DATE:20250130\r\n", "DTSTART:20241221T092028Z\r\n"})
        EXPECT_NE(file.find(line), std::string::npos) << line;
    EXPECT_NE(file.find("SUMMARY:" + Utf8("春节") + "\r\n"), std::string::npos);
}

TEST(JsonText, StringsDatesAndMoments)
{
    EXPECT_EQ(JsonString("a\"b\\c\n\x01"), "\"a\\\"b\\\\c\\n\\u0001\"");
    EXPECT_EQ(JsonText("春节"), JsonString(Utf8("春节")));
    EXPECT_EQ(JsonDate({-103, 2, 1}), "\"-0103-02-01\"");
    EXPECT_EQ(JsonDate({1582, 10, 10}), "null");
    EXPECT_EQ(JsonMoment(DateToDayNumber(0, 12, 31) + 0.999999), "\"0000-12-31T23:59:59+08:00\"");
    EXPECT_EQ(JsonObject({{"a", JsonNumber(-1)}, {"b", JsonArray({JsonBool(true), "null"})}}),
              "{\"a\": -1, \"b\": [true, null]}");
}

TEST(CalendarEvents, SeasonalPeriodStarts)
{
    EXPECT_EQ(SeasonalPeriodStart(2024, 12, 21), "一九");  // the winter solstice
    EXPECT_EQ(SeasonalPeriodStart(2024, 12, 30), "二九");
    EXPECT_EQ(SeasonalPeriodStart(2024, 12, 22), "");
    std::vector<CalendarEvent> events = CalendarEventsOfYears(2025, 1, {false, false, false, true, false});
    std::vector<std::string> names;
    for (const CalendarEvent& e : events) names.push_back(e.name);
    // The nines from last winter's third, the plum rain, the dog days, the
    // first two nines of the next winter.
    EXPECT_EQ(names, (std::vector<std::string>{"三九", "四九", "五九", "六九", "七九", "八九", "九九", "入梅",
                                               "出梅", "初伏", "中伏", "末伏", "一九", "二九"}));
}

TEST(CalendarEvents, TermsMoonsAndFestivalsOfTwoYears)
{
    std::vector<CalendarEvent> events = CalendarEventsOfYears(2025, 2, {});
    EXPECT_EQ(DaysOf(events, "春节"), (std::vector<std::string>{"2025-01-29", "2026-02-17"}));
    EXPECT_EQ(DaysOf(events, "冬至"), (std::vector<std::string>{"2025-12-21", "2026-12-22"}));
    size_t terms = 0;
    std::set<std::string> keys;
    for (const CalendarEvent& e : events) {
        terms += e.kind == EventKind::SolarTerm;
        EXPECT_TRUE(keys.insert(e.key).second) << e.key;
        EXPECT_EQ(e.timed, e.kind == EventKind::SolarTerm || e.kind == EventKind::Moon);
    }
    EXPECT_EQ(terms, 48u);
    // Commemorative days only when asked for.
    EXPECT_TRUE(DaysOf(events, "世界无烟日").empty());
    EventSelection all;
    all.allFestivals = true;
    EXPECT_EQ(DaysOf(CalendarEventsOfYears(2025, 1, all), "世界无烟日"), std::vector<std::string>{"2025-05-31"});
    // The spans the windows do not show give nothing.
    EXPECT_TRUE(CalendarEventsOfYears(4103, 2, {}).empty());
    EXPECT_TRUE(CalendarEventsOfYears(2025, 0, {}).empty());
}

class CalendarEventsStored : public RegistrySandbox {
protected:
    void TearDown() override
    {
        UseRegistry = NearLocateMemorialFlag = 0;
        RegistrySandbox::TearDown();
    }
};

TEST_F(CalendarEventsStored, PlacedAsTheDayWindowsPlaceThem)
{
    auto put = [](const std::string& key, const std::string& name, const std::string& data) {
        RegWriteText(RegistryRoot::CurrentUser, key, name, data);
    };
    put(MemorialKeyPath(MemorialCalendar::Lunar), "05-05", "AD2000" + RightAlignedStoredText("端午"));
    put(MemorialKeyPath(MemorialCalendar::Gregorian), "02-29", "AD2000" + RightAlignedStoredText("闰日"));
    put(MemorialKeyPath(MemorialCalendar::Hijri), "09-01", "AD1400" + RightAlignedStoredText("斋月"));
    put(ReminderKeyPath, "A", "AD03-01-2025" + RightAlignedStoredText("提醒"));
    put(LumoraKeyPath, CountdownValueName, "AD01-01-2026" + RightAlignedStoredText("新年"));
    EventSelection storedOnly{false, false, false, false, true};

    UseRegistry = 0;  // the stored days exist only with registry use
    EXPECT_TRUE(CalendarEventsOfYears(2025, 2, storedOnly).empty());

    UseRegistry = 1;
    std::vector<CalendarEvent> events = CalendarEventsOfYears(2025, 2, storedOnly);
    EXPECT_EQ(DaysOf(events, "端午"), (std::vector<std::string>{"2025-05-31", "2026-06-19"}));
    EXPECT_EQ(DaysOf(events, "斋月"), (std::vector<std::string>{"2025-03-01", "2026-02-18"}));
    EXPECT_TRUE(DaysOf(events, "闰日").empty());
    EXPECT_EQ(DaysOf(events, "提醒"), std::vector<std::string>{"2025-03-01"});
    // The countdown is its own day once, not the days counted down to it.
    EXPECT_EQ(DaysOf(events, "新年"), std::vector<std::string>{"2026-01-01"});

    NearLocateMemorialFlag = 1;  // 29 February shows on the 28th of common years
    events = CalendarEventsOfYears(2027, 2, storedOnly);
    EXPECT_EQ(DaysOf(events, "闰日"), (std::vector<std::string>{"2027-02-28", "2028-02-29"}));
}
