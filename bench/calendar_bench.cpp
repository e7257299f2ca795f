// The costs of the Chinese calendar under both settings of
// ModernCalculateAncientFlag (the benchmark argument): the whole table of
// lunar year records built from nothing, and one civil day turned into its
// lunar date or its stem-branch text.
#include <benchmark/benchmark.h>

#include <vector>

#include "calendar_flags.h"
#include "civil_calendar.h"
#include "lunar_year.h"
#include "sexagenary_cycle.h"

namespace {

// The years the calendar windows are mostly asked about, and far beyond.
constexpr int32_t TableFirstYear = -103;
constexpr int32_t TableLastYear = 5000;

void UseFlag(int flag)
{
    SetModernCalculateAncientFlag(flag);
    EraseLunarYearCache();
}

std::vector<CalendarDate> DaysOf(int32_t firstYear, int32_t lastYear)
{
    std::vector<CalendarDate> days;
    for (int32_t j = DateToDayNumber(firstYear, 1, 1); j <= DateToDayNumber(lastYear, 12, 31); ++j)
        days.push_back(*DayNumberToDate(j));
    return days;
}

void BM_RecordTable(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        UseFlag(int(state.range(0)));
        state.ResumeTiming();
        for (int32_t y = TableFirstYear; y <= TableLastYear; ++y)
            benchmark::DoNotOptimize(GetLunarYearRecord(y));
    }
    state.counters["years"] = TableLastYear - TableFirstYear + 1;
}
BENCHMARK(BM_RecordTable)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(1);

// Every day of two centuries, with their records already built.
void BM_SolarToLunarWarm(benchmark::State& state)
{
    UseFlag(int(state.range(0)));
    static const std::vector<CalendarDate> days = DaysOf(1900, 2100);
    for (const CalendarDate& d : days) SolarToLunar(d.year, d.month, d.day);
    size_t i = 0;
    for (auto _ : state) {
        const CalendarDate& d = days[i];
        benchmark::DoNotOptimize(SolarToLunar(d.year, d.month, d.day));
        if (++i == days.size()) i = 0;
    }
}
BENCHMARK(BM_SolarToLunarWarm)->Arg(0)->Arg(1);

// Stem-branch texts of consecutive days, year from 立春 and months from the
// solar terms; the records of their years are built beforehand.
void BM_CycleDateText(benchmark::State& state)
{
    UseFlag(int(state.range(0)));
    static const std::vector<CalendarDate> days = DaysOf(1990, 2030);
    for (int32_t y = 1989; y <= 2031; ++y) GetLunarYearRecord(y);
    size_t i = 0;
    for (auto _ : state) {
        const CalendarDate& d = days[i];
        benchmark::DoNotOptimize(CycleDateText(d.year, d.month, d.day, 0));
        if (++i == days.size()) i = 0;
    }
}
BENCHMARK(BM_CycleDateText)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace
