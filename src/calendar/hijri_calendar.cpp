#include "hijri_calendar.h"

#include "civil_calendar.h"
#include "date_text.h"

namespace {

constexpr int32_t FirstHijriYear = -9998;
constexpr int32_t LastHijriYear = 9999;
// Day numbers of Hijri -9998-01-01 and of the civil 9999-12-31: the span in
// which both calendars can be written.
constexpr int32_t FirstHijriDayNumber = -1594872;
constexpr int32_t LastHijriDayNumber = LastDayNumber;
constexpr int32_t DaysInCycle = 10631;  // 30 years, 11 of them leap
// Cycles are counted from Hijri -10949-01-01, far enough back that every
// count below stays positive over the whole range, so truncating division
// is floor division here. CycleEpoch is the day number of the day before it.
constexpr int32_t YearShift = 10949;
constexpr int32_t CycleEpoch = -1931876;

bool InDayRange(int32_t j) { return j >= FirstHijriDayNumber && j <= LastHijriDayNumber; }

}  // namespace

int IsHijriLeapYear(int32_t y)
{
    // Places 2, 5, 7, 10, 13, 16, 18, 21, 24, 26, 29 of the 30-year cycle.
    switch (FloorMod(y, 30)) {
    case 2: case 5: case 7: case 10: case 13: case 16:
    case 18: case 21: case 24: case 26: case 29:
        return 1;
    default:
        return 0;
    }
}

int HijriMonthLength(int32_t y, int m)
{
    if (y < FirstHijriYear || y > LastHijriYear || m < 1 || m > 12) return 0;
    // Odd months have 30 days, even months 29; a leap year adds day 30 to
    // month 12.
    if (m == 12 && IsHijriLeapYear(y)) return 30;
    return m % 2 == 1 ? 30 : 29;
}

int IsValidHijriDate(int32_t y, int m, int d)
{
    return d >= 1 && d <= HijriMonthLength(y, m) ? 1 : 0;
}

int32_t HijriToDayNumber(int32_t y, int m, int d)
{
    if (!IsValidHijriDate(y, m, d)) return NoDayNumber;
    int32_t cycle = (y + YearShift) / 30;
    int32_t place = (y + YearShift) % 30 + 1;  // 1..30 within the cycle
    // 354.36666666 is a hair below 354 11/30, so the rounded cumulative year
    // lengths put the leap years exactly at the places IsHijriLeapYear
    // lists (place 15 common, 16 leap). The month offsets come out as 0, 30,
    // 59, 89, ..., 325: months alternating 30 and 29 days.
    auto yearDays = int32_t(354.36666666 * (place - 1) + 0.5);
    auto monthDays = int32_t(29.53055555 * (m - 1) + 0.5);
    return CycleEpoch + DaysInCycle * cycle + yearDays + monthDays + d;
}

std::string HijriToSolarText(int32_t y, int m, int d)
{
    int32_t j = HijriToDayNumber(y, m, d);
    if (j == NoDayNumber || !InDayRange(j)) return "";
    return DayNumberToText(j);
}

std::optional<HijriDate> HijriDateOfDay(int32_t j)
{
    if (!InDayRange(j)) return std::nullopt;
    int32_t elapsed = j - CycleEpoch;  // positive over the whole range
    int32_t cycle = elapsed / DaysInCycle;
    int32_t intoCycle = elapsed - DaysInCycle * cycle;
    // A multiple of the cycle length is the last day of the previous cycle:
    // its year 30, which is common, so 12-29.
    if (intoCycle == 0) return HijriDate{-YearShift - 1 + 30 * cycle, 12, 29};
    // A common year is the shortest, so dividing by 354 never falls short;
    // it overshoots by at most one year.
    int32_t year = -YearShift - 1 + 30 * cycle + intoCycle / 354 + 1;
    if (HijriToDayNumber(year, 1, 1) > j) --year;
    int32_t dayOfYear = j - HijriToDayNumber(year, 1, 1) + 1;
    // 29.59 days is a little more than the mean month, so the estimate is
    // never short and at most one month long.
    int month = int(dayOfYear / double(29.59f)) + 1;
    if (HijriToDayNumber(year, month, 1) > j) --month;
    int day = j - HijriToDayNumber(year, month, 1) + 1;
    if (!IsValidHijriDate(year, month, day)) return std::nullopt;
    return HijriDate{year, month, day};
}

std::optional<HijriDate> HijriDateOf(const CalendarDate& date)
{
    int32_t j = DateToDayNumber(date);
    return j == NoDayNumber ? std::nullopt : HijriDateOfDay(j);
}

std::string HijriDateText(const std::optional<HijriDate>& date)
{
    std::string text;
    AppendHijriDateText(text, date);
    return text;
}

void AppendHijriDateText(std::string& text, const std::optional<HijriDate>& date)
{
    if (date) AppendDateText(text, CalendarDate{date->year, date->month, date->day});
}

std::string SolarToHijriText(int32_t y, int m, int d) { return HijriDateText(HijriDateOf(CalendarDate{y, m, d})); }
