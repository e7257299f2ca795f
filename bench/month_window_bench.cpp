// What the month window computes for a step (a new sheet, the month's
// events and the shown day's description), in a year already shown and in
// one never shown before, and for a click on a cell (the description alone).
#include <benchmark/benchmark.h>

#include "day_navigation.h"
#include "lunar_year.h"
#include "month_sheet.h"

namespace {

void MonthStep(const CalendarDate& shown)
{
    benchmark::DoNotOptimize(FillMonthGrid(shown.year, shown.month, shown.day));
    benchmark::DoNotOptimize(FillMonthEvents(shown.year, shown.month));
    benchmark::DoNotOptimize(ComposeMonthDayInfo(shown.year, shown.month, shown.day));
}

// 下一月 through the months of 2024, over and over.
void BM_MonthStepWarm(benchmark::State& state)
{
    const DateBounds bounds = ComputeDateBounds();
    CalendarDate shown{2024, 1, 15};
    for (auto _ : state) {
        auto next = StepMonth(shown, DayRow::Gregorian, +1, bounds);
        shown = next && next->year == 2024 ? *next : CalendarDate{2024, 1, 15};
        MonthStep(shown);
    }
}
BENCHMARK(BM_MonthStepWarm)->Unit(benchmark::kMicrosecond);

// A step into a year whose lunar records are not yet known.
void BM_MonthStepNewYear(benchmark::State& state)
{
    int32_t year = 1000;
    for (auto _ : state) {
        state.PauseTiming();
        EraseLunarYearCache();
        year = year < 3000 ? year + 7 : 1000;
        state.ResumeTiming();
        MonthStep({year, 6, 15});
    }
}
BENCHMARK(BM_MonthStepNewYear)->Unit(benchmark::kMillisecond);

// A click on a cell of a sheet already shown: the day under the cell, the
// highlight's new cell and the description.
void BM_CellClick(benchmark::State& state)
{
    MonthStep({2024, 2, 10});
    int cell = 0;
    for (auto _ : state) {
        int day = MonthCellDay(2024, 2, 5 + cell++ % 29);
        benchmark::DoNotOptimize(MonthCellOfDay(2024, 2, day));
        benchmark::DoNotOptimize(ComposeMonthDayInfo(2024, 2, day));
    }
}
BENCHMARK(BM_CellClick)->Unit(benchmark::kMicrosecond);

}  // namespace
