// Operations of the civil calendar and its texts.
#include "civil_calendar.h"
#include "date_text.h"
#include "gbk_text.h"
#include "operation.h"

namespace {

const Operation Operations[] = {
    {"IsLeapYear", "i", "y", [](const Arguments& a) { return std::to_string(IsLeapYear(a[0].I())); }},
    {"DaysInYear", "i", "y", [](const Arguments& a) { return std::to_string(DaysInYear(a[0].I())); }},
    {"IsValidDate", "iii", "y m d",
     [](const Arguments& a) { return std::to_string(IsValidDate(a[0].I(), a[1].I(), a[2].I())); }},
    {"DayOfYear", "iii", "y m d",
     [](const Arguments& a) { return std::to_string(DayOfYear(a[0].I(), a[1].I(), a[2].I())); }},
    {"DateToDayNumber", "iii", "y m d",
     [](const Arguments& a) { return std::to_string(DateToDayNumber(a[0].I(), a[1].I(), a[2].I())); }},
    {"DayNumberToText", "i", "jd", [](const Arguments& a) { return DayNumberToText(a[0].I()); }},
    {"DayOfYearToText", "ii", "y n",
     [](const Arguments& a) { return DayOfYearToText(a[0].I(), a[1].I()); }},
    {"MomentToText", "d", "x", [](const Arguments& a) { return MomentToText(a[0].number); }},
    {"NormaliseTypedDate", "t", "text", [](const Arguments& a) { return NormaliseTypedDate(a[0].text); }},
    {"ConsistsOnlyOf", "tt", "text set",
     [](const Arguments& a) { return std::to_string(ConsistsOnlyOf(a[0].text, a[1].text)); }},
    {"CountOfCharacter", "tt", "text character",
     [](const Arguments& a) { return std::to_string(CountOfCharacter(a[0].text, a[1].text)); }},
    {"WeekdayOfDayNumber", "i", "jd",
     [](const Arguments& a) { return std::to_string(WeekdayOfDayNumber(a[0].I())); }},
};

}  // namespace

const std::span<const Operation> CalendarFoundationOperations(Operations);
