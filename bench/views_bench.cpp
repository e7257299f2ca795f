// The costs of what the windows and tools show: a day card, a month sheet,
// a condition-day search over a century and a condition-month search over
// the whole range of the tools.
#include <benchmark/benchmark.h>

#include "calendar_flags.h"
#include "condition_query.h"
#include "day_card.h"
#include "lunar_year.h"
#include "month_sheet.h"

namespace {

void BM_DayCard(benchmark::State& state)
{
    DateBounds bounds = ComputeDateBounds();
    int day = 0;
    for (auto _ : state) {
        CalendarDate shown{2024, 1 + day % 12, 1 + day % 28};
        ++day;
        benchmark::DoNotOptimize(FillDayCardLists(shown, bounds, 0));
        benchmark::DoNotOptimize(ComposeDayInfo(shown, 0));
    }
}
BENCHMARK(BM_DayCard)->Unit(benchmark::kMicrosecond);

// A month sheet with warm lunar records: the grid, the month's events and
// the shown day's description.
void BM_MonthSheet(benchmark::State& state)
{
    int month = 0;
    for (auto _ : state) {
        int m = 1 + month++ % 12;
        benchmark::DoNotOptimize(FillMonthGrid(2024, m, 15));
        benchmark::DoNotOptimize(FillMonthEvents(2024, m));
        benchmark::DoNotOptimize(ComposeMonthDayInfo(2024, m, 15));
    }
}
BENCHMARK(BM_MonthSheet)->Unit(benchmark::kMillisecond);

// 100 years of days that are lunar New Year and 立春 at once.
void BM_ConditionDays100Years(benchmark::State& state)
{
    DayQuery query;
    query.lunarMonth = 1;
    query.lunarDay = 1;
    query.term = "立春";
    query.firstYear = 2000;
    query.years = 100;
    for (auto _ : state) benchmark::DoNotOptimize(SearchConditionDays(query));
}
BENCHMARK(BM_ConditionDays100Years)->Unit(benchmark::kMillisecond);

// Three long months in a row over 104 BC .. AD 5000, records warm.
void BM_ConditionMonthsWholeRange(benchmark::State& state)
{
    MonthQuery query;
    query.search = MonthSearch::ThreeLong;
    query.firstYear = -103;
    query.years = 5104;
    for (auto _ : state) benchmark::DoNotOptimize(SearchConditionMonths(query));
}
BENCHMARK(BM_ConditionMonthsWholeRange)->Unit(benchmark::kMillisecond);

}  // namespace
