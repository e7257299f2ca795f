#include "lunar_year.h"

#include <gtest/gtest.h>

#include "calendar_flags.h"
#include "civil_calendar.h"
#include "date_text.h"

namespace {

// Runs the body under one setting of the calendar and restores the default.
struct ModernSetting {
    explicit ModernSetting(int flag) { SetModernCalculateAncientFlag(flag); }
    ~ModernSetting() { SetModernCalculateAncientFlag(0); }
};

constexpr int32_t SweepFirstYear = -103, SweepLastYear = 5000;

}  // namespace

TEST(LunarYear, HistoricalYearStarts)
{
    ModernSetting historical(0);
    EXPECT_EQ(LunarNewYear(-103), 1683490);
    EXPECT_EQ(LunarNewYear(445), DateToDayNumber(445, 1, 24));
    EXPECT_EQ(YearLeapCode(445), 1);
    EXPECT_EQ(GetLunarYearRecord(445).substr(14), "124");
}

TEST(LunarYear, RecordsOfRecentYears)
{
    ModernSetting modern(0);
    EXPECT_EQ(GetLunarYearRecord(2020).substr(12), "40125");  // leap 4th month
    EXPECT_EQ(GetLunarYearRecord(2033).substr(12, 1), "B");    // leap 11th month ends the year
    EXPECT_EQ(YearLeapCode(2033), 2);
    EXPECT_EQ(GetLunarYearRecord(2024).substr(12), "00210");
    EXPECT_EQ(GetLunarYearRecord(2025).substr(12), "60129");
    EXPECT_EQ(GetLunarYearRecord(FirstRecordYear - 1), "");
    EXPECT_EQ(GetLunarYearRecord(LastRecordYear + 1), "");
    EXPECT_EQ(GetLunarYearRecord(LastRecordYear).size(), 17u);
}

TEST(LunarYear, ShapesDecodeTheRecords)
{
    ModernSetting modern(0);
    struct Row {
        int32_t year;
        int leapMonth, leapMonthDays, newYearMonth, newYearDay;
    };
    for (const Row& row : {Row{2020, 4, 29, 1, 25}, Row{2024, 0, 0, 2, 10}, Row{2025, 6, 29, 1, 29},
                           Row{2033, 11, 29, 1, 31}}) {
        std::string record = GetLunarYearRecord(row.year);
        LunarYearShape shape = *LunarYearShapeOf(row.year);
        EXPECT_EQ(shape.leapMonth, row.leapMonth) << record;
        EXPECT_EQ(shape.leapMonthDays, row.leapMonthDays) << record;
        EXPECT_EQ(shape.newYearMonth, row.newYearMonth) << record;
        EXPECT_EQ(shape.newYearDay, row.newYearDay) << record;
        for (int m = 1; m <= 12; ++m) EXPECT_EQ(shape.monthDays[m], record[size_t(m - 1)] == '1' ? 30 : 29);
    }
    EXPECT_FALSE(LunarYearShapeOf(FirstRecordYear - 1));
    EXPECT_FALSE(LunarYearShapeOf(LastRecordYear + 1));
    EXPECT_TRUE(LunarYearShapeOf(LastRecordYear));
    // Month lengths by month code: the leap month only where the year has it.
    EXPECT_EQ(LunarMonthLength(2020, 16), 29);
    for (int code : {0, 15, 25}) EXPECT_EQ(LunarMonthLength(2020, code), 0) << code;
    EXPECT_EQ(LunarMonthLength(2024, 1) * 100 + LunarMonthLength(2024, 2), 2930);
    EXPECT_EQ(LunarMonthLength(LastRecordYear + 1, 1), 0);
}

