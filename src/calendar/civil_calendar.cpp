#include "civil_calendar.h"

#include <cmath>
#include <cstdlib>

namespace {

bool YearInRange(int32_t year) { return year >= FirstYear && year <= LastYear; }

}  // namespace

int IsLeapYear(int32_t year)
{
    if (year > 1582) {
        if (year % 100 == 0) return year % 400 == 0;
        return year % 4 == 0;
    }
    return year % 4 == 0;  // truncating remainder: 0, -4, -8 are leap
}

int DaysInYear(int32_t year)
{
    if (year == 1582) return 355;
    return IsLeapYear(year) ? 366 : 365;
}

int IsValidDate(int32_t year, int month, int day)
{
    if (!YearInRange(year)) return 0;
    switch (month) {
    case 1: case 3: case 5: case 7: case 8: case 12:
        return day >= 1 && day <= 31;
    case 4: case 6: case 9: case 11:
        return day >= 1 && day <= 30;
    case 10:
        if (year == 1582) return (day >= 1 && day <= 4) || (day >= 15 && day <= 31);
        return day >= 1 && day <= 31;
    case 2:
        return day >= 1 && day <= (IsLeapYear(year) ? 29 : 28);
    default:
        return 0;
    }
}

int DayOfYear(int32_t year, int month, int day)
{
    if (!IsValidDate(year, month, day)) return 0;
    int k = IsLeapYear(year) ? 1 : 2;
    int n = (275 * month) / 9 - k * ((month + 9) / 12) + day - 30;
    if (year == 1582 && 31 * month + day > 314) n -= 10;
    return n;
}

int32_t DateToDayNumber(int32_t year, int month, int day)
{
    if (!IsValidDate(year, month, day)) return NoDayNumber;
    if (year >= -4712) {
        int32_t y = year, m = month;
        if (m <= 2) {
            y -= 1;
            m += 12;
        }
        // The products of the classical formula in whole numbers: here
        // 0 <= y + 4716 < 15000, so 365.2500001 (y + 4716) stays within
        // 0.002 above 1461 (y + 4716) / 4, and 30.6 (m + 1) for m = 3..14
        // above 306 (m + 1) / 10; both floors are the integer quotients.
        auto floorDiv = [](int32_t a, int32_t b) { return a / b - (a % b != 0 && (a < 0) != (b < 0)); };
        int32_t b = 0;
        if (372 * y + 31 * m + day >= 588829) {
            int32_t a = floorDiv(y, 100);
            b = 2 - a + floorDiv(a, 4);
        }
        return 1461 * (y + 4716) / 4 + b + 306 * (m + 1) / 10 + day - 1524;
    }
    // Before -4712 the year count continues backwards without a gap.
    int32_t t = year + 4712;
    return 365 * t - std::abs(t) / 4 + DayOfYear(year, month, day) - 1;
}

std::optional<CalendarDate> DayNumberToDate(int32_t z)
{
    if (z < FirstDayNumber || z > LastDayNumber) return std::nullopt;
    // The classical algorithm in whole numbers. Its quotients never come
    // near a whole number but where the integer form below lands exactly:
    // (z - 1867216.25) / 36524.25 is (4z - 7468865) / 146097; with b whole,
    // (b - 122.1f) / 365.25 lies 0.6 above (4b - 489) / 1461 in the
    // numerator; and e = floor(e1 / 30.6001f) is the largest e with
    // 306 e < 10 e1, its 30.6001f e falling below the next whole number.
    auto floorDiv = [](int64_t a, int64_t n) { return (a - FloorMod(a, n)) / n; };
    int64_t a = z;
    if (z >= GregorianStartDay) {
        int64_t alpha = floorDiv(4 * int64_t(z) - 7468865, 146097);
        a = z + 1 + alpha - floorDiv(alpha, 4);
    }
    int64_t b = a + 1524;
    int64_t c = floorDiv(4 * b - 489, 1461);
    int64_t e1 = b - floorDiv(1461 * c, 4);
    int64_t e = (10 * e1 - 1) / 306;
    int day = int(e1 - 306 * e / 10);
    int month = int(e) - (e > 13 ? 13 : 1);
    int32_t year = int32_t(c - 4716 + (month <= 2));
    return CalendarDate{year, month, day};
}

std::optional<CalendarDate> DayOfYearToDate(int32_t year, int ordinal)
{
    if (!YearInRange(year)) return std::nullopt;
    if (ordinal < 1 || ordinal > DaysInYear(year)) return std::nullopt;
    int n = ordinal;
    if (year == 1582 && n >= 278) n += 10;
    int k = IsLeapYear(year) ? 1 : 2;
    int m = int(std::floor(9.0 * (k + n) / 275 + 0.98));
    if (n < 32) m = 1;
    int d = n - (275 * m) / 9 + k * ((m + 9) / 12) + 30;
    if (!IsValidDate(year, m, d)) return std::nullopt;
    return CalendarDate{year, m, d};
}

int WeekdayOfDayNumber(int32_t dayNumber)
{
    return int(FloorMod(int64_t(dayNumber) + 1, 7));
}
