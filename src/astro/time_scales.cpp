#include "time_scales.h"

#include <cmath>

#include "polynomial.h"

double NormalizeAngle(double x, int centre, int halfWidth)
{
    double width = 2.0 * halfWidth;
    double d = x - centre;
    d -= width * std::floor(d / width);
    if (d < -halfWidth)
        d += width;
    else if (d >= halfWidth)
        d -= width;
    return centre + d;
}

double NormalizeRadians(double x)
{
    return NormalizeAngle(x / Degree, 180, 180) * Degree;
}

double LocalTimeToDayFraction(int hour, int minute, double second)
{
    return (hour - CalcZone) / 24.0 + minute / 1440.0 + second / 86400;
}

// Delta T by the Espenak-Meeus polynomials, each segment closed below and
// open above.
double DeltaT(double y)
{
    if (y < -500) {
        double u = (y - 1820) / 100;
        return -20 + 32 * u * u;
    }
    if (y < 500)
        return Polynomial(y / 100, {F(10583.6f), -F(1014.41f), 33.78311, -5.952053, -0.1798452,
                                    0.022174192, 0.0090316521});
    if (y < 1600)
        return Polynomial((y - 1000) / 100, {F(1574.2f), -F(556.01f), 71.23472, 0.319781,
                                             -0.8503463, -0.005050998, 0.0083572073});
    if (y < 1700) return Polynomial(y - 1600, {120.0, -F(0.98f), -F(0.0153f), 1.0 / 7129});
    if (y < 1800)
        return Polynomial(y - 1700,
                          {F(8.83f), F(0.1603f), -0.0059285, 0.00013336, -1.0 / 1174000});
    if (y < 1860)
        return Polynomial(y - 1800, {F(13.72f), -0.332447, 0.0068612, 0.0041116, -0.00037436,
                                     0.0000121272, -0.0000001699, 0.000000000875});
    if (y < 1900)
        return Polynomial(y - 1860, {F(7.62f), F(0.5737f), -0.251754, 0.01680668,
                                     -0.0004473624, 1.0 / 233174});
    if (y < 1920)
        return Polynomial(y - 1900,
                          {-F(2.79f), 1.494119, -0.0598939, 0.0061966, -0.000197});
    if (y < 1941) return Polynomial(y - 1920, {F(21.20f), F(0.84493f), -F(0.0761f), 0.0020936});
    if (y < 1961) return Polynomial(y - 1950, {F(29.07f), F(0.407f), -1.0 / 233, 1.0 / 2547});
    if (y < 1986) return Polynomial(y - 1975, {F(45.45f), F(1.067f), -1.0 / 260, -1.0 / 718});
    if (y < 2005)
        return Polynomial(y - 2000, {F(63.86f), F(0.3345f), -0.060374, 0.0017275, 0.000651814,
                                     0.00002373599});
    if (y < 2050) return Polynomial(y - 2000, {F(62.92f), F(0.32217f), 0.005589});
    double u = (y - 1820) / 100;
    if (y < 2150) return -20 + 32 * u * u - F(0.5628f) * (2150 - y);
    // Past 2150 the long-term parabola uses 31, so Delta T drops by about
    // 10.9 s at the joint; kept, since every stored date was computed so.
    return -20 + 31 * u * u;
}

double ToDynamicalTime(double jd)
{
    double year = 2000 + (jd - 2451545) / 365.25;
    return jd + DeltaT(year) / 86400;
}
