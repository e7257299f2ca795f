// Operations of the Chinese calendar: the Qing methods, the historical
// dispatcher, lunar years and the sexagenary cycle.
#include "historical_calendar.h"
#include "lunar_year.h"
#include "operation.h"
#include "qing_methods.h"
#include "sexagenary_cycle.h"

namespace {

std::string Int(long long v) { return std::to_string(v); }

const Operation Operations[] = {
    {"QingSolarLongitude", "id", "model t",
     [](const Arguments& a) { return Number(QingSolarLongitude(a[0].I(), a[1].number)); }},
    {"QingTermMoment", "idi", "model x kind",
     [](const Arguments& a) { return Moment(QingTermMoment(a[0].I(), a[1].number, a[2].I())); }},
    {"QingTermNumber", "id", "model x",
     [](const Arguments& a) { return Int(QingTermNumber(a[0].I(), a[1].number)); }},
    {"TermMoment", "ii", "x kind", [](const Arguments& a) { return Moment(TermMoment(a[0].I(), a[1].I())); }},
    {"TermNumber", "i", "x", [](const Arguments& a) { return Int(TermNumber(a[0].I())); }},
    {"NewMoonMoment", "i", "x", [](const Arguments& a) { return Moment(NewMoonMoment(a[0].I())); }},
    {"FullMoonMoment", "i", "x", [](const Arguments& a) { return Moment(FullMoonMoment(a[0].I())); }},
    {"TermOnOrAfter", "ii", "x n", [](const Arguments& a) { return Moment(TermOnOrAfter(a[0].I(), a[1].I())); }},
    {"NewMoonOnOrAfter", "i", "x", [](const Arguments& a) { return Int(NewMoonOnOrAfter(a[0].I())); }},
    {"NewMoonOnOrBefore", "i", "x", [](const Arguments& a) { return Int(NewMoonOnOrBefore(a[0].I())); }},
    {"HasPrincipalTerm", "ii", "a b", [](const Arguments& a) { return Int(HasPrincipalTerm(a[0].I(), a[1].I())); }},
    {"YearLeapCode", "i", "Y", [](const Arguments& a) { return Int(YearLeapCode(a[0].I())); }},
    {"LunarNewYear", "i", "Y", [](const Arguments& a) { return Int(LunarNewYear(a[0].I())); }},
    {"GetLunarYearRecord", "i", "Y", [](const Arguments& a) { return GetLunarYearRecord(a[0].I()); }},
    {"LunarYearDays", "i", "Y", [](const Arguments& a) { return Int(LunarYearDays(a[0].I())); }},
    {"IsValidLunarDate", "iii", "Y m d",
     [](const Arguments& a) { return Int(IsValidLunarDate(a[0].I(), a[1].I(), a[2].I())); }},
    {"LunarMonthOrdinal", "ii", "Y m", [](const Arguments& a) { return Int(LunarMonthOrdinal(a[0].I(), a[1].I())); }},
    {"LunarMonthFromOrdinal", "ii", "Y k",
     [](const Arguments& a) { return Int(LunarMonthFromOrdinal(a[0].I(), a[1].I())); }},
    {"LunarDayOrdinal", "iii", "Y m d",
     [](const Arguments& a) { return Int(LunarDayOrdinal(a[0].I(), a[1].I(), a[2].I())); }},
    {"LunarDateFromOrdinal", "ii", "Y n",
     [](const Arguments& a) { return LunarDateFromOrdinal(a[0].I(), a[1].I()); }},
    {"SolarToLunar", "iii", "y m d", [](const Arguments& a) { return SolarToLunar(a[0].I(), a[1].I(), a[2].I()); }},
    {"LunarToSolar", "iii", "Y m d", [](const Arguments& a) { return LunarToSolar(a[0].I(), a[1].I(), a[2].I()); }},
    {"YearCycleIndex", "iiii", "y m d mode",
     [](const Arguments& a) { return Int(YearCycleIndex(a[0].I(), a[1].I(), a[2].I(), a[3].I())); }},
    {"YearAnimalIndex", "iiii", "y m d mode",
     [](const Arguments& a) { return Int(YearAnimalIndex(a[0].I(), a[1].I(), a[2].I(), a[3].I())); }},
    {"MonthCycleIndex", "iiii", "y m d mode",
     [](const Arguments& a) { return Int(MonthCycleIndex(a[0].I(), a[1].I(), a[2].I(), a[3].I())); }},
    {"DayCycleIndex", "iii", "y m d",
     [](const Arguments& a) { return Int(DayCycleIndex(a[0].I(), a[1].I(), a[2].I())); }},
    {"CurrentTermIndex", "iii", "y m d",
     [](const Arguments& a) { return Int(CurrentTermIndex(a[0].I(), a[1].I(), a[2].I())); }},
    {"CycleDateText", "iiii", "y m d mode",
     [](const Arguments& a) { return CycleDateText(a[0].I(), a[1].I(), a[2].I(), a[3].I()); }},
};

}  // namespace

const std::span<const Operation> ChineseCalendarOperations(Operations);
