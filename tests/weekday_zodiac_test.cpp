#include "weekday_zodiac.h"

#include <climits>
#include <gtest/gtest.h>

#include "civil_calendar.h"

TEST(WeekdayZodiac, KnownDaysAndRejectedDates)
{
    EXPECT_EQ(WeekdayName(2000, 1, 1), "星期六");
    EXPECT_EQ(WeekdayName(1582, 10, 4), "星期四");
    EXPECT_EQ(WeekdayName(1582, 10, 15), "星期五");
    EXPECT_EQ(ZodiacSignName(2024, 2, 29), "双鱼座");
    EXPECT_EQ(ZodiacSignName(1582, 10, 4), "天秤座");  // Julian date, no shift
    EXPECT_NE(WeekdayName(-8999, 1, 1), "");
    EXPECT_NE(ZodiacSignName(9000, 12, 31), "");
    for (auto [y, m, d] : {CalendarDate{1582, 10, 10}, {2001, 2, 29}, {2000, 13, 1}, {-9000, 1, 1},
                           {9001, 1, 1}, {INT32_MIN, 1, 1}, {INT32_MAX, 12, 31}})
        EXPECT_EQ(WeekdayName(y, m, d) + ZodiacSignName(y, m, d), "") << y << "-" << m << "-" << d;
}

// Across day number 0 (negative remainders) and the Gregorian switch, the
// name agrees with WeekdayOfDayNumber, which counts from Sunday instead.
TEST(WeekdayZodiac, WeekdayAgreesWithTheSundayCount)
{
    const char* const sundayFirst[7] = {"星期日", "星期一", "星期二", "星期三", "星期四", "星期五", "星期六"};
    for (int32_t base : {-1000, GregorianStartDay - 1000}) {
        for (int32_t j = base; j <= base + 2000; ++j) {
            CalendarDate date = *DayNumberToDate(j);
            ASSERT_EQ(WeekdayName(date.year, date.month, date.day), sundayFirst[WeekdayOfDayNumber(j)]) << j;
        }
    }
}

// Each month ends in the sign that the next month begins with, so a year
// passes through twelve changes, each on the day after the month's limit.
TEST(WeekdayZodiac, SignsChangeTheDayAfterEachLimit)
{
    const int limits[13] = {0, 19, 18, 20, 20, 20, 21, 22, 22, 22, 22, 21, 21};
    std::string sign = ZodiacSignName(2024, 12, 31);
    EXPECT_EQ(sign, "摩羯座");
    int changes = 0;
    for (int32_t j = DateToDayNumber(2025, 1, 1); j <= DateToDayNumber(2025, 12, 31); ++j) {
        CalendarDate date = *DayNumberToDate(j);
        std::string next = ZodiacSignName(date.year, date.month, date.day);
        if (next != sign) {
            ++changes;
            EXPECT_EQ(date.day, limits[date.month] + 1) << date.month << " " << next;
        }
        sign = next;
    }
    EXPECT_EQ(changes, 12);
    EXPECT_EQ(ZodiacSignName(2025, 1, 20), "水瓶座");
    EXPECT_EQ(ZodiacSignName(2025, 12, 22), "摩羯座");
}
