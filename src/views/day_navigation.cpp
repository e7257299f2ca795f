#include "day_navigation.h"

#include <algorithm>

#include "date_text.h"
#include "hijri_calendar.h"
#include "lunar_year.h"

namespace {

std::optional<CalendarDate> WithinSpan(std::optional<CalendarDate> date)
{
    if (!date) return std::nullopt;
    int32_t j = DateToDayNumber(*date);
    if (j == NoDayNumber || j < FirstShownDay() || j > LastShownDay()) return std::nullopt;
    return date;
}

// A civil day moved into the span instead of dropped.
CalendarDate ClampedToSpan(const CalendarDate& date)
{
    int32_t j = DateToDayNumber(date);
    if (j < FirstShownDay()) return *DayNumberToDate(FirstShownDay());
    if (j > LastShownDay()) return *DayNumberToDate(LastShownDay());
    return date;
}

int LastGregorianDay(int32_t y, int m)
{
    int d = 31;
    while (d > 28 && !IsValidDate(y, m, d)) --d;
    return d;
}

std::optional<CalendarDate> GregorianDay(int32_t y, int m, int d)
{
    if (y < MinShownYear || y > MaxShownYear || m < 1 || m > 12 || d < 1) return std::nullopt;
    if (y == 1582 && m == 10 && d >= 5 && d <= 14) d = 4;
    return WithinSpan(CalendarDate{y, m, std::min(d, LastGregorianDay(y, m))});
}

std::optional<CalendarDate> FromLunar(const LunarDate& lunar)
{
    if (!IsValidLunarDate(lunar.year, lunar.month, lunar.day)) return std::nullopt;
    return WithinSpan(DayNumberToDate(DayOfLunarDate(lunar)));
}

std::optional<CalendarDate> FromHijri(const HijriDate& hijri)
{
    if (!IsValidHijriDate(hijri.year, hijri.month, hijri.day)) return std::nullopt;
    return WithinSpan(DayNumberToDate(HijriToDayNumber(hijri.year, hijri.month, hijri.day)));
}

// A lunar date whose year or month was just picked, moved onto the months
// and days the lists hold.
std::optional<CalendarDate> ListedLunar(LunarDate lunar, const DateBounds& bounds)
{
    const LunarDate &first = bounds.firstLunar, &last = bounds.lastLunar;
    if (lunar.year < first.year || lunar.year > last.year) return std::nullopt;
    if (lunar.month > 12 && !IsValidLunarDate(lunar.year, lunar.month, 1)) lunar.month -= 12;
    if (!IsValidLunarDate(lunar.year, lunar.month, 1)) return std::nullopt;
    int ordinal = LunarMonthOrdinal(lunar.year, lunar.month);
    if (lunar.year == first.year && ordinal < LunarMonthOrdinal(first.year, first.month)) lunar.month = first.month;
    if (lunar.year == last.year && ordinal > LunarMonthOrdinal(last.year, last.month)) lunar.month = last.month;
    bool firstMonth = lunar.year == first.year && lunar.month == first.month;
    bool lastMonth = lunar.year == last.year && lunar.month == last.month;
    lunar.day = std::clamp(lunar.day, firstMonth ? first.day : 1,
                           lastMonth ? last.day : LunarMonthLength(lunar.year, lunar.month));
    return FromLunar(lunar);
}

std::optional<CalendarDate> ListedHijri(HijriDate hijri, const DateBounds& bounds)
{
    const HijriDate &first = bounds.firstHijri, &last = bounds.lastHijri;
    if (hijri.year < first.year || hijri.year > last.year || hijri.month < 1 || hijri.month > 12)
        return std::nullopt;
    if (hijri.year == first.year) hijri.month = std::max(hijri.month, first.month);
    if (hijri.year == last.year) hijri.month = std::min(hijri.month, last.month);
    bool firstMonth = hijri.year == first.year && hijri.month == first.month;
    bool lastMonth = hijri.year == last.year && hijri.month == last.month;
    hijri.day = std::clamp(hijri.day, firstMonth ? first.day : 1,
                           lastMonth ? last.day : HijriMonthLength(hijri.year, hijri.month));
    return FromHijri(hijri);
}

std::optional<CalendarDate> StepLunarMonth(const LunarDate& shown, int step, const DateBounds& bounds)
{
    int32_t y = shown.year;
    int ordinal = LunarMonthOrdinal(y, shown.month) + step;
    auto monthCount = [](int32_t year) { return LunarMonthFromOrdinal(year, 13) != 0 ? 13 : 12; };
    if (ordinal < 1) ordinal = monthCount(--y);
    else if (ordinal > monthCount(y)) ordinal = 1, ++y;
    if (y < bounds.firstLunar.year || y > bounds.lastLunar.year) return std::nullopt;
    int m = LunarMonthFromOrdinal(y, ordinal);
    if (m == 0) return std::nullopt;
    LunarDate moved{y, m, std::min(shown.day, LunarMonthLength(y, m))};
    if (y == bounds.firstLunar.year && ordinal < LunarMonthOrdinal(y, bounds.firstLunar.month))
        return ClampedToSpan(CalendarDate{MinShownYear, 1, 1});
    if (y == bounds.lastLunar.year && ordinal > LunarMonthOrdinal(y, bounds.lastLunar.month))
        return ClampedToSpan(CalendarDate{MaxShownYear, 12, 31});
    auto date = DayNumberToDate(DayOfLunarDate(moved));
    if (!date) return std::nullopt;
    return ClampedToSpan(*date);
}

std::optional<CalendarDate> StepHijriMonth(const HijriDate& shown, int step, const DateBounds& bounds)
{
    int32_t y = shown.year;
    int m = shown.month + step;
    if (m < 1) m = 12, --y;
    else if (m > 12) m = 1, ++y;
    if (y < bounds.firstHijri.year || y > bounds.lastHijri.year) return std::nullopt;
    HijriDate moved{y, m, std::min(shown.day, HijriMonthLength(y, m))};
    auto date = DayNumberToDate(HijriToDayNumber(moved.year, moved.month, moved.day));
    if (!date) return std::nullopt;
    return ClampedToSpan(*date);
}

}  // namespace

