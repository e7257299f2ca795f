#include "solver.h"

#include <algorithm>
#include <cmath>

#include "civil_calendar.h"
#include "day_corrections.h"
#include "moon.h"
#include "sun.h"
#include "time_scales.h"

namespace {

// One second, rounded to five significant digits: a moment moved to "the end
// of the previous day" reads 23:59:59.
constexpr double OneSecondBefore = 0.000011574;

double SolveMoment(double startJd, double target, int mode)
{
    return MomentOfJd(SolveLongitude(startJd, target, mode));
}

double SolveTerm(double startJd, int longitude, int applyCorrection)
{
    double r = SolveMoment(startJd, longitude, SunMode);
    return applyCorrection ? ApplyTermDayCorrection(r) : r;
}

int NextLongitude(int k, int step)
{
    k += step;
    return k >= 360 ? k - 360 : k;
}

int IndexOfLongitude(int k)
{
    int n = 6 + k / 15;
    return n > 24 ? n - 24 : n;
}

// The civil day opens at local midnight; the Sun's longitude then decides the
// last term of the family already reached.
int LastTermReached(int32_t day, int step)
{
    double lambda0 = SunApparentLongitude(ToDynamicalTime(LocalMidnightJd(day)));
    return step * int(std::floor(lambda0 / step));
}

// The day number of a moment for a list lookup; a moment far outside the
// calendar's range maps to a day no list holds.
int32_t ListDay(double moment)
{
    double day = std::floor(moment);
    return day >= -1e9 && day <= 1e9 ? int32_t(day) : NoDayNumber;
}

double AdjustNewMoon(double r, double threshold)
{
    double day = std::floor(r);
    if (IsNewMoonException(ListDay(r))) return r;
    if (threshold > 0 && r - day > threshold) return day + 1;
    return ApplyNewMoonDayCorrection(r);
}

}  // namespace

int TermLongitude(int n) { return n >= 6 ? 15 * (n - 6) : 15 * (n - 6) + 360; }

double LongitudeResidual(double jd, double target, int mode)
{
    double jde = ToDynamicalTime(jd);
    if (mode == MoonMode) {
        double nutation = NutationInLongitude(jde);
        return NormalizeAngle(
            target - (MoonApparentLongitude(jde, nutation) - SunApparentLongitude(jde, nutation)),
            180, 180);
    }
    return NormalizeAngle(target - SunApparentLongitude(jde), 180, 180);
}

double SolveLongitude(double x0, double target, int mode)
{
    double x1 = x0 + (mode == MoonMode ? 25 : 360);
    double f0 = LongitudeResidual(x0, target, mode);
    double f1 = LongitudeResidual(x1, target, mode);
    // Both residuals are angles still to go, so this heads for the first
    // event after x0.
    if (f1 > f0) f1 -= 360;
    double slope = 1, x2 = 0;
    for (int i = 0; i < 20; ++i) {
        if (100000 * std::fabs(x1 - x0) < SolverEpsilon) break;
        double s = (f1 - f0) / (x1 - x0);
        if (100000 * std::fabs(s) > SolverEpsilon) slope = s;
        x2 = x0 - f0 / slope;
        double f2 = LongitudeResidual(x2, target, mode);
        if (f2 > 180) f2 -= 360;
        if (std::fabs(f2) < SolverEpsilon) break;
        x0 = x1;
        f0 = f1;
        x1 = x2;
        f1 = f2;
    }
    return x2;
}

double NextSolarTermMoment(int32_t day, int principalOnly, int applyCorrection)
{
    int step = principalOnly ? 30 : 15;
    int back = principalOnly ? 40 : 20;
    int ahead = principalOnly ? 20 : 10;
    int k = LastTermReached(day, step);
    double r = SolveTerm(double(day) - back, k, applyCorrection);
    for (int i = 0; i < 2 && std::floor(r) < day; ++i) {
        k = NextLongitude(k, step);
        r = SolveTerm(r + ahead, k, applyCorrection);
    }
    return r;
}

int NextSolarTermIndex(int32_t day, int applyCorrection)
{
    int k = LastTermReached(day, 15);
    double r = SolveTerm(double(day) - 20, k, applyCorrection);
    if (std::floor(r) >= day) return IndexOfLongitude(k);
    k = NextLongitude(k, 15);
    r = SolveTerm(r + 10, k, applyCorrection);
    if (std::floor(r) >= day) return IndexOfLongitude(k);
    return IndexOfLongitude(NextLongitude(k, 15));
}

double AstroTermOnOrAfter(int32_t day, int n, int applyCorrection)
{
    int k = TermLongitude(std::clamp(n, 1, 24));
    double r = SolveTerm(LocalMidnightJd(day), k, applyCorrection);
    if (std::floor(r) >= day) return r;
    return SolveTerm(r + 300, k, applyCorrection);
}

double NextNewOrFullMoon(int32_t day, int kind)
{
    if (kind != 0) return SolveMoment(LocalMidnightJd(day), 180, MoonMode);
    double r = SolveMoment(double(day) - 10, 0, MoonMode);
    if (std::floor(r) >= day) return r;
    return SolveMoment(r + 20, 0, MoonMode);
}

double NewMoonWithAdvance(int32_t day, double threshold)
{
    double r = AdjustNewMoon(SolveMoment(double(day) - 10, 0, MoonMode), threshold);
    if (std::floor(r) >= day) return r;
    return AdjustNewMoon(SolveMoment(r + 20, 0, MoonMode), threshold);
}

double ApplyTermDayCorrection(double moment)
{
    double day = std::floor(moment);
    const TermDayCorrection* c = FindTermDayCorrection(ListDay(moment));
    if (!c) return moment;
    if (c->sign == '+') return day + c->digit;
    return day - c->digit + 1 - OneSecondBefore;
}

double ApplyNewMoonDayCorrection(double moment)
{
    double day = std::floor(moment);
    const NewMoonDayCorrection* c = FindNewMoonDayCorrection(ListDay(moment));
    if (!c) return moment;
    return c->shift > 0 ? day + 1 : day - OneSecondBefore;
}
