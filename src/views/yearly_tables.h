// The yearly tables tool: one year's lunar months, solar terms, new and full
// moons, or daily sun times, as the plain text that the tool's result field
// shows (lines separated by "\r\n"), and the rules of its year field.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "date_bounds.h"  // MinShownYear, ToolMaxYear and the first lunar date

// The tool's four modes, numbered as the menu opens them.
enum class TableMode { LunarMonths = 1, SolarTerms = 2, Moons = 3, SunTimes = 4 };

// "计算农历月", "计算节气日", "计算朔望日", "计算太阳升降时刻".
std::string TableTitle(TableMode mode);
// "农历年份" for the lunar months, "公历年份" for the others.
std::string TableYearLabel(TableMode mode);

// Lowest and highest year of a mode: the lunar months start at the lunar
// year that holds 1 January MinShownYear, the civil tables at MinShownYear.
int32_t FirstTableYear(TableMode mode);
int32_t LastTableYear(TableMode mode);
bool IsTableYear(TableMode mode, int32_t year);

// What "计算" makes of the year field. Anything but digits empties the field,
// an empty field computes nothing, a year outside the mode's range empties
// the field and keeps the previous table.
enum class YearFieldCheck { Accepted, Empty, NotDigits, OutOfRange };
struct YearFieldResult {
    YearFieldCheck check;
    int32_t year;  // astronomical; meaningful only when Accepted
};
// beforeYearOne is the "纪元前" box: the typed number n then means 1 - n.
YearFieldResult ReadTableYearField(TableMode mode, const std::string& field, bool beforeYearOne);
// The same rules for a year field of any tool that accepts first..last.
YearFieldResult ReadYearField(const std::string& field, bool beforeYearOne, int32_t first, int32_t last);

// The year field and "纪元前" box that show an astronomical year.
struct YearField {
    std::string text;
    bool beforeYearOne;
};
YearField TableYearField(int32_t year);
// The year that "上一年" (step -1) or "下一年" (step +1) moves to, or nullopt
// when it is outside the mode's range and the buttons do nothing.
std::optional<int32_t> StepTableYear(TableMode mode, int32_t year, int step);

// The events behind the tables, for callers that want the values rather
// than the text: the year's solar terms (number 1..24 and moment) in order,
// its new and full moons, its lunar months and its daily sun times. Empty for
// a year outside the mode's range (or an unknown city).
struct TermMomentOfYear {
    int number;  // 1 小寒 .. 24 冬至
    double moment;
};
std::vector<TermMomentOfYear> YearSolarTerms(int32_t year);
struct YearMoonMoments {
    std::vector<double> newMoons;
    std::vector<double> fullMoons;
};
YearMoonMoments YearMoons(int32_t year);
struct LunarMonthOfYear {
    int month;  // 1..12, or 13..24 for the leap month after month - 12
    bool big;   // 30 days
    std::string firstDay, lastDay;  // tagged date texts of its first and last civil day
};
std::vector<LunarMonthOfYear> YearLunarMonths(int32_t lunarYear);
struct SunTimesOfDay {
    int32_t dayNumber;
    std::string first, second;  // sunrise and sunset, or dawn and dusk, "HH:MM:SS"
};
std::vector<SunTimesOfDay> YearSunTimes(int32_t year, int32_t cityCode, bool twilight);

// The tables; "" for a year outside the mode's range (or an unknown city).
std::string LunarMonthsTable(int32_t lunarYear);
std::string SolarTermsTable(int32_t year);
std::string MoonsTable(int32_t year);
// Sun times at built-in city 1..CityCount(): sunrise and sunset, or with
// twilight dawn and dusk. The city is the current place only while the
// table is computed; the user's own place is selected again afterwards.
std::string SunTimesTable(int32_t year, int32_t cityCode, bool twilight);
