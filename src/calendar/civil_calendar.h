// The civil calendar every other module speaks: Julian rules up to
// 1582-10-04, Gregorian rules from 1582-10-15, years -9998..9999 in
// astronomical numbering (year 0 is 1 BC), and the Julian day number of a
// civil day (the Julian date of its noon).
#pragma once
#include <cstdint>
#include <optional>

struct CalendarDate {
    int32_t year;
    int month;
    int day;
    bool operator==(const CalendarDate&) const = default;
};

// The error result of every date-to-day-number conversion.
constexpr int32_t NoDayNumber = -100000000;
// Day numbers of -9998-01-01 and 9999-12-31.
constexpr int32_t FirstDayNumber = -1930711;
constexpr int32_t LastDayNumber = 5373484;
constexpr int32_t FirstYear = -9998;
constexpr int32_t LastYear = 9999;
// 1582-10-15, the first Gregorian day.
constexpr int32_t GregorianStartDay = 2299161;

int IsLeapYear(int32_t year);
int DaysInYear(int32_t year);
int IsValidDate(int32_t year, int month, int day);
// 1-based ordinal of a valid date, 0 for an invalid one.
int DayOfYear(int32_t year, int month, int day);
int32_t DateToDayNumber(int32_t year, int month, int day);
inline int32_t DateToDayNumber(const CalendarDate& date)
{
    return DateToDayNumber(date.year, date.month, date.day);
}
std::optional<CalendarDate> DayNumberToDate(int32_t dayNumber);
std::optional<CalendarDate> DayOfYearToDate(int32_t year, int ordinal);
// 0 is Sunday, 6 Saturday.
int WeekdayOfDayNumber(int32_t dayNumber);

// Remainder that is never negative, for weekdays and cycle positions.
inline int64_t FloorMod(int64_t a, int64_t n)
{
    int64_t r = a % n;
    return r < 0 ? r + n : r;
}
