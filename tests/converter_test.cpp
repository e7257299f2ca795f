#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "calendar_flags.h"
#include "converter.h"
#include "day_card.h"
#include "hijri_calendar.h"

namespace {

int32_t Read(const std::string& text, FieldCalendar calendar = FieldCalendar::Gregorian, bool bc = false)
{
    return ReadDateField({text, calendar, bc});
}

ConverterFields Fields(const std::string& first, const std::string& second = "", const std::string& result = "",
                       FieldCalendar firstCalendar = FieldCalendar::Gregorian,
                       FieldCalendar secondCalendar = FieldCalendar::Gregorian)
{
    return {{first, firstCalendar, false}, {second, secondCalendar, false}, result};
}

std::string IntervalDate(const std::string& from, const std::string& days,
                         FieldCalendar to = FieldCalendar::Gregorian)
{
    return IntervalDateAction(Fields(from, "x", days, FieldCalendar::Gregorian, to)).second.text;
}

std::vector<std::string> Split(const std::string& line, char separator)
{
    std::vector<std::string> parts(1);
    for (char c : line) {
        if (c == separator) parts.emplace_back();
        else parts.back().push_back(c);
    }
    return parts;
}

}  // namespace

TEST(ConverterReadDateField, GregorianShapesAndTheGapOf1582)
{
    EXPECT_EQ(Read("01-01-2000"), 2451545);
    EXPECT_EQ(Read("1-1-2000"), 2451545);
    EXPECT_EQ(Read("10-04-1582"), 2299160);
    EXPECT_EQ(Read("10-15-1582"), 2299161);
    EXPECT_EQ(Read("02-29-1500"), DateToDayNumber(1500, 2, 29));  // Julian leap year
    for (const char* bad : {"10-10-1582", "02-29-1900", "13-01-2000", "2000-01-01", "1/2/2000", "1-2-3-4",
                            "01-01-0000", "1-1-10000", "", "-", "--1-2000", "二○○○年一月", "99-99-9999"})
        EXPECT_EQ(Read(bad), NoDayNumber) << bad;
}

TEST(ConverterReadDateField, TheToolsSpanAndTheBeforeYearOneBox)
{
    EXPECT_EQ(FirstJulianDay, DateToDayNumber(MinShownYear, 1, 1));
    EXPECT_EQ(LastJulianDay, DateToDayNumber(ToolMaxYear, 12, 31));
    EXPECT_EQ(Read("01-01-0104", FieldCalendar::Gregorian, true), FirstJulianDay);
    EXPECT_EQ(Read("12-31-0105", FieldCalendar::Gregorian, true), NoDayNumber);
    EXPECT_EQ(Read("01-01-0001", FieldCalendar::Gregorian, true), 1721058);  // year 0
    EXPECT_EQ(Read("01-01-4713", FieldCalendar::Gregorian, true), NoDayNumber);  // day 0 lies before the span
    EXPECT_EQ(Read("12-31-5000"), LastJulianDay);
    EXPECT_EQ(Read("01-01-5001"), NoDayNumber);
    // The window's first text round-trips, also before year 1.
    DateField bc = InitialDateField({-103, 2, 1});
    EXPECT_EQ(bc.text, "02-01-0104");
    EXPECT_TRUE(bc.beforeYearOne);
    EXPECT_EQ(ReadDateField(bc), DateToDayNumber(-103, 2, 1));
    EXPECT_FALSE(InitialDateField({2000, 1, 1}).beforeYearOne);
}

