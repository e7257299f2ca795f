#include "hijri_calendar.h"

#include <climits>
#include <gtest/gtest.h>

#include "civil_calendar.h"
#include "date_text.h"

namespace {

int64_t FloorDiv(int64_t a, int64_t b) { return (a - FloorMod(a, b)) / b; }

// The same calendar counted another way: 354 days a year, plus the leap days
// of the years before (floor((3 + 11 y) / 30) puts them at the cycle places
// 2, 5, 7, ..., 29), plus 30 and 29 alternating months.
int64_t DayNumberByLeapCount(const HijriDate& h)
{
    return 1948439 + int64_t(h.year - 1) * 354 + FloorDiv(3 + 11 * int64_t(h.year), 30) +
           29 * (h.month - 1) + h.month / 2 + h.day;
}

HijriDate NextDay(const HijriDate& h)
{
    if (h.day < HijriMonthLength(h.year, h.month)) return {h.year, h.month, h.day + 1};
    if (h.month < 12) return {h.year, h.month + 1, 1};
    return {h.year + 1, 1, 1};
}

}  // namespace

// Every civil day in the Hijri range goes to a Hijri date and back, the Hijri
// dates follow each other day by day by the month lengths of
// HijriMonthLength, each lands on the day number that an independent
// leap-day count gives, and the tagged texts say the same.
TEST(HijriCalendar, EveryDayOfTheRangeRoundTrips)
{
    const int32_t first = -1594872, last = 5373484;
    HijriDate expected{-9998, 1, 1};
    for (int32_t j = first; j <= last; ++j) {
        CalendarDate civil = *DayNumberToDate(j);
        auto h = HijriDateOfDay(j);
        ASSERT_TRUE(h) << j;
        std::string hijriText = DateToText({h->year, h->month, h->day});
        ASSERT_EQ(*h, expected) << j << " " << hijriText;
        ASSERT_EQ(SolarToHijriText(civil.year, civil.month, civil.day), hijriText) << j;
        ASSERT_EQ(HijriToDayNumber(h->year, h->month, h->day), j) << hijriText;
        ASSERT_EQ(DayNumberByLeapCount(*h), j) << hijriText;
        ASSERT_EQ(HijriToSolarText(h->year, h->month, h->day), DateToText(civil)) << hijriText;
        expected = NextDay(*h);
    }
    EXPECT_EQ(SolarToHijriText(-9079, 6, 23), "");  // the day before the range
    EXPECT_FALSE(HijriDateOfDay(first - 1));
    EXPECT_FALSE(HijriDateOfDay(last + 1));
    EXPECT_EQ(HijriToSolarText(expected.year, expected.month, expected.day), "");
    EXPECT_EQ(expected.year, 9666);
}

TEST(HijriCalendar, KnownDays)
{
    EXPECT_EQ(HijriToDayNumber(1, 1, 1), 1948440);
    EXPECT_EQ(SolarToHijriText(622, 7, 15), "BC12-29-0001");
    EXPECT_EQ(SolarToHijriText(2026, 1, 1), "AD07-12-1447");
    // 1440 closes a 30-year cycle: its 12-29 is the cycle's last day.
    EXPECT_EQ(SolarToHijriText(2019, 8, 31), "AD12-29-1440");
    EXPECT_EQ(SolarToHijriText(2019, 9, 1), "AD01-01-1441");
    // Day 30 of month 1 must not spill into month 2.
    EXPECT_EQ(SolarToHijriText(2025, 7, 26), "AD01-30-1447");
}

TEST(HijriCalendar, LeapYearsAndInvalidDates)
{
    for (int32_t y : {2, 29, 32, -1, -28}) EXPECT_EQ(IsHijriLeapYear(y), 1) << y;
    for (int32_t y : {0, 15, 30, -2, INT32_MIN}) EXPECT_EQ(IsHijriLeapYear(y), 0) << y;
    EXPECT_EQ(IsValidHijriDate(2, 12, 30), 1);
    EXPECT_EQ(IsValidHijriDate(9999, 1, 1), 1);
    EXPECT_EQ(HijriMonthLength(2, 12) * 100 + HijriMonthLength(1, 12), 3029);
    EXPECT_EQ(HijriMonthLength(1, 1) * 100 + HijriMonthLength(1, 2), 3029);
    for (auto [y, m, d] : {HijriDate{1, 12, 30}, {1, 2, 30}, {1, 13, 1}, {1, 1, 0}, {1, INT_MIN, 1},
                           {1, 1, INT_MAX}, {-9999, 12, 29}, {10000, 1, 1}, {INT32_MIN, 1, 1}}) {
        EXPECT_EQ(IsValidHijriDate(y, m, d), 0) << y << "-" << m << "-" << d;
        EXPECT_EQ(HijriToDayNumber(y, m, d), NoDayNumber);
        EXPECT_EQ(HijriToSolarText(y, m, d), "");
        if (d == 1) {
            EXPECT_EQ(HijriMonthLength(y, m), 0);
        }
    }
    EXPECT_EQ(SolarToHijriText(1582, 10, 10) + SolarToHijriText(INT32_MIN, 1, 1), "");
}