TEST(LunarYear, ConversionsAroundNewYear)
{
    EXPECT_EQ(SolarToLunar(2024, 2, 10), "AD01-01-2024");
    EXPECT_EQ(SolarToLunar(2024, 2, 9), "AD12-30-2023");
    EXPECT_EQ(LunarToSolar(2020, 16, 2), "AD05-24-2020");  // leap 4th month, day 2
    EXPECT_EQ(SolarToLunar(2020, 5, 24), "AD16-02-2020");
    EXPECT_EQ(IsValidLunarDate(2024, 13, 1), 0);  // no leap month in 2024
    EXPECT_EQ(IsValidLunarDate(2020, 15, 1), 0);  // the leap month follows the 4th
    EXPECT_EQ(LunarMonthFromOrdinal(2024, 13), 0);
    EXPECT_EQ(LunarMonthFromOrdinal(2020, 5), 16);
    EXPECT_EQ(LunarMonthFromOrdinal(2020, 6), 5);
    EXPECT_EQ(LunarMonthOrdinal(2020, 16), 5);
    EXPECT_EQ(LunarMonthOrdinal(2020, 5), 6);
    EXPECT_EQ(LunarDateFromOrdinal(2024, 0), "");
    EXPECT_EQ(LunarDateFromOrdinal(2024, LunarYearDays(2024) + 1), "");
    // BC years show 1 - y, the first and last years of the range included.
    EXPECT_EQ(SolarToLunar(0, 3, 1), "BC01-07-0001");
    EXPECT_EQ(SolarToLunar(-8999, 1, 1), "BC09-26-9001");
    EXPECT_EQ(SolarToLunar(9000, 12, 31), "AD12-05-9000");
    EXPECT_EQ(SolarToLunar(1582, 10, 10), "");
    EXPECT_EQ(SolarToLunar(9001, 1, 1), "");
    EXPECT_EQ(LunarToSolar(-9000, 1, 1), "");
    EXPECT_EQ(LunarDateOfDay(DateToDayNumber(2024, 2, 9)), (LunarDate{2023, 12, 30}));
    EXPECT_EQ(DayOfLunarDate({2020, 16, 2}), DateToDayNumber(2020, 5, 24));
    EXPECT_EQ(DayOfLunarDate({2024, 13, 1}), NoDayNumber);
    EXPECT_EQ(DayOfLunarDate({-9000, 1, 1}), NoDayNumber);
    EXPECT_FALSE(LunarDateOfDay(DateToDayNumber(9001, 1, 1)));
    EXPECT_FALSE(LunarDateOf({1582, 10, 10}));
}

TEST(LunarYear, The1582GapInsideALunarYear)
{
    // Lunar year 1582 reaches into January 1583; its Gregorian year has 355 days.
    std::string newYear1583 = LunarToSolar(1583, 1, 1);
    ASSERT_EQ(newYear1583.substr(0, 2), "AD");
    int32_t first = DateToDayNumber(1583, 1, 1);
    std::string lunar = SolarToLunar(1583, 1, 1);
    EXPECT_EQ(lunar.substr(8), "1582");
    EXPECT_EQ(LunarToSolar(1582, std::stoi(lunar.substr(2, 2)), std::stoi(lunar.substr(5, 2))),
              "AD01-01-1583");
    EXPECT_EQ(DateToDayNumber(1583, std::stoi(newYear1583.substr(2, 2)), std::stoi(newYear1583.substr(5, 2))) - first,
              LunarYearDays(1582) - LunarDayOrdinal(1582, std::stoi(lunar.substr(2, 2)), std::stoi(lunar.substr(5, 2))) + 1);
}

TEST(LunarYear, SwitchingTheSettingRebuildsTheRecords)
{
    SetModernCalculateAncientFlag(0);
    std::string historical = GetLunarYearRecord(445);
    SetModernCalculateAncientFlag(1);
    std::string modern = GetLunarYearRecord(445);
    EXPECT_NE(historical, modern);
    SetModernCalculateAncientFlag(0);
    EXPECT_EQ(GetLunarYearRecord(445), historical);

    // So do the year starts and the terms kept for the calendar in force.
    SetModernCalculateAncientFlag(1);
    EXPECT_EQ(LunarNewYear(600), 1940229);
    double modernTerm = TermOnOrAfter(1900000, 3);
    SetModernCalculateAncientFlag(0);
    EXPECT_EQ(LunarNewYear(600), 1940228);  // a day earlier by the cycle rule
    double historicalTerm = TermOnOrAfter(1900000, 3);
    EXPECT_NE(historicalTerm, modernTerm);
    SetModernCalculateAncientFlag(1);
    EXPECT_EQ(TermOnOrAfter(1900000, 3), modernTerm);
    SetModernCalculateAncientFlag(0);
    EXPECT_EQ(TermOnOrAfter(1900000, 3), historicalTerm);
}

