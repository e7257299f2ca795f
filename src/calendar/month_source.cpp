#include "month_source.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "calendar_flags.h"
#include "civil_calendar.h"

namespace {

constexpr double SecondsPerDay = 86400;

// The civil year of a day, 0 when the day has no date.
int32_t YearOfDay(double moment)
{
    auto date = DayNumberToDate(int32_t(std::floor(moment)));
    return date ? date->year : 0;
}

// The lunar year whose months hold civil day `day`.
std::optional<int32_t> LunarYearOfDay(int32_t day)
{
    auto date = DayNumberToDate(day);
    if (!date) return std::nullopt;
    int32_t y = day >= LunarNewYear(date->year) ? date->year : date->year - 1;
    if (y < FirstConversionYear || y > LastConversionYear) return std::nullopt;
    return y;
}

// The value of a constant of the calendar table: "29+43/81", "5372209/181920".
double ConstantValue(const char* text)
{
    char* end = nullptr;
    double whole = std::strtod(text, &end);
    if (*end == '+') {
        double numerator = std::strtod(end + 1, &end);
        double denominator = *end == '/' ? std::strtod(end + 1, &end) : 1;
        return whole + numerator / denominator;
    }
    if (*end == '/') return whole / std::strtod(end + 1, &end);
    return whole;
}

// The mean-month calendar whose month the cycle counts in: the one in force
// on the day, else the one with the same month.
const CalendarSpan* CycleCalendar(const LeapCycle& cycle, int32_t day)
{
    const CalendarSpan* inForce = FindCalendarSpan(SpanKind::Months, day);
    if (inForce && inForce->method == CalendarMethod::MeanNewMoon) return inForce;
    for (size_t i = 0; i < CalendarSpanCount; ++i) {
        const CalendarSpan& s = CalendarSpans[i];
        if (s.method == CalendarMethod::MeanNewMoon && std::fabs(ConstantValue(s.constant) - cycle.month) < 1e-9)
            return &s;
    }
    return nullptr;
}

}  // namespace

double DeltaTUncertainty(int32_t year)
{
    double centuries = (year - 1820) / 100.0;
    return 0.8 * centuries * centuries;
}

double UncertaintyMargin(int32_t year) { return 60 + 2 * DeltaTUncertainty(year); }

std::optional<MomentCertainty> CertaintyOf(const SkySource& source)
{
    if (source.method != SkyMethod::Modern) return std::nullopt;
    double fraction = source.computed - std::floor(source.computed);
    MomentCertainty c{source.computed, std::min(fraction, 1 - fraction) * SecondsPerDay, -1,
                      UncertaintyMargin(YearOfDay(source.computed)), false};
    // The threshold decided the day unless the day was exempt from it.
    if (source.threshold > 0 && source.rule != NewMoonRule::Exempt)
        c.fromThreshold = std::fabs(fraction - source.threshold) * SecondsPerDay;
    double nearest = c.fromThreshold >= 0 ? std::min(c.fromMidnight, c.fromThreshold) : c.fromMidnight;
    c.uncertain = nearest < c.margin;
    return c;
}

std::optional<LunarYearMonths> MonthsOfLunarYear(int32_t y)
{
    if (y < FirstRecordYear || y > LastRecordYear) return std::nullopt;
    LunarYearMonths months{y, YearLeapCode(y) == 0 ? 12 : 13, {}};
    months.firstDays[0] = LunarNewYear(y);
    for (int i = 1; i <= months.count; ++i) months.firstDays[i] = NewMoonOnOrAfter(months.firstDays[i - 1] + 20);
    return months;
}

std::optional<LunarMonthSource> ExplainLunarMonth(int32_t day)
{
    auto y = LunarYearOfDay(day);
    if (!y) return std::nullopt;
    auto months = MonthsOfLunarYear(*y);
    if (!months) return std::nullopt;
    int i = 0;
    while (i < months->count && months->firstDays[i + 1] <= day) ++i;
    // A day past the year's last month that the next year does not hold yet
    // has no month.
    if (i == months->count || day < months->firstDays[0]) return std::nullopt;

    LunarMonthSource m{};
    m.lunarYear = *y;
    m.ordinal = i + 1;
    m.month = LunarMonthFromOrdinal(*y, m.ordinal);
    m.firstDay = months->firstDays[i];
    m.nextFirstDay = months->firstDays[i + 1];
    NewYearOrigin origin = LunarNewYearOrigin(*y);
    m.yearByCycle = origin.cycle.has_value();
    if (i == 0) {
        m.cycle = origin.cycle;
        if (m.cycle) {
            m.cycleMoment = origin.meanNewMoon;
            m.cycleSpan = CycleCalendar(*m.cycle, m.firstDay);
        } else {
            m.start = NewMoonSource(origin.searchedFrom);
        }
    } else {
        m.start = NewMoonSource(months->firstDays[i - 1] + 20);
    }
    if (!m.cycle) m.startCertainty = CertaintyOf(m.start);
    m.term = TermSource(m.firstDay, 1);
    double termDay = std::floor(m.term.moment);
    m.holdsPrincipalTerm = termDay >= m.firstDay && termDay < m.nextFirstDay;
    m.termCertainty = CertaintyOf(m.term);
    for (int k = 1; k <= months->count; ++k) {
        int code = LunarMonthFromOrdinal(*y, k);
        if (code > 12) m.yearLeapMonth = code - 12;
    }
    return m;
}
