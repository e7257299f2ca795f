#include "civil_calendar.h"

#include <gtest/gtest.h>

TEST(CivilCalendar, EveryDayOfTheRangeRoundTripsAndFollowsTheDayBefore)
{
    CalendarDate previous = *DayNumberToDate(FirstDayNumber);
    EXPECT_EQ(previous, (CalendarDate{-9998, 1, 1}));
    for (int32_t z = FirstDayNumber; z <= LastDayNumber; ++z) {
        auto date = DayNumberToDate(z);
        ASSERT_TRUE(date) << z;
        ASSERT_EQ(DateToDayNumber(*date), z) << date->year << "-" << date->month << "-" << date->day;
        int ordinal = DayOfYear(date->year, date->month, date->day);
        ASSERT_EQ(DayOfYearToDate(date->year, ordinal), date) << z;
        if (z > FirstDayNumber) {
            // Each day is the day after its predecessor: same year with the
            // next ordinal, or the first day of the next year.
            int previousOrdinal = DayOfYear(previous.year, previous.month, previous.day);
            if (date->year == previous.year)
                ASSERT_EQ(ordinal, previousOrdinal + 1) << z;
            else
                ASSERT_TRUE(date->year == previous.year + 1 && ordinal == 1 &&
                            previousOrdinal == DaysInYear(previous.year))
                    << z;
        }
        previous = *date;
    }
    EXPECT_EQ(previous, (CalendarDate{9999, 12, 31}));
    EXPECT_FALSE(DayNumberToDate(FirstDayNumber - 1));
    EXPECT_FALSE(DayNumberToDate(LastDayNumber + 1));
}

TEST(CivilCalendar, KnownDayNumbers)
{
    struct Case {
        int32_t y;
        int m, d;
        int32_t jd;
    } cases[] = {
        {2000, 1, 1, 2451545},  {1582, 10, 4, 2299160}, {1582, 10, 15, 2299161},
        {-4712, 1, 1, 0},       {-4713, 12, 31, -1},    {-4713, 1, 1, -365},
        {-4716, 1, 1, -1461},   {-9998, 1, 1, -1930711}, {9999, 12, 31, 5373484},
        {0, 12, 31, 1721423},   {1, 1, 1, 1721424},     {-104, 12, 23, 1683429},
    };
    for (const Case& c : cases) EXPECT_EQ(DateToDayNumber(c.y, c.m, c.d), c.jd) << c.y;
}

TEST(CivilCalendar, InvalidDatesGiveTheSentinel)
{
    for (int d = 5; d <= 14; ++d) EXPECT_EQ(DateToDayNumber(1582, 10, d), NoDayNumber) << d;
    EXPECT_EQ(DateToDayNumber(2000, 0, 1), NoDayNumber);
    EXPECT_EQ(DateToDayNumber(2000, 13, 1), NoDayNumber);
    EXPECT_EQ(DateToDayNumber(2000, 4, 31), NoDayNumber);
    EXPECT_EQ(DateToDayNumber(1900, 2, 29), NoDayNumber);
    EXPECT_EQ(DateToDayNumber(-9999, 12, 31), NoDayNumber);
    EXPECT_EQ(DateToDayNumber(10000, 1, 1), NoDayNumber);
    EXPECT_EQ(DateToDayNumber(2000, 1, 0), NoDayNumber);
    EXPECT_EQ(DayOfYear(2000, 2, 30), 0);
    EXPECT_EQ(IsValidDate(1500, 2, 29), 1);
    EXPECT_EQ(IsValidDate(INT32_MIN, 1, 1), 0);
}

TEST(CivilCalendar, LeapYearsFollowJulianThenGregorianRules)
{
    for (int32_t y : {1600, 2000, 1500, 1300, 1000, 4, 0, -4, -8}) EXPECT_EQ(IsLeapYear(y), 1) << y;
    for (int32_t y : {1700, 1800, 1900, -1, -2, 2023}) EXPECT_EQ(IsLeapYear(y), 0) << y;
    EXPECT_EQ(DaysInYear(1582), 355);
    EXPECT_EQ(DaysInYear(2000), 366);
    EXPECT_EQ(DaysInYear(1900), 365);
}

TEST(CivilCalendar, The1582GapInOrdinals)
{
    EXPECT_EQ(DayOfYear(1582, 10, 4), 277);
    EXPECT_EQ(DayOfYear(1582, 10, 15), 278);
    EXPECT_EQ(DayOfYearToDate(1582, 278), (CalendarDate{1582, 10, 15}));
    EXPECT_EQ(DayOfYearToDate(1582, 355), (CalendarDate{1582, 12, 31}));
    EXPECT_FALSE(DayOfYearToDate(1582, 356));
    EXPECT_FALSE(DayOfYearToDate(2023, 366));
    EXPECT_FALSE(DayOfYearToDate(2024, 0));
    EXPECT_FALSE(DayOfYearToDate(10000, 1));
}

TEST(CivilCalendar, WeekdayCountsFromSundayAlsoBeforeDayZero)
{
    EXPECT_EQ(WeekdayOfDayNumber(2451545), 6);  // 2000-01-01, a Saturday
    EXPECT_EQ(WeekdayOfDayNumber(2451546), 0);
    for (int32_t z = -20; z < 20; ++z) {
        int w = WeekdayOfDayNumber(z);
        EXPECT_TRUE(w >= 0 && w < 7) << z;
        EXPECT_EQ(WeekdayOfDayNumber(z + 1), (w + 1) % 7) << z;
    }
    EXPECT_EQ(WeekdayOfDayNumber(INT32_MIN), WeekdayOfDayNumber(INT32_MIN + 7));
}
