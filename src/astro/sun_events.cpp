#include "sun_events.h"

#include <cmath>
#include <cstdio>

#include "places.h"
#include "polynomial.h"
#include "sun.h"
#include "time_scales.h"

namespace {

// Half the arc (degrees) the Sun spends above altitude h: -180 when it stays
// above all day, +180 when it never reaches h.
double HalfArc(double h, double phi, double delta)
{
    double c = (std::sin(h) - std::sin(phi) * std::sin(delta)) / (std::cos(phi) * std::cos(delta));
    if (c <= -1) return -180;
    if (c >= 1) return 180;
    if (c == 0) return 90;
    double a = std::atan(std::sqrt(1 - c * c) / c) / Degree;
    return a < 0 ? a + 180 : a;
}

}  // namespace

double MeanObliquity(double t)
{
    return Polynomial(t, {84381.4088, -46.836051, -0.0001667, -0.00199911, -0.000000523}) / 3600 *
           Degree;
}

double SiderealTime(double d, double deltaT)
{
    double t = (d + deltaT) / 36525;
    return 2 * Pi * (0.779057273264 + 1.00273781191135 * d) +
           Polynomial(t, {0.014506, 4612.15739966, 1.39667721, -0.00009344, 0.00001882}) / 3600 *
               Degree;
}

EquatorialPosition EclipticToEquatorial(double lambda, double beta, double epsilon)
{
    // The one-argument arctangent leaves the quadrant open modulo 180
    // degrees; SunEventTime folds the hour angle accordingly.
    double alpha = std::atan(
        (std::sin(lambda) * std::cos(epsilon) - std::tan(beta) * std::sin(epsilon)) /
        std::cos(lambda));
    double x = std::sin(beta) * std::cos(epsilon) +
               std::cos(beta) * std::sin(epsilon) * std::sin(lambda);
    return {NormalizeRadians(alpha), std::atan(x / std::sqrt(1 - x * x))};
}

std::string TimeOfDayText(double x)
{
    if (!std::isfinite(x)) return "";
    double h = 24 * (x - std::floor(x));
    double m = 60 * (h - std::floor(h));
    double s = 60 * (m - std::floor(m));
    char text[32];
    std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld", (long long)h, (long long)m, (long long)s);
    return text;
}

std::string SunEventTime(int32_t day, double longitude, double latitude, int zone, int kind)
{
    // The negated tests also turn NaN away.
    if (!(longitude >= -180 && longitude <= 180) || !(latitude >= -90 && latitude <= 90) ||
        zone < -12 || zone > 12 || kind < Sunrise || kind > TwilightDaylightLength)
        return "";
    double jd0 = day - 0.5;  // 0h UT of the civil date
    double d = jd0 - J2000;
    double dt = ToDynamicalTime(jd0) - jd0;
    double lambda = SunApparentLongitude(jd0 + dt) * Degree;
    EquatorialPosition sun = EclipticToEquatorial(lambda, 0, MeanObliquity(d / 36525));
    double theta = SiderealTime(d, dt);
    double x = NormalizeAngle(theta / Degree - longitude - sun.rightAscension / Degree, 180, 180);
    // Local apparent noon falls between 0h and 12h UT for the places east of
    // Greenwich the calendar serves.
    if (x >= 180) x -= 180;

    bool twilight = kind >= Dawn;
    double h = twilight ? -Pi / 30 : (-50.0 * 60 / 3600) * Degree;
    double arc = HalfArc(h, latitude * Degree, sun.declination);
    bool lengthKind = kind == DaylightLength || kind == TwilightDaylightLength;
    bool endKind = kind == Sunset || kind == Dusk;
    if (arc == 180) return "00:00:00";
    if (arc == -180 && kind != Transit) return lengthKind || endKind ? "24:00:00" : "00:00:00";
    double zoneDays = zone / 24.0;
    switch (kind) {
    case Transit: return TimeOfDayText((180 - x) / 360 + zoneDays);
    case DaylightLength:
    case TwilightDaylightLength: return TimeOfDayText(2 * arc / 360);
    case Sunset:
    case Dusk: return TimeOfDayText((180 + arc - x) / 360 + zoneDays);
    default: return TimeOfDayText((180 - arc - x) / 360 + zoneDays);
    }
}

std::string SunTimeHere(int32_t day, int kind)
{
    return SunEventTime(day, CurrentPlace.longitude, CurrentPlace.latitude, CalcZone, kind);
}
