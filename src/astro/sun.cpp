#include "sun.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <iterator>

#include "polynomial.h"
#include "series_tables.h"
#include "time_scales.h"

namespace {

template <size_t N>
double SumSeries(const VsopTerm (&terms)[N], double tau)
{
    double sum = 0;
    for (const VsopTerm& t : terms) sum += t.amplitude * std::cos(t.phase + t.frequency * tau);
    return sum;
}

// A series summed over its first terms only; the others can add at most the
// sum of their amplitudes.
struct CutSeries {
    const VsopTerm* terms;
    size_t kept;
    double restAmplitude;
};

template <size_t N>
CutSeries Cut(const VsopTerm (&terms)[N], size_t kept)
{
    kept = std::min(kept, N);
    double rest = 0;
    for (size_t i = kept; i < N; ++i) rest += std::fabs(terms[i].amplitude);
    return {terms, kept, rest};
}

// sum over a of series[a] tau^a from the kept terms, adding to `bound` what
// the others can add.
template <size_t N>
double SumCutSeries(const CutSeries (&series)[N], double tau, double& bound)
{
    double sum = 0, power = 1;
    for (const CutSeries& s : series) {
        double part = 0;
        for (size_t i = 0; i < s.kept; ++i)
            part += s.terms[i].amplitude * std::cos(s.terms[i].phase + s.terms[i].frequency * tau);
        sum += part * power;
        bound += s.restAmplitude * std::fabs(power);
        power *= tau;
    }
    return sum;
}

// Rounding of the quick sums against the full ones, far above the
// difference of their few dozen operations.
constexpr double RoundingAllowance = 1e-9;  // degrees

// Rows of the nutation series and terms of the Sun's daily motion (for the
// aberration) kept by the quick and the fine cut.
constexpr size_t RoughNutationRows[2] = {2, 12};
constexpr size_t RoughAberrationTerms[2] = {1, 21};

double Millennia(double jde) { return (jde - J2000) / 365250; }
double Centuries(double jde) { return (jde - J2000) / 36525; }

// The periodic part of the daily motion of the Sun in longitude, used for the
// aberration: amplitude ("), phase (deg), rate (deg per millennium) and the
// power of tau that multiplies the term.
struct AberrationTerm {
    double amplitude, phase, rate;
    int power;
};

const AberrationTerm AberrationTerms[21] = {
    {118.568, 87.5287, 359993.7286, 0},  {2.476, 85.0561, 719987.4571, 0},
    {1.376, 27.8502, 4452671.1152, 0},   {0.119, 73.1375, 450368.8564, 0},
    {0.114, 337.2264, 329644.6718, 0},   {0.086, 222.5400, 659289.3436, 0},
    {0.078, 162.8136, 9224659.7915, 0},  {0.054, 82.5823, 1079981.1857, 0},
    {0.052, 171.5189, 225184.4282, 0},   {0.034, 30.3214, 4092677.3866, 0},
    {0.033, 119.8105, 337181.4711, 0},   {0.023, 247.5418, 299295.6151, 0},
    {0.023, 325.1526, 315559.5560, 0},   {0.021, 155.1241, 675553.2846, 0},
    {7.311, 333.4515, 359993.7286, 1},   {0.305, 330.9814, 719987.4571, 1},
    {0.010, 328.5170, 1079981.1857, 1},  {0.309, 241.4518, 359993.7286, 2},
    {0.021, 205.0482, 719987.4571, 2},   {0.004, 297.8610, 4452671.1152, 2},
    {0.010, 154.7066, 359993.7286, 3},
};

}  // namespace

double EarthLongitude(double jde)
{
    double tau = Millennia(jde);
    double l0 = SumSeries(EarthL0, tau) + SumSeries(EarthL0Extra, tau);
    double l = Polynomial(tau, {l0, SumSeries(EarthL1, tau), SumSeries(EarthL2, tau),
                                SumSeries(EarthL3, tau), SumSeries(EarthL4, tau),
                                SumSeries(EarthL5, tau)});
    return NormalizeRadians(l);
}

double EarthLatitude(double jde)
{
    double tau = Millennia(jde);
    return Polynomial(tau, {SumSeries(EarthB0, tau), SumSeries(EarthB1, tau),
                            SumSeries(EarthB2, tau), SumSeries(EarthB3, tau),
                            SumSeries(EarthB4, tau)});
}

double EarthDistance(double jde)
{
    double tau = Millennia(jde);
    return Polynomial(tau, {SumSeries(EarthR0, tau), SumSeries(EarthR1, tau),
                            SumSeries(EarthR2, tau), SumSeries(EarthR3, tau),
                            SumSeries(EarthR4, tau), SumSeries(EarthR5, tau)});
}

namespace {

// Fundamental arguments of the nutation in degrees: mean elongation of the
// Moon, mean anomalies of the Sun and the Moon, the Moon's argument of
// latitude and the longitude of its ascending node.
struct NutationArguments {
    double d, m, mp, f, omega;
};

NutationArguments ArgumentsAt(double t)
{
    return {NormalizeAngle(Polynomial(t, {297.8502042, 445267.1115168, -F(0.00163f), 1.0 / 545868}), 180, 180),
            NormalizeAngle(Polynomial(t, {357.5291092, 35999.0502909, -0.0001536, -1.0 / 24490000}), 180, 180),
            NormalizeAngle(Polynomial(t, {134.9634114, 477198.8676313, 0.008997, 1.0 / 69699}), 180, 180),
            NormalizeAngle(Polynomial(t, {93.2720993, 483202.0175273, -0.0034029, -1.0 / 3526000}), 180, 180),
            NormalizeAngle(Polynomial(t, {125.04452, -1934.136261, 0.0020708, 1.0 / 450000}), 180, 180)};
}

// Term of row r in arcseconds.
double NutationTerm(const NutationRow& r, const NutationArguments& a, double t)
{
    double arg = Degree * (r.d * a.d + r.m * a.m + r.mPrime * a.mp + r.f * a.f + r.omega * a.omega);
    return (r.s + r.sPrime * t) * std::sin(arg) * F(0.0001f);
}

}  // namespace

