// The Chinese lunisolar year. Lunar year Y is the one whose New Year's day
// falls in Gregorian year Y. Each year is described by a 17-character record:
//   1-12  regular months 1..12, "1" long (30 days), "0" short (29 days)
//   13    leap month: "0" none, else the month it follows ("1".."9","A","B","C")
//   14    length of the leap month ("0" when there is none)
//   15-17 Gregorian month digit and two-digit day of New Year's day
// Lunar months 13..24 are the leap month that follows month - 12. Lunar dates
// travel as tagged texts: "AD16-02-2020" is leap 4th month, day 2, of 2020.
#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "civil_calendar.h"

constexpr int32_t FirstRecordYear = -9997;
constexpr int32_t LastRecordYear = 9998;
// The conversions between civil and lunar dates accept these years.
constexpr int32_t FirstConversionYear = -8999;
constexpr int32_t LastConversionYear = 9000;

// A date of the Chinese calendar: lunar year (the Gregorian year of its New
// Year's day), month 1..12 or the leap month after month - 12 as 13..24, day.
struct LunarDate {
    int32_t year;
    int month;
    int day;
    bool operator==(const LunarDate&) const = default;
};

// Moments of the sky as the calendar sees them (days are civil UTC+8 days).
double TermOnOrAfter(int32_t x, int n);
// floor(TermOnOrAfter(x, n)).
int32_t TermDayOnOrAfter(int32_t x, int n);
int32_t NewMoonOnOrAfter(int32_t x);
int32_t NewMoonOnOrBefore(int32_t x);
int HasPrincipalTerm(int32_t a, int32_t b);

// 0 no leap month, 1 a leap month inside the year, 2 a leap 11th or 12th
// month at the end of the year.
int YearLeapCode(int32_t y);
int32_t LunarNewYear(int32_t y);
// How New Year's day of lunar year y was found: by the leap cycle of the
// calendar in force (years years holding months months, mean months of
// `month` days; New Year is the day of meanNewMoon), or by the solstice
// rule as the first new moon on or after day searchedFrom.
struct LeapCycle {
    int32_t firstYear, lastYear;
    int years, months;
    double month;
};
struct NewYearOrigin {
    std::optional<LeapCycle> cycle;
    double meanNewMoon;
    int32_t searchedFrom;
};
NewYearOrigin LunarNewYearOrigin(int32_t y);
// The record of lunar year y, "" outside FirstRecordYear..LastRecordYear.
std::string GetLunarYearRecord(int32_t y);
// Drops every record built so far (the calendar setting changed).
void EraseLunarYearCache();

// The lunations of one lunar year, 1-based: first days of lunations 1..14 and
// whether lunation i holds a principal term (中气).
struct LunationList {
    int32_t newMoons[15];
    bool holdsPrincipalTerm[14];
};
// Characters 1-14 of a record (month lengths and leap month) from the
// year's leap code and its lunations.
std::string MonthCharacters(int leapCode, const LunationList& lunations);

// What a year's record says, decoded: the lengths of the regular months
// (monthDays[1..12], 29 or 30), the month the leap month follows (0 when
// there is none) and its length (0 then), and New Year's day as the record
// keeps it (Gregorian month digit and day in year y).
struct LunarYearShape {
    int monthDays[13];
    int leapMonth;
    int leapMonthDays;
    int newYearMonth;
    int newYearDay;
};
// The shape of lunar year y, nullopt outside FirstRecordYear..LastRecordYear.
std::optional<LunarYearShape> LunarYearShapeOf(int32_t y);
// Days of month 1..12, or of the leap month as 13..24; 0 when the year has
// no such month.
int LunarMonthLength(int32_t y, int month);

// The lunar date of a day, nullopt when its civil year lies outside
// FirstConversionYear..LastConversionYear.
std::optional<LunarDate> LunarDateOfDay(int32_t dayNumber);
std::optional<LunarDate> LunarDateOf(const CalendarDate& date);
// The day number of a lunar date of FirstConversionYear..LastConversionYear,
// NoDayNumber for an invalid one.
int32_t DayOfLunarDate(const LunarDate& date);

int LunarYearDays(int32_t y);
int IsValidLunarDate(int32_t y, int month, int day);
int LunarMonthOrdinal(int32_t y, int month);
int LunarMonthFromOrdinal(int32_t y, int ordinal);
int LunarDayOrdinal(int32_t y, int month, int day);
std::string LunarDateFromOrdinal(int32_t y, int ordinal);
// The tagged text of a lunar date ("AD16-02-2020" for the leap second
// month), "" for none.
std::string LunarDateText(const std::optional<LunarDate>& date);
void AppendLunarDateText(std::string& text, const std::optional<LunarDate>& date);
std::string SolarToLunar(int32_t y, int month, int day);
std::string LunarToSolar(int32_t y, int month, int day);
