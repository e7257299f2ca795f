#include "sun.h"

#include <cmath>

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

double NutationInLongitude(double jde)
{
    double t = Centuries(jde);
    // Fundamental arguments in degrees: mean elongation of the Moon, mean
    // anomalies of the Sun and the Moon, the Moon's argument of latitude and
    // the longitude of its ascending node.
    double d = NormalizeAngle(
        Polynomial(t, {297.8502042, 445267.1115168, -F(0.00163f), 1.0 / 545868}), 180, 180);
    double m = NormalizeAngle(
        Polynomial(t, {357.5291092, 35999.0502909, -0.0001536, -1.0 / 24490000}), 180, 180);
    double mp = NormalizeAngle(
        Polynomial(t, {134.9634114, 477198.8676313, 0.008997, 1.0 / 69699}), 180, 180);
    double f = NormalizeAngle(
        Polynomial(t, {93.2720993, 483202.0175273, -0.0034029, -1.0 / 3526000}), 180, 180);
    double omega = NormalizeAngle(
        Polynomial(t, {125.04452, -1934.136261, 0.0020708, 1.0 / 450000}), 180, 180);
    double sum = 0;  // arcseconds
    for (const NutationRow& r : NutationRows) {
        double arg = Degree * (r.d * d + r.m * m + r.mPrime * mp + r.f * f + r.omega * omega);
        sum += (r.s + r.sPrime * t) * std::sin(arg) * F(0.0001f);
    }
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
