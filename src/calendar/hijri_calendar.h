// The tabular Hijri (回历) calendar: a 30-year cycle of 10631 days with
// eleven leap years, months alternating 30 and 29 days, the leap day ending
// month 12. Hijri year 1 begins on day number 1948440 (622-07-16, Julian).
#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "civil_calendar.h"

struct HijriDate {
    int32_t year;
    int month;
    int day;
};

int IsHijriLeapYear(int32_t y);
int IsValidHijriDate(int32_t y, int m, int d);
// NoDayNumber when the date is invalid.
int32_t HijriToDayNumber(int32_t y, int m, int d);
// Tagged civil date text, "" when invalid or out of range.
std::string HijriToSolarText(int32_t y, int m, int d);
// Tagged Hijri date text of a civil date, "" when invalid or out of range.
std::string SolarToHijriText(int32_t y, int m, int d);
// The Hijri date of a civil day, nullopt outside the Hijri calendar's range.
std::optional<HijriDate> HijriDateOf(const CalendarDate& date);