TEST(LunarYear, MonthCharactersOfConstructedYears)
{
    LunationList l{};
    for (int i = 1; i <= 14; ++i) l.newMoons[i] = 1000 + 30 * (i - 1) - (i / 2);  // 30,29,30,30,...
    for (int i = 1; i <= 13; ++i) l.holdsPrincipalTerm[i] = true;
    std::string lengths;
    for (int i = 1; i <= 13; ++i) lengths += l.newMoons[i + 1] - l.newMoons[i] == 30 ? '1' : '0';
    EXPECT_EQ(MonthCharacters(0, l), lengths.substr(0, 12) + "00");
    // A cycle-rule leap year in which every lunation holds a principal term:
    // the thirteenth becomes a leap 12th month.
    EXPECT_EQ(MonthCharacters(1, l), lengths.substr(0, 12) + "C" + lengths[12]);
    l.holdsPrincipalTerm[5] = false;  // leap month after the 4th
    EXPECT_EQ(MonthCharacters(1, l), lengths.substr(0, 4) + lengths.substr(5, 8) + "4" + lengths[4]);
    l.holdsPrincipalTerm[5] = true;
    l.holdsPrincipalTerm[12] = false;  // code 2: leap 11th month
    EXPECT_EQ(MonthCharacters(2, l), lengths.substr(0, 11) + lengths[12] + "B" + lengths[11]);
    l.holdsPrincipalTerm[12] = true;  // code 2: leap 12th month
    EXPECT_EQ(MonthCharacters(2, l), lengths.substr(0, 12) + "C" + lengths[12]);
}

// Every civil day of 104 BC .. AD 5000 has a lunar date that converts back to
// it, under both settings, and its tagged text says the same; lunar days
// follow each other by the month lengths of the year shapes, and lunar years
// follow each other without gap or overlap from the New Year's day their
// shapes give.
class LunarYearSweep : public testing::TestWithParam<int> {};

TEST_P(LunarYearSweep, EveryDayRoundTripsAndYearsJoin)
{
    ModernSetting setting(GetParam());
    for (int32_t y = SweepFirstYear; y <= SweepLastYear; ++y) {
        std::string r = GetLunarYearRecord(y);
        ASSERT_EQ(r.size(), 17u) << y;
        ASSERT_EQ(r.substr(0, 12).find_first_not_of("01"), std::string::npos) << y << " " << r;
        ASSERT_TRUE(r[12] == '0' ? r[13] == '0' : std::string("123456789ABC").find(r[12]) != std::string::npos)
            << y << " " << r;
        int days = LunarYearDays(y);
        ASSERT_TRUE((days >= 353 && days <= 355) || (days >= 383 && days <= 385)) << y << " " << r;
        ASSERT_EQ(LunarNewYear(y + 1) - LunarNewYear(y), days) << y << " " << r;
        LunarYearShape shape = *LunarYearShapeOf(y);
        ASSERT_EQ(DateToDayNumber(y, shape.newYearMonth, shape.newYearDay), LunarNewYear(y)) << y << " " << r;
    }
    int32_t first = DateToDayNumber(SweepFirstYear, 1, 1), last = DateToDayNumber(SweepLastYear, 12, 31);
    LunarDate previous = *LunarDateOfDay(first - 1);
    for (int32_t day = first; day <= last; ++day) {
        CalendarDate date = *DayNumberToDate(day);
        auto lunar = LunarDateOfDay(day);
        ASSERT_TRUE(lunar) << day;
        ASSERT_EQ(DayOfLunarDate(*lunar), day) << day;
        if (lunar->day == 1)
            ASSERT_EQ(previous.day, LunarMonthLength(previous.year, previous.month)) << day;
        else
            ASSERT_EQ(previous, (LunarDate{lunar->year, lunar->month, lunar->day - 1})) << day;
        std::string text = SolarToLunar(date.year, date.month, date.day);
        ASSERT_EQ(text, DateToText({lunar->year, lunar->month, lunar->day})) << day;
        ASSERT_EQ(LunarToSolar(lunar->year, lunar->month, lunar->day), DateToText(date)) << text;
        previous = *lunar;
    }
}

INSTANTIATE_TEST_SUITE_P(BothSettings, LunarYearSweep, testing::Values(0, 1));