double NutationInLongitude(double jde)
{
    double t = Centuries(jde);
    NutationArguments a = ArgumentsAt(t);
    double sum = 0;  // arcseconds
    for (const NutationRow& r : NutationRows) sum += NutationTerm(r, a, t);
    return sum / 3600;
}

double SolarAberration(double jde)
{
    double tau = Millennia(jde);
    double dl = 3548.193;  // arcseconds per day
    for (const AberrationTerm& a : AberrationTerms) {
        double factor = a.power == 0 ? 1 : a.power == 1 ? tau : a.power == 2 ? tau * tau : tau * tau * tau;
        dl += a.amplitude * factor * std::sin((a.phase + a.rate * tau) * Degree);
    }
    return -0.005775518 * EarthDistance(jde) * dl / 3600;
}

double SunApparentLongitude(double jde) { return SunApparentLongitude(jde, NutationInLongitude(jde)); }

double SunApparentLongitude(double jde, double nutation)
{
    double t = Centuries(jde);
    double lambda = (EarthLongitude(jde) + Pi) / Degree;
    // Reduction from the dynamical frame of VSOP87 to FK5.
    double lp = (lambda - F(1.397f) * t - F(0.00031f) * t * t) * Degree;
    double beta = -EarthLatitude(jde);
    lambda += (-F(0.09033f) + F(0.03916f) * (std::cos(lp) + std::sin(lp)) * std::tan(beta)) / 3600;
    lambda += nutation;
    lambda += SolarAberration(jde);
    return NormalizeAngle(lambda, 180, 180);
}

RoughLongitude RoughNutationInLongitude(double jde, RoughCut cut)
{
    double t = Centuries(jde);
    NutationArguments a = ArgumentsAt(t);
    double sum = 0, rest = 0;  // arcseconds
    for (size_t i = 0; i < std::size(NutationRows); ++i) {
        const NutationRow& r = NutationRows[i];
        if (i < RoughNutationRows[cut]) sum += NutationTerm(r, a, t);
        else rest += (std::fabs(r.s) + std::fabs(r.sPrime * t)) * F(0.0001f);
    }
    return {sum / 3600, rest / 3600 + RoundingAllowance};
}

RoughLongitude RoughSunApparentLongitude(double jde, const RoughLongitude& nutation, RoughCut cut)
{
    static const CutSeries longitudes[2][6] = {
        {Cut(EarthL0, 6), Cut(EarthL1, 3), Cut(EarthL2, 2), Cut(EarthL3, 1), Cut(EarthL4, 0), Cut(EarthL5, 0)},
        {Cut(EarthL0, 40), Cut(EarthL1, 20), Cut(EarthL2, 10), Cut(EarthL3, 8), Cut(EarthL4, 8), Cut(EarthL5, 4)}};
    static const CutSeries distances[2][6] = {
        {Cut(EarthR0, 3), Cut(EarthR1, 1), Cut(EarthR2, 0), Cut(EarthR3, 0), Cut(EarthR4, 0), Cut(EarthR5, 0)},
        {Cut(EarthR0, 10), Cut(EarthR1, 5), Cut(EarthR2, 3), Cut(EarthR3, 0), Cut(EarthR4, 0), Cut(EarthR5, 0)}};
    const auto& longitude = longitudes[cut];
    const auto& distance = distances[cut];
    static const CutSeries extra[] = {Cut(EarthL0Extra, 0)};
    static const CutSeries latitude[] = {Cut(EarthB0, 0), Cut(EarthB1, 0), Cut(EarthB2, 0), Cut(EarthB3, 0),
                                         Cut(EarthB4, 0)};
    double tau = Millennia(jde);
    double lBound = 0, bBound = 0, rBound = 0;  // radians, radians, astronomical units
    double l = SumCutSeries(longitude, tau, lBound);
    SumCutSeries(extra, tau, lBound);
    SumCutSeries(latitude, tau, bBound);  // all of it left out: |latitude| <= bBound
    double r = SumCutSeries(distance, tau, rBound);
    // The FK5 reduction with the latitude taken as zero; |cos + sin| <= 2.
    double lambda = (l + Pi) / Degree - F(0.09033f) / 3600 + nutation.value;
    double bound = lBound / Degree + F(0.03916f) * 2 * std::tan(std::min(bBound, 0.01)) / 3600 + nutation.bound;
    // The aberration as SolarAberration computes it, from the rough distance
    // and the first terms of the daily motion.
    double dl = 3548.193, dlRest = 0;
    for (size_t i = 0; i < std::size(AberrationTerms); ++i) {
        const AberrationTerm& a = AberrationTerms[i];
        double factor = a.power == 0 ? 1 : a.power == 1 ? tau : a.power == 2 ? tau * tau : tau * tau * tau;
        if (i < RoughAberrationTerms[cut]) dl += a.amplitude * factor * std::sin((a.phase + a.rate * tau) * Degree);
        else dlRest += std::fabs(a.amplitude * factor);
    }
    lambda += -0.005775518 * r * dl / 3600;
    bound += 0.005775518 * (rBound * (std::fabs(dl) + dlRest) + (std::fabs(r) + rBound) * dlRest) / 3600 +
             RoundingAllowance;
    return {lambda, bound};
}
