// How the day window's nine selectors move the shown day: a choice in one
// selector, the month carry-over at the ends of a month list and the day
// carry-over at the ends of a day list. The other two calendars always follow
// the civil day that comes back.
#pragma once
#include <cstdint>
#include <optional>

#include "date_bounds.h"

enum class DaySelector {
    GregorianYear, GregorianMonth, GregorianDay,
    LunarYear, LunarMonth, LunarDay,
    HijriYear, HijriMonth, HijriDay,
};
enum class DayRow { Gregorian, Lunar, Hijri };
DayRow RowOf(DaySelector selector);

// The civil day shown after value (a year, a month number as the lists hold
// it, or a day) is picked in selector. A new year or month keeps the rest of
// the date where it can: October 1582's missing days become the 4th, a day
// beyond the month's end its last day, a leap month the new year lacks the
// ordinary month of that name, and in the first and last lunar or Hijri
// years a month or day outside the lists the nearest listed one. nullopt
// when the choice gives no day of the windows' span.
std::optional<CalendarDate> ChooseInSelector(const CalendarDate& shown, DaySelector selector, int32_t value,
                                             const DateBounds& bounds);

// One month back (step -1) or on (+1) in row's own calendar, across a year
// end; a day beyond the new month's end becomes its last day and a result
// outside the span takes the span's first or last day. nullopt when the
// year would leave the span.
std::optional<CalendarDate> StepMonth(const CalendarDate& shown, DayRow row, int step, const DateBounds& bounds);
