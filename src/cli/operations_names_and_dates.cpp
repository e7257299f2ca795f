// Operations of the calendar's names and numerals, era names, the Hijri
// calendar, weekdays and zodiac signs.
#include "calendar_names.h"
#include "era_names.h"
#include "hijri_calendar.h"
#include "operation.h"
#include "weekday_zodiac.h"

namespace {

const Operation Operations[] = {
    {"EraYearText", "i", "y", [](const Arguments& a) { return EraYearText(a[0].I()); }},
    {"ChineseDigit", "i", "n", [](const Arguments& a) { return ChineseDigit(a[0].I()); }},
    {"YearText", "i", "y", [](const Arguments& a) { return YearText(a[0].I()); }},
    {"HijriYearText", "i", "y", [](const Arguments& a) { return HijriYearText(a[0].I()); }},
    {"ChineseYearText", "i", "y", [](const Arguments& a) { return ChineseYearText(a[0].I()); }},
    {"LunarMonthName", "ii", "m big",
     [](const Arguments& a) { return LunarMonthName(a[0].I(), a[1].I()); }},
    {"LunarDayName", "i", "d", [](const Arguments& a) { return LunarDayName(a[0].I()); }},
    {"IsHijriLeapYear", "i", "y",
     [](const Arguments& a) { return std::to_string(IsHijriLeapYear(a[0].I())); }},
    {"IsValidHijriDate", "iii", "y m d",
     [](const Arguments& a) { return std::to_string(IsValidHijriDate(a[0].I(), a[1].I(), a[2].I())); }},
    {"HijriToDayNumber", "iii", "y m d",
     [](const Arguments& a) { return std::to_string(HijriToDayNumber(a[0].I(), a[1].I(), a[2].I())); }},
    {"HijriToSolarText", "iii", "y m d",
     [](const Arguments& a) { return HijriToSolarText(a[0].I(), a[1].I(), a[2].I()); }},
    {"SolarToHijriText", "iii", "y m d",
     [](const Arguments& a) { return SolarToHijriText(a[0].I(), a[1].I(), a[2].I()); }},
    {"WeekdayName", "iii", "y m d",
     [](const Arguments& a) { return WeekdayName(a[0].I(), a[1].I(), a[2].I()); }},
    {"ZodiacSignName", "iii", "y m d",
     [](const Arguments& a) { return ZodiacSignName(a[0].I(), a[1].I(), a[2].I()); }},
};

}  // namespace

const std::span<const Operation> NamesAndDatesOperations(Operations);