TEST(ConverterReadDateField, LunarDatesAsTyped)
{
    EXPECT_EQ(Read("01-01-2024", FieldCalendar::Lunar), DateToDayNumber(2024, 2, 10));
    EXPECT_EQ(Read("16-02-2020", FieldCalendar::Lunar), DateToDayNumber(2020, 5, 24));  // leap 4th month
    EXPECT_EQ(Read("17-02-2020", FieldCalendar::Lunar), NoDayNumber);  // 2020 has no leap 5th month
    EXPECT_EQ(Read("01-29-2020", FieldCalendar::Lunar), DateToDayNumber(2020, 2, 22));
    EXPECT_EQ(Read("01-30-2020", FieldCalendar::Lunar), NoDayNumber);  // the 1st month of 2020 is short
    EXPECT_EQ(Read("01-01-0104", FieldCalendar::Lunar, true), 1683490);  // lunar year -103
    EXPECT_EQ(Read("01-01-0105", FieldCalendar::Lunar, true), NoDayNumber);  // begins before the span
    EXPECT_EQ(Read("12-01-5000", FieldCalendar::Lunar), LastJulianDay);
    EXPECT_EQ(Read("12-02-5000", FieldCalendar::Lunar), NoDayNumber);
    EXPECT_EQ(Read("01-01-9999", FieldCalendar::Lunar), NoDayNumber);
}

TEST(ConverterReadDateField, HijriDates)
{
    EXPECT_EQ(Read("01-01-0001", FieldCalendar::Hijri), 1948440);
    EXPECT_EQ(Read("01-01-0001", FieldCalendar::Hijri, true), 1948086);  // Hijri year 0
    EXPECT_EQ(Read("12-30-0002", FieldCalendar::Hijri), HijriToDayNumber(2, 12, 30));
    EXPECT_EQ(Read("12-30-0001", FieldCalendar::Hijri), NoDayNumber);  // not a leap year
    EXPECT_EQ(Read("03-06-0748", FieldCalendar::Hijri, true), FirstJulianDay);
    EXPECT_EQ(Read("03-05-0748", FieldCalendar::Hijri, true), NoDayNumber);
    EXPECT_EQ(Read("11-01-4513", FieldCalendar::Hijri), LastJulianDay);
    EXPECT_EQ(Read("11-02-4513", FieldCalendar::Hijri), NoDayNumber);
}

TEST(ConverterActions, JulianDayAndStemBranchEmptyTheFieldTheyCannotRead)
{
    ConverterFields done = JulianDayAction(Fields("01-01-2000", "", "old"));
    EXPECT_EQ(done.first.text, "01-01-2000");
    EXPECT_EQ(done.result, "2451545");
    done = JulianDayAction({{"01-01-4713", FieldCalendar::Gregorian, true}, {}, "old"});
    EXPECT_EQ(done.first.text, "");
    EXPECT_EQ(done.result, "");

    GanZhiFromChunjieFlag = 0;
    EXPECT_EQ(StemBranchAction(Fields("01-01-2000")).result, "己卯(兔)年丙子月戊午日");
    EXPECT_EQ(StemBranchAction(Fields("02-09-2024")).result, "甲辰(龙)年丙寅月癸卯日");  // after 立春
    GanZhiFromChunjieFlag = 1;
    EXPECT_EQ(StemBranchAction(Fields("02-09-2024")).result, "癸卯(兔)年乙丑月癸卯日");  // before 春节
    GanZhiFromChunjieFlag = 0;
    ConverterFields first{{"02-01-0104", FieldCalendar::Gregorian, true}, {}, ""};
    EXPECT_EQ(StemBranchAction(first).result, "丙子(鼠)年辛丑月壬寅日");
    done = StemBranchAction(Fields("02-30-2000", "", "old"));
    EXPECT_EQ(done.first.text, "");
    EXPECT_EQ(done.result, "");
}

