// Moments of solar terms and of new and full moons. One secant root finder
// on the angle still to be travelled serves both; around it sit the finders
// the Chinese calendar asks: the next term on or after a civil day, its
// index, the n-th term on or after a day, the next new or full moon, and a
// new-moon finder that advances a late new moon to the next day as the
// historical calendars did. Moments are civil (UTC+8): floor = day number,
// fraction = time since local midnight.
#pragma once
#include <cstdint>
#include <optional>

enum LongitudeMode : int {
    SunMode = 0,   // any value other than MoonMode
    MoonMode = 1,  // elongation of the Moon from the Sun
};

// Convergence limit of the solver, a single-precision 1e-10.
constexpr double SolverEpsilon = double(1e-10f);

// Angle in [0, 360) still to be travelled at jd (UT) before the target is met.
double LongitudeResidual(double jd, double target, int mode);
// jd (UT) of the first event after the start at which the Sun's longitude
// (or the Moon's elongation) reaches target degrees.
double SolveLongitude(double startJd, double target, int mode);

// The first solar term (every 15 degrees, or only the principal terms at
// multiples of 30 when principalOnly) whose civil day is `day` or later.
double NextSolarTermMoment(int32_t day, int principalOnly, int applyCorrection);
// Index 1..24 of the term NextSolarTermMoment(day, 0, ...) finds.
int NextSolarTermIndex(int32_t day, int applyCorrection);
// Term n (1 = 小寒 at 285 degrees .. 24 = 冬至 at 270) on or after `day`.
double AstroTermOnOrAfter(int32_t day, int n, int applyCorrection);
// The next new moon (kind 0) on or after `day`, or the next full moon.
double NextNewOrFullMoon(int32_t day, int kind);
// The next new moon on or after `day`, a new moon later in its day than
// `threshold` counting for the next day, else moved by the correction list.
double NewMoonWithAdvance(int32_t day, double threshold);

// What NewMoonWithAdvance did to the modern new moon that answered it.
enum class NewMoonRule {
    AsComputed,   // left as computed
    Exempt,       // a day of the exception list: neither advanced nor corrected
    Advanced,     // later in its day than the threshold: 00:00 of the next day
    MovedByList,  // moved a day by the correction list
};
struct AdvancedNewMoon {
    double computed;  // the modern new moon
    double moment;    // NewMoonWithAdvance's answer
    NewMoonRule rule;
};
// NewMoonWithAdvance(day, threshold) with the new moon it started from.
AdvancedNewMoon ExplainNewMoonWithAdvance(int32_t day, double threshold);

// The civil days of the finders above, for callers that need no more: the
// same days, mostly read from positions at local midnights instead of solved.
// floor(NextNewOrFullMoon(day, 0)).
int32_t NextNewMoonDay(int32_t day);
// floor(NewMoonWithAdvance(day, threshold)).
int32_t NewMoonDayWithAdvance(int32_t day, double threshold);
// floor(AstroTermOnOrAfter(day, n, applyCorrection)).
int32_t AstroTermDayOnOrAfter(int32_t day, int n, int applyCorrection);
// floor(NextNewOrFullMoon(day, 1)).
int32_t NextFullMoonDay(int32_t day);
// floor(NextSolarTermMoment(day, principalOnly, applyCorrection)).
int32_t NextSolarTermDay(int32_t day, int principalOnly, int applyCorrection);
// 1 when the day of NextSolarTermMoment(day, principalOnly, applyCorrection)
// lies in day..last, else 0.
int NextSolarTermWithin(int32_t day, int principalOnly, int applyCorrection, int32_t last);
// NextSolarTermMoment(day, principalOnly, applyCorrection) to within a
// millisecond, solved from the term's day in a few positions instead of the
// finder's searches from three weeks before; nothing where the midnights
// leave the term or its day open, or a day correction lies near. The two
// differ in the last digits only: for texts to the second.
std::optional<double> NearNextSolarTermMoment(int32_t day, int principalOnly, int applyCorrection);
// Drops the positions and days kept for the day-level finders.
void EraseDaySearches();

// Moments moved onto the days of the historical record by the day lists.
double ApplyTermDayCorrection(double moment);
double ApplyNewMoonDayCorrection(double moment);

// Longitude of term n in degrees: 15 (n - 6), plus 360 below n = 6.
int TermLongitude(int n);
