// Operations of the day information: festivals and seasonal periods.
#include "festivals.h"
#include "operation.h"
#include "seasonal_periods.h"

namespace {

const Operation Operations[] = {
    {"GregorianFestivalText", "iiii", "y m d all",
     [](const Arguments& a) { return GregorianFestivalText(a[0].I(), a[1].I(), a[2].I(), a[3].I()); }},
    {"LunarFestivalText", "iii", "ly lm ld",
     [](const Arguments& a) { return LunarFestivalText(a[0].I(), a[1].I(), a[2].I()); }},
    {"NthWeekdayOfMonth", "iiii", "y m n w",
     [](const Arguments& a) { return std::to_string(NthWeekdayOfMonth(a[0].I(), a[1].I(), a[2].I(), a[3].I())); }},
    {"NextSolarTermText", "iii", "y m d",
     [](const Arguments& a) { return NextSolarTermText(a[0].I(), a[1].I(), a[2].I()); }},
    {"NineNinesText", "iii", "y m d", [](const Arguments& a) { return NineNinesText(a[0].I(), a[1].I(), a[2].I()); }},
    {"DogDaysText", "iii", "y m d", [](const Arguments& a) { return DogDaysText(a[0].I(), a[1].I(), a[2].I()); }},
    {"PlumRainText", "iii", "y m d", [](const Arguments& a) { return PlumRainText(a[0].I(), a[1].I(), a[2].I()); }},
};

}  // namespace

const std::span<const Operation> DayInfoOperations(Operations);
