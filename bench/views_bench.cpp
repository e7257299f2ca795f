// The costs of what the windows and tools show: a day card, a month sheet
// (shown again, and of a year never shown), the day export of two
// centuries, condition-day searches over a century and over the whole range
// of the tools, and condition-month searches over the whole range.
#include <benchmark/benchmark.h>

#include "calendar_flags.h"
#include "civil_calendar.h"
#include "condition_query.h"
#include "converter.h"
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

// The month sheet of a year whose records, terms and moons nothing has
// asked for yet: every iteration moves on to a later year.
void BM_MonthSheetNewYear(benchmark::State& state)
{
    int32_t year = 3000;
    for (auto _ : state) {
        ++year;
        benchmark::DoNotOptimize(FillMonthGrid(year, 6, 15));
        benchmark::DoNotOptimize(FillMonthEvents(year, 6));
        benchmark::DoNotOptimize(ComposeMonthDayInfo(year, 6, 15));
    }
}
BENCHMARK(BM_MonthSheetNewYear)->Unit(benchmark::kMillisecond)->Iterations(200);

// The lines of `lumora-cli export 1901-01-01 2100-12-31`, records and day
// searches dropped before each run.
void BM_ExportTwoCenturies(benchmark::State& state)
{
    const int32_t first = DateToDayNumber(1901, 1, 1), last = DateToDayNumber(2100, 12, 31);
    size_t bytes = 0;
    for (auto _ : state) {
        state.PauseTiming();
        EraseLunarYearCache();
        state.ResumeTiming();
        ExportDayLines(first, last, ' ', [&bytes](const std::string& line) { bytes += line.size(); });
    }
    benchmark::DoNotOptimize(bytes);
}
BENCHMARK(BM_ExportTwoCenturies)->Unit(benchmark::kMillisecond)->Iterations(3);

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

// A days query over 104 BC .. AD 5000 under the setting of the argument,
// from nothing kept.
void SearchWholeRange(benchmark::State& state, DayQuery query)
{
    query.firstYear = -103;
    query.years = 5104;
    for (auto _ : state) {
        state.PauseTiming();
        SetModernCalculateAncientFlag(int(state.range(0)));
        EraseLunarYearCache();
        state.ResumeTiming();
        benchmark::DoNotOptimize(SearchConditionDays(query));
    }
    SetModernCalculateAncientFlag(0);
}

// A solar term and a festival among the criteria.
void BM_ConditionDaysWholeRange(benchmark::State& state)
{
    DayQuery query;
    query.term = "清明";
    query.festival = "复活节";
    SearchWholeRange(state, query);
}
BENCHMARK(BM_ConditionDaysWholeRange)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(1);

// Every winter solstice, each listed with its moment to the second.
void BM_SolsticeDaysWholeRange(benchmark::State& state)
{
    DayQuery query;
    query.term = "冬至";
    SearchWholeRange(state, query);
}
BENCHMARK(BM_SolsticeDaysWholeRange)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(1);

// Every Sunday: some 266,000 days listed with all their texts.
void BM_SundaysWholeRange(benchmark::State& state)
{
    DayQuery query;
    query.weekday = "星期日";
    SearchWholeRange(state, query);
}
BENCHMARK(BM_SundaysWholeRange)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(1);

// Three long months in a row over 104 BC .. AD 5000, every record built
// afresh as in a new process.
void BM_ConditionMonthsFresh(benchmark::State& state)
{
    MonthQuery query;
    query.search = MonthSearch::ThreeLong;
    query.firstYear = -103;
    query.years = 5104;
    for (auto _ : state) {
        state.PauseTiming();
        EraseLunarYearCache();
        state.ResumeTiming();
        benchmark::DoNotOptimize(SearchConditionMonths(query));
    }
}
BENCHMARK(BM_ConditionMonthsFresh)->Unit(benchmark::kMillisecond)->Iterations(1);

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
