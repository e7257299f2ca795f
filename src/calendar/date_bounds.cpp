#include "date_bounds.h"

int32_t FirstShownDay()
{
    static const int32_t day = DateToDayNumber(MinShownYear, 1, 1);
    return day;
}

int32_t LastShownDay()
{
    static const int32_t day = DateToDayNumber(MaxShownYear, 12, 31);
    return day;
}

DateBounds ComputeDateBounds()
{
    const CalendarDate first{MinShownYear, 1, 1}, last{MaxShownYear, 12, 31};
    // Both ends lie well inside the ranges of the two conversions.
    return {*LunarDateOf(first), *LunarDateOf(last), *HijriDateOf(first), *HijriDateOf(last)};
}

std::optional<CalendarDate> StepDay(const CalendarDate& shown, int step)
{
    int32_t j = DateToDayNumber(shown);
    if (j == NoDayNumber || j + step < FirstShownDay() || j + step > LastShownDay()) return std::nullopt;
    return DayNumberToDate(j + step);
}
