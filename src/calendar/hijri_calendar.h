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
    bool operator==(const HijriDate&) const = default;
};

int IsHijriLeapYear(int32_t y);
// Days of month m of year y, 0 when there is no such month.
int HijriMonthLength(int32_t y, int m);
int IsValidHijriDate(int32_t y, int m, int d);
// The Hijri date of a day, nullopt outside the span in which both calendars
// can be written (Hijri -9998-01-01 .. civil 9999-12-31).
std::optional<HijriDate> HijriDateOfDay(int32_t dayNumber);
std::optional<HijriDate> HijriDateOf(const CalendarDate& date);
// NoDayNumber when the date is invalid.
int32_t HijriToDayNumber(int32_t y, int m, int d);
// Tagged civil date text, "" when invalid or out of range.
std::string HijriToSolarText(int32_t y, int m, int d);
// The tagged text of a Hijri date ("AD09-10-1318"; years <= 0 show 1 - y,
// as civil BC years do), "" for none.
std::string HijriDateText(const std::optional<HijriDate>& date);
void AppendHijriDateText(std::string& text, const std::optional<HijriDate>& date);
// Tagged Hijri date text of a civil date, "" when invalid or out of range.
std::string SolarToHijriText(int32_t y, int m, int d);
