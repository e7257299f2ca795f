// Festivals and commemorative days of a civil day (fixed Gregorian dates,
// weekday rules, Easter) and of a lunar day; "" when nothing falls on it.
#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "civil_calendar.h"
#include "lunar_year.h"

// allFestivals != 0 adds the commemorative days and uses the full names.
std::string GregorianFestivalText(int32_t y, int m, int d, int allFestivals);
// Lunar month 1..12, or 13..24 for the leap month after month - 12.
std::string LunarFestivalText(int32_t ly, int lm, int ld);
// What a day's second line and the days query show of its festivals: the
// lunar festival, then the Gregorian festivals with the commemorative days
// and full names, joined by a blank.
std::string DayFestivalText(int32_t y, int m, int d);
// The same for a day whose lunar date is known.
std::string DayFestivalText(const CalendarDate& date, const std::optional<LunarDate>& lunar);
// Day of the month of the n-th weekday w (0 Sunday .. 6 Saturday), 0 if none.
int NthWeekdayOfMonth(int32_t y, int m, int n, int w);