TEST(ConverterActions, IntervalBetweenTwoDates)
{
    EXPECT_EQ(IntervalAction(Fields("10-04-1582", "10-15-1582")).result, "1");
    EXPECT_EQ(IntervalAction(Fields("01-01-1582", "01-01-1583")).result, "355");
    EXPECT_EQ(IntervalAction(Fields("01-01-2000", "12-25-1999")).result, "-7");
    ConverterFields span{{"01-01-0104", FieldCalendar::Gregorian, true}, {"12-31-5000"}, ""};
    EXPECT_EQ(IntervalAction(span).result, std::to_string(LastJulianDay - FirstJulianDay));
    // Lunar New Year to Gregorian New Year's Day of the same year.
    ConverterFields mixed = Fields("01-01-2024", "01-01-2024", "", FieldCalendar::Lunar);
    EXPECT_EQ(IntervalAction(mixed).result, "-40");

    ConverterFields done = IntervalAction(Fields("01-01-2000", "10-10-1582", "old"));
    EXPECT_EQ(done.first.text, "01-01-2000");
    EXPECT_EQ(done.second.text, "");
    EXPECT_EQ(done.result, "");
}

TEST(ConverterActions, DateSomeDaysAway)
{
    EXPECT_EQ(IntervalDate("01-11-2000", "-10"), "AD01-01-2000");
    EXPECT_EQ(IntervalDate("10-04-1582", "1"), "AD10-15-1582");
    EXPECT_EQ(IntervalDate("10-15-1582", "-1"), "AD10-04-1582");
    EXPECT_EQ(IntervalDate("12-31-5000", "0"), "AD12-31-5000");
    EXPECT_EQ(IntervalDate("12-31-5000", "1"), "");
    EXPECT_EQ(IntervalDate("02-10-2024", "0", FieldCalendar::Lunar), "AD01-01-2024");
    EXPECT_EQ(IntervalDate("05-23-2020", "1", FieldCalendar::Lunar), "AD16-02-2020");
    EXPECT_EQ(IntervalDate("07-15-0622", "1", FieldCalendar::Hijri), "AD01-01-0001");
    for (const char* bad : {"1-0", "--5", "", "-", "+5", "5 ", "五", "99999999999999999999999", "-99999999999"})
        EXPECT_EQ(IntervalDate("01-11-2000", bad), "") << bad;
    EXPECT_EQ(ReadIntervalDays("-0010"), -10);

    ConverterFields done = IntervalDateAction(Fields("02-30-2000", "AD01-01-2000", "5"));
    EXPECT_EQ(done.first.text, "");
    EXPECT_EQ(done.second.text, "");
    EXPECT_EQ(done.result, "5");  // the typed interval stays
    EXPECT_EQ(ConverterAction(IntervalMode, true, Fields("01-11-2000", "", "-10")).second.text, "AD01-01-2000");
    EXPECT_EQ(ConverterAction(IntervalMode, false, Fields("01-11-2000", "01-01-2000")).result, "-10");
}

TEST(ConverterActions, ConversionBetweenTheThreeCalendars)
{
    auto convert = [](const std::string& text, FieldCalendar from, FieldCalendar to, bool bc = false) {
        return ConversionAction({{text, from, bc}, {"old", to, false}, ""}).second.text;
    };
    EXPECT_EQ(convert("02-10-2024", FieldCalendar::Gregorian, FieldCalendar::Lunar), "AD01-01-2024");
    EXPECT_EQ(convert("16-02-2020", FieldCalendar::Lunar, FieldCalendar::Gregorian), "AD05-24-2020");
    EXPECT_EQ(convert("01-01-0001", FieldCalendar::Hijri, FieldCalendar::Gregorian), "AD07-16-0622");
    EXPECT_EQ(convert("01-01-0104", FieldCalendar::Gregorian, FieldCalendar::Hijri, true), "BC03-06-0748");
    EXPECT_EQ(convert("01-01-0104", FieldCalendar::Gregorian, FieldCalendar::Lunar, true), "BC11-09-0105");
    EXPECT_EQ(convert("12-31-5000", FieldCalendar::Gregorian, FieldCalendar::Lunar), "AD12-01-5000");
    EXPECT_EQ(convert("10-10-1582", FieldCalendar::Gregorian, FieldCalendar::Lunar), "");

    // Day 30 of a short lunar month empties both date fields.
    ConverterFields done = ConversionAction(Fields("01-30-2020", "old", "", FieldCalendar::Lunar));
    EXPECT_EQ(done.first.text, "");
    EXPECT_EQ(done.second.text, "");
}

