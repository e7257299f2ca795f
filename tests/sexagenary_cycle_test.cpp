#include "sexagenary_cycle.h"

#include <gtest/gtest.h>

#include "calendar_flags.h"
#include "civil_calendar.h"

TEST(SexagenaryCycle, DayCycleRunsThroughNegativeDayNumbers)
{
    EXPECT_EQ(DayCycleIndex(2000, 1, 1), 55);  // 戊午
    for (int32_t jd : {11, 11 - 60, 11 - 600000}) {
        CalendarDate date = *DayNumberToDate(jd);
        EXPECT_EQ(DayCycleIndex(date.year, date.month, date.day), 1) << jd;
    }
    EXPECT_EQ(DayCycleIndex(-4712, 1, 11), 60);  // day number 10
    EXPECT_EQ(DayCycleIndex(1582, 10, 10), 0);
}

TEST(SexagenaryCycle, YearBeginsAtSpringStartOrAtNewYear)
{
    SetModernCalculateAncientFlag(0);
    EXPECT_EQ(YearCycleIndex(1984, 2, 4, 0), 1);   // 立春 of 1984: 甲子
    EXPECT_EQ(YearCycleIndex(1984, 2, 3, 0), 60);  // the day before: 癸亥
    // 2024: 立春 on February 4, New Year on February 10.
    EXPECT_EQ(YearCycleIndex(2024, 2, 5, 0), 41);  // 甲辰 from 立春
    EXPECT_EQ(YearCycleIndex(2024, 2, 5, 1), 40);  // still 癸卯 before New Year
    EXPECT_EQ(YearCycleIndex(2024, 2, 10, 1), 41);
    // 2023: New Year on January 22, before 立春.
    EXPECT_EQ(YearCycleIndex(2023, 1, 25, 0), 39);
    EXPECT_EQ(YearCycleIndex(2023, 1, 25, 1), 40);
    EXPECT_EQ(YearAnimalIndex(2024, 2, 10, 1), 5);  // 龙
    EXPECT_EQ(YearCycleIndex(2023, 2, 29, 0), 0);
}

TEST(SexagenaryCycle, MonthsChangeOnSolarTermsOrLunarMonths)
{
    SetModernCalculateAncientFlag(0);
    // 惊蛰 2024 falls on March 5: the month turns from 丙寅 to 丁卯.
    EXPECT_EQ(CurrentTermIndex(2024, 3, 4), 4);
    EXPECT_EQ(CurrentTermIndex(2024, 3, 5), 5);
    EXPECT_EQ(MonthCycleIndex(2024, 3, 4, 0), 3);
    EXPECT_EQ(MonthCycleIndex(2024, 3, 5, 0), 4);
    // After 小寒 but before 立春: the 12th month of 癸卯, 乙丑.
    EXPECT_EQ(MonthCycleIndex(2024, 1, 10, 0), 2);
    // 2020 has a leap 4th month: it repeats the stem-branch of the 4th month.
    EXPECT_EQ(MonthCycleIndex(2020, 5, 20, 1), MonthCycleIndex(2020, 6, 1, 1));
    EXPECT_NE(MonthCycleIndex(2020, 6, 25, 1), MonthCycleIndex(2020, 6, 1, 1));
    EXPECT_EQ(CurrentTermIndex(2024, 1, 1), 24);  // still in the period of 冬至
}

TEST(SexagenaryCycle, DisplayText)
{
    SetModernCalculateAncientFlag(0);
    EXPECT_EQ(CycleDateText(2024, 2, 10, 1), "甲辰(龙)年丙寅月甲辰日");
    EXPECT_EQ(CycleDateText(2000, 1, 1, 0), "己卯(兔)年丙子月戊午日");
    EXPECT_EQ(CycleDateText(9001, 1, 1, 0), "");
    EXPECT_EQ(CycleDateText(-9000, 6, 1, 1), "");
    EXPECT_EQ(CycleDateText(2024, 2, 30, 0), "");
}
