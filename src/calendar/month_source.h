// Where a lunar month comes from: for a civil day, the month of the lunar
// calendar that holds it, what decided its first day and its principal term
// (中气), and, wherever a modern moment decided a day, how close that moment
// lies to the instant that decides the day, against the uncertainty of
// Delta T. The answers follow the calculation itself, through the same
// dispatch and finders that build the lunar year records.
#pragma once
#include <cstdint>
#include <optional>

#include "historical_calendar.h"
#include "lunar_year.h"

// The commonly quoted uncertainty of Delta T in seconds for year y,
// 0.8 s ((y - 1820) / 100)^2, and the margin within which a modern moment
// cannot decide its civil day: a minute plus twice that uncertainty.
double DeltaTUncertainty(int32_t year);
double UncertaintyMargin(int32_t year);

// How close a modern moment came to changing the civil day it decided.
struct MomentCertainty {
    double moment;         // the modern moment, before any rule or list moved it
    double fromMidnight;   // seconds to the nearer local midnight
    double fromThreshold;  // seconds to the late-new-moon threshold of its day; < 0 when none applied
    double margin;         // UncertaintyMargin of the moment's civil year
    bool uncertain;        // the nearer of the two is within the margin
};
// The certainty of a modern source, nullopt for the historical methods.
std::optional<MomentCertainty> CertaintyOf(const SkySource& source);

struct LunarMonthSource {
    int32_t lunarYear;
    int month;  // 1..12, or 13..24 for the leap month after month - 12
    int ordinal;  // 1..13, the month's place in the year
    int32_t firstDay;
    int32_t nextFirstDay;
    // New Year's day of a year of the leap cycle: the cycle, its mean new
    // moon and the calendar whose mean month it counts. Otherwise `start`.
    std::optional<LeapCycle> cycle;
    double cycleMoment;
    const CalendarSpan* cycleSpan;
    SkySource start;  // the new moon found for the first day (unused with a cycle)
    std::optional<MomentCertainty> startCertainty;
    // The first principal term on or after the first day, and whether it
    // falls within the month.
    SkySource term;
    bool holdsPrincipalTerm;
    std::optional<MomentCertainty> termCertainty;
    // The year's leap month: the regular month it follows, 0 when none, and
    // whether the year's leap comes from the cycle rather than the solstice rule.
    int yearLeapMonth;
    bool yearByCycle;
};

// The month that holds civil day `day` under the current setting, nullopt
// outside the lunar conversions' years.
std::optional<LunarMonthSource> ExplainLunarMonth(int32_t day);

// The first days of the months of lunar year y, as the record's months
// follow each other: New Year's day, then each first new moon from 20 days
// after the previous first day; one more than the year's months, the last
// being the next year's New Year. Empty outside the record years.
struct LunarYearMonths {
    int32_t lunarYear;
    int count;  // 12 or 13
    int32_t firstDays[14];
};
std::optional<LunarYearMonths> MonthsOfLunarYear(int32_t y);