DayRow RowOf(DaySelector selector)
{
    int index = int(selector);
    return index < 3 ? DayRow::Gregorian : index < 6 ? DayRow::Lunar : DayRow::Hijri;
}

std::optional<CalendarDate> ChooseInSelector(const CalendarDate& shown, DaySelector selector, int32_t value,
                                             const DateBounds& bounds)
{
    switch (selector) {
    case DaySelector::GregorianYear: return GregorianDay(value, shown.month, shown.day);
    case DaySelector::GregorianMonth: return GregorianDay(shown.year, value, shown.day);
    case DaySelector::GregorianDay:
        return IsValidDate(shown.year, shown.month, value) ? WithinSpan(CalendarDate{shown.year, shown.month, value})
                                                           : std::nullopt;
    default: break;
    }
    if (RowOf(selector) == DayRow::Lunar) {
        auto lunar = LunarDateOf(shown);
        if (!lunar) return std::nullopt;
        if (selector == DaySelector::LunarYear) return ListedLunar({value, lunar->month, lunar->day}, bounds);
        if (selector == DaySelector::LunarMonth) return ListedLunar({lunar->year, value, lunar->day}, bounds);
        return FromLunar({lunar->year, lunar->month, value});
    }
    auto hijri = HijriDateOf(shown);
    if (!hijri) return std::nullopt;
    if (selector == DaySelector::HijriYear) return ListedHijri({value, hijri->month, hijri->day}, bounds);
    if (selector == DaySelector::HijriMonth) return ListedHijri({hijri->year, int(value), hijri->day}, bounds);
    return FromHijri({hijri->year, hijri->month, int(value)});
}

std::optional<CalendarDate> StepMonth(const CalendarDate& shown, DayRow row, int step, const DateBounds& bounds)
{
    if (row == DayRow::Gregorian) {
        int32_t y = shown.year;
        int m = shown.month + step;
        if (m < 1) m = 12, --y;
        else if (m > 12) m = 1, ++y;
        return GregorianDay(y, m, shown.day);
    }
    if (row == DayRow::Lunar) {
        auto lunar = LunarDateOf(shown);
        return lunar ? StepLunarMonth(*lunar, step, bounds) : std::nullopt;
    }
    auto hijri = HijriDateOf(shown);
    return hijri ? StepHijriMonth(*hijri, step, bounds) : std::nullopt;
}
