// The years and days that the windows and the tools accept, and the same
// bounds in the lunar and Hijri calendars.
#pragma once
#include <cstdint>
#include <optional>

#include "civil_calendar.h"
#include "hijri_calendar.h"
#include "lunar_year.h"

// The Gregorian years the day and month windows accept, and the last year
// the tools accept.
constexpr int32_t MinShownYear = -103;
constexpr int32_t MaxShownYear = 4103;
constexpr int32_t ToolMaxYear = 5000;

// The day numbers of 1 January MinShownYear and 31 December MaxShownYear.
int32_t FirstShownDay();
int32_t LastShownDay();

// The first and last days the windows accept, in the lunar and Hijri
// calendars: 1 January MinShownYear and 31 December MaxShownYear. The lunar
// bounds depend on ModernCalculateAncientFlag, so they are computed after the
// settings are known.
struct DateBounds {
    LunarDate firstLunar;
    LunarDate lastLunar;
    HijriDate firstHijri;
    HijriDate lastHijri;
};
DateBounds ComputeDateBounds();

// One day back or on; nullopt before 1 January MinShownYear or after
// 31 December MaxShownYear.
std::optional<CalendarDate> StepDay(const CalendarDate& shown, int step);
