#include "moon.h"

#include <cmath>

#include "polynomial.h"
#include "series_tables.h"
#include "sun.h"
#include "time_scales.h"

namespace {

// Precession coefficients in arcseconds per power of the Julian millennium.
const double PrecessionCoefficients[7] = {50287.92262, 111.24406, F(0.07699f), F(-0.23479f),
                                          F(-0.00178f), F(0.00018f), F(0.00001f)};

template <size_t N>
double SumSeries(const MoonTerm (&terms)[N], double t)
{
    double sum = 0;
    for (const MoonTerm& m : terms) sum += m.a * std::sin(Polynomial(t, {m.b, m.c, m.d, m.e, m.f}));
    return sum;
}

}  // namespace

double GeneralPrecession(double jde)
{
    double t = (jde - J2000) / 365250;
    double at = std::fabs(t);
    // Far from J2000 the higher powers would run away; drop them.
    int n = at <= 1 ? 7 : at <= 3 ? 6 : at <= 5 ? 5 : 4;
    double p = 0, power = 1;
    for (int i = 0; i < n; ++i) {
        power *= t;
        p += PrecessionCoefficients[i] * power;
    }
    return NormalizeAngle((p + F(2.9965f) * t) / 3600, 180, 180);
}

double MoonApparentLongitude(double jde) { return MoonApparentLongitude(jde, NutationInLongitude(jde)); }

double MoonApparentLongitude(double jde, double nutation)
{
    double t = (jde - J2000) / 36525;
    // Mean longitude of the Moon in the J2000 frame, radians.
    double w = Polynomial(t, {3.81034392032, 8399.68473021, -0.0000331919929753,
                              0.0000000320170955005, -0.000000000153637455544});
    double periodic = (Polynomial(t, {SumSeries(ML0, t), SumSeries(ML1, t), SumSeries(ML2, t)}) /
                       3600) * Degree;
    double lambda = NormalizeRadians(w + periodic) / Degree;
    lambda += GeneralPrecession(jde);
    lambda += nutation;
    return NormalizeAngle(lambda, 180, 180);
}