// The words lumora-cli convert prints: the year without its alignment
// blanks, a leap month by name, the stem-branch date of the civil day, and
// days beyond the tools' span.
TEST(ConverterWords, DayInEachCalendar)
{
    struct Row {
        CalendarDate date;
        FieldCalendar calendar;
        const char* words;
    } rows[] = {
        {{2020, 5, 24}, FieldCalendar::Lunar, "二○二○年闰四月初二 庚子(鼠)年辛巳月丁卯日"},
        {{2023, 7, 19}, FieldCalendar::Hijri, "回历1445年1月1日 癸卯(兔)年己未月戊寅日"},
        {{-103, 1, 1}, FieldCalendar::Gregorian, "前104年1月1日 星期二 丙子(鼠)年庚子月辛未日"},
        {{9000, 6, 1}, FieldCalendar::Lunar, "九○○○年四月廿八 庚申(猴)年壬午月丁卯日"},
    };
    for (const Row& row : rows) EXPECT_EQ(DayInWords(DateToDayNumber(row.date), row.calendar), row.words);
    EXPECT_EQ(DayInWords(NoDayNumber, FieldCalendar::Gregorian), "");
}

TEST(ConverterExport, DayLineFields)
{
    GanZhiFromChunjieFlag = 0;
    EXPECT_EQ(DayExportLine(DateToDayNumber(2024, 2, 4), '\t'),
              "2024-02-04\tAD02-04-2024\tAD12-25-2023\tAD07-24-1445\t甲辰(龙)年丙寅月戊戌日\t星期日\t\t立春");
    std::vector<std::string> springFestival = Split(DayExportLine(DateToDayNumber(2024, 2, 10), '\t'), '\t');
    ASSERT_EQ(springFestival.size(), 8u);
    EXPECT_EQ(springFestival[6], "春节 国际气象节");
    EXPECT_EQ(springFestival[7], "");
    std::string first = DayExportLine(FirstJulianDay, ' ');
    EXPECT_EQ(first.substr(0, 24), "-0103-01-01 BC01-01-0104");
}

// The export finds the solar terms and the stem-branch years and months
// once per term; every line must still be the line of that day alone, also
// across changes of the historical calendars and of the year.
TEST(ConverterExport, SpanGivesTheLinesOfItsDays)
{
    auto check = [](int32_t first, int32_t last) {
        int32_t j = first;
        ExportDayLines(first, last, '\t', [&](const std::string& line) {
            ASSERT_EQ(line, DayExportLine(j, '\t')) << j;
            ++j;
        });
        EXPECT_EQ(j, last + 1);
    };
    GanZhiFromChunjieFlag = 0;
    check(FirstJulianDay, FirstJulianDay + 60);
    check(DateToDayNumber(1582, 9, 20), DateToDayNumber(1583, 2, 20));
    check(DateToDayNumber(1644, 12, 1), DateToDayNumber(1645, 3, 1));  // the Qing calendar begins
    check(DateToDayNumber(2023, 12, 20), DateToDayNumber(2024, 3, 10));
    GanZhiFromChunjieFlag = 1;
    check(DateToDayNumber(2024, 1, 25), DateToDayNumber(2024, 3, 15));
    GanZhiFromChunjieFlag = 0;
    SetModernCalculateAncientFlag(1);
    check(DateToDayNumber(1644, 12, 1), DateToDayNumber(1645, 3, 1));
    SetModernCalculateAncientFlag(0);

    int lines = 0;
    ExportDayLines(10, 9, ' ', [&](const std::string&) { ++lines; });
    EXPECT_EQ(lines, 0);
}
