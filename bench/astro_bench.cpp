// The costs of the astronomy behind every calendar view: one position of the
// Sun and of the Moon, one solar-term and one new-moon solve, one sun time.
#include <benchmark/benchmark.h>

#include "moon.h"
#include "solver.h"
#include "sun.h"
#include "sun_events.h"

namespace {

// Spread the arguments over a year so no call is a repeat of the last.
double Jde(benchmark::State& state) { return 2460000.0 + double(state.iterations() % 365); }

void BM_SunApparentLongitude(benchmark::State& state)
{
    for (auto _ : state) benchmark::DoNotOptimize(SunApparentLongitude(Jde(state)));
}
BENCHMARK(BM_SunApparentLongitude);

void BM_MoonApparentLongitude(benchmark::State& state)
{
    for (auto _ : state) benchmark::DoNotOptimize(MoonApparentLongitude(Jde(state)));
}
BENCHMARK(BM_MoonApparentLongitude);

void BM_SolarTermSolve(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(NextSolarTermMoment(int32_t(Jde(state)), 0, 0));
}
BENCHMARK(BM_SolarTermSolve);

void BM_NewMoonSolve(benchmark::State& state)
{
    for (auto _ : state) benchmark::DoNotOptimize(NextNewOrFullMoon(int32_t(Jde(state)), 0));
}
BENCHMARK(BM_NewMoonSolve);

void BM_SunEventTime(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(SunEventTime(int32_t(Jde(state)), -116.3833, 39.9, 8, Sunrise));
}
BENCHMARK(BM_SunEventTime);

}  // namespace
