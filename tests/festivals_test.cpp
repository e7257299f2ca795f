#include "festivals.h"

#include <gtest/gtest.h>

#include "calendar_flags.h"
#include "civil_calendar.h"
#include "lunar_year.h"

TEST(Festivals, DayTextJoinsTheLunarAndGregorianFestivals)
{
    EXPECT_EQ(DayFestivalText(2010, 2, 14), "春节 情人节");
    EXPECT_EQ(DayFestivalText(2024, 2, 14), "情人节");
    EXPECT_EQ(DayFestivalText(2023, 1, 22), "春节");
    EXPECT_EQ(DayFestivalText(1988, 5, 8), "世界红十字日 母亲节");
    EXPECT_EQ(DayFestivalText(2024, 2, 11), "");
}

TEST(Festivals, FixedDatesWithTheirFirstYearsAndFullNames)
{
    EXPECT_EQ(GregorianFestivalText(1920, 3, 8, 1), "国际妇女节");
    EXPECT_EQ(GregorianFestivalText(1920, 3, 8, 0), "妇女节");
    EXPECT_EQ(GregorianFestivalText(1910, 3, 8, 1), "");
    EXPECT_EQ(GregorianFestivalText(1998, 7, 1, 1), "建党节");
    EXPECT_EQ(GregorianFestivalText(1999, 7, 1, 1), "建党节 香港回归纪念日");
    EXPECT_EQ(GregorianFestivalText(1999, 7, 1, 0), "建党节");
    EXPECT_EQ(GregorianFestivalText(2024, 10, 31, 0), "");  // commemorative only
    EXPECT_EQ(GregorianFestivalText(2024, 10, 31, 1), "万圣节");
    EXPECT_EQ(GregorianFestivalText(-500, 1, 1, 0), "元旦节");
    EXPECT_EQ(GregorianFestivalText(1582, 10, 10, 1), "");
    EXPECT_EQ(GregorianFestivalText(9001, 1, 1, 1), "");
}

TEST(Festivals, WeekdayRulesJoinTheFixedName)
{
    EXPECT_EQ(GregorianFestivalText(2000, 5, 14, 0), "母亲节");
    EXPECT_EQ(GregorianFestivalText(1912, 5, 12, 0), "");  // before 1913
    EXPECT_EQ(GregorianFestivalText(1912, 5, 12, 1), "国际护士节");
    EXPECT_EQ(GregorianFestivalText(1988, 5, 8, 1), "世界红十字日 母亲节");
    EXPECT_EQ(GregorianFestivalText(1988, 5, 8, 0), "母亲节");
    EXPECT_EQ(GregorianFestivalText(2024, 6, 16, 0), "父亲节");
    EXPECT_EQ(GregorianFestivalText(2024, 11, 28, 0), "感恩节");
    EXPECT_EQ(NthWeekdayOfMonth(2024, 2, 5, 4), 29);  // a fifth Thursday in a leap February
    EXPECT_EQ(NthWeekdayOfMonth(2023, 2, 5, 4), 0);
    EXPECT_EQ(NthWeekdayOfMonth(1582, 10, 1, 5), 15);  // the first Friday after the gap
    EXPECT_EQ(NthWeekdayOfMonth(2024, 5, 0, 0), 0);
    EXPECT_EQ(NthWeekdayOfMonth(2024, 5, 2147483647, 0), 0);
    EXPECT_EQ(NthWeekdayOfMonth(2024, 5, 1, 7), 0);
}

TEST(Festivals, EasterFollowsTheEquinoxFullMoon)
{
    SetModernCalculateAncientFlag(0);
    // Easter from the equinox and full moon as computed here (UTC+8). In 2019
    // and 2000 the full moon falls on the equinox day itself, which counts,
    // so Easter comes a month before the church tables' date.
    for (CalendarDate easter : {CalendarDate{2024, 3, 31}, {2025, 4, 20}, {2023, 4, 9}, {2019, 3, 24}, {2000, 3, 26}}) {
        EXPECT_EQ(GregorianFestivalText(easter.year, easter.month, easter.day, 0), "复活节") << easter.year;
        int32_t j = DateToDayNumber(easter);
        for (int32_t other = j - 70; other <= j + 70; other += 7) {
            if (other == j) continue;
            CalendarDate o = *DayNumberToDate(other);
            EXPECT_EQ(GregorianFestivalText(o.year, o.month, o.day, 0).find("复活节"), std::string::npos)
                << o.year << "-" << o.month << "-" << o.day;
        }
    }
    EXPECT_EQ(GregorianFestivalText(324, 4, 1, 0).find("复活节"), std::string::npos);
}

TEST(Festivals, LunarFestivalsAndTheLastDaysOfTheYear)
{
    SetModernCalculateAncientFlag(0);
    EXPECT_EQ(LunarFestivalText(2024, 1, 1), "春节");
    EXPECT_EQ(LunarFestivalText(2024, 8, 15), "中秋节");
    EXPECT_EQ(LunarFestivalText(-278, 5, 5), "");
    EXPECT_EQ(LunarFestivalText(-277, 5, 5), "端午节");
    EXPECT_EQ(LunarFestivalText(2020, 16, 5), "");  // leap months other than the twelfth carry none
    // 除夕 is the last day of the twelfth month, whether it has 29 or 30 days.
    for (int32_t y = 2000; y < 2040; ++y) {
        bool longTwelfth = IsValidLunarDate(y, 12, 30);
        EXPECT_EQ(LunarFestivalText(y, 12, 29), longTwelfth ? "" : "除夕") << y;
        if (longTwelfth) {
            EXPECT_EQ(LunarFestivalText(y, 12, 30), "除夕") << y;
        }
        EXPECT_EQ(LunarFestivalText(y, 12, 23), "小年") << y;
    }
    EXPECT_EQ(LunarFestivalText(2024, 13, 1), "");
    EXPECT_EQ(LunarFestivalText(9001, 1, 1), "");
}

TEST(Festivals, ALeapTwelfthMonthTakesTheYearsEnd)
{
    SetModernCalculateAncientFlag(0);
    // Find a year with a leap twelfth month and check where 小年 and 除夕 go.
    int32_t year = 0;
    for (int32_t y = 1; y < 3000 && !year; ++y)
        if (GetLunarYearRecord(y)[12] == 'C') year = y;
    ASSERT_NE(year, 0);
    EXPECT_EQ(LunarFestivalText(year, 12, 23), "");
    EXPECT_EQ(LunarFestivalText(year, 12, 8), "腊八节");
    EXPECT_EQ(LunarFestivalText(year, 24, 23), "小年");
    EXPECT_EQ(LunarFestivalText(year, 24, IsValidLunarDate(year, 24, 30) ? 30 : 29), "除夕");
}
