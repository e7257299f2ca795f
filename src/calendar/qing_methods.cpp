#include "qing_methods.h"

#include <cmath>

#include "date_text.h"
#include "polynomial.h"
#include "time_scales.h"

// Each theory counts the Sun's mean motion from the winter solstice that
// precedes the civil year, moves the perigee on by a fixed amount per year
// (and, in the two later theories, per day since that solstice), and adds an
// equation of centre: a double epicycle in the 1628 and 1684 theories, a
// Keplerian ellipse in the 1723 one. The constants are those the court
// astronomers published; the few the historical tables held in single
// precision are widened from float so every result matches to the bit.
//
// An unknown model, or a moment outside the range of the date texts, has no
// longitude: QingSolarLongitude then gives 0, and the term finders give 0
// (moment) and 0 (number), which no term of the calendar's years has.

namespace {

struct QingConstants {
    double epoch;          // the model's winter solstice before year Y0 (moment)
    double yearLength;     // days
    double motion;         // mean motion, arc-seconds per day
    int epochYear;         // Y0
    double perigee;        // perigee from the solstice at the epoch, degrees
    double perigeePerYear; // degrees per year since Y0
    double perigeePerDay;  // degrees per day since the solstice; 0 for none
};

const QingConstants Model1628 = {2315665.09375689487, 365.2421875, 3548.3304444, 1628,
                                 5.9997222222,        F(0.0125f),  0};
const QingConstants Model1684 = {2336118.656374926, 365.2421875, 3548.3305169, 1684,
                                 7.1697685185,      F(0.01699f), 0.00004652};
const QingConstants Model1723 = {2350363 + F(0.12254f), 365.24233442, 3548.3290897, 1723,
                                 8.1256574074,          0.0174993,    0.00004791};

const QingConstants* ConstantsOf(int model)
{
    switch (model) {
    case Qing1628: return &Model1628;
    case Qing1684: return &Model1684;
    case Qing1723: return &Model1723;
    default: return nullptr;
    }
}

// The civil year of moment t: the year of the day its moment text shows, so
// that the year changes exactly where the calendar's texts change it. False
// when the moment has no text.
bool CivilYearOfMoment(double t, int* year)
{
    MomentFields fields = MomentToFields(t);
    std::optional<CalendarDate> date = fields.valid ? DayNumberToDate(fields.dayNumber) : std::nullopt;
    if (!date) return false;
    *year = date->year;
    return true;
}

double AtanDegrees(double y) { return std::atan(y) / Degree; }

// Equation of centre of the double epicycle for anomaly m in [0, 360).
double EpicycleEquation(double m)
{
    double folded = m < 90 ? m : m < 180 ? 180 - m : m < 270 ? m - 180 : 360 - m;
    constexpr double radius = 2 * 268812.0 / 3;  // 179208
    double a = radius * 2 * std::sin(folded * Degree);
    double b = radius * std::cos(folded * Degree);
    double divisor = (m >= 90 && m < 270) ? 10000000 + b : 10000000 - b;
    return AtanDegrees(a / divisor);
}

// Equation of centre of the ellipse for anomaly m in [0, 360): the angle
// seen from the empty focus (u) and its reduction to the mean anomaly (r).
double EllipseEquation(double m)
{
    double folded = m < 180 ? m : 360 - m;
    double h = (180 - folded) / 2;
    double u = 2 * (h - AtanDegrees(std::tan(h * Degree) * (20000000 - 2 * 169000.0) /
                                     (20000000 + 2 * 169000.0)));
    double r = std::fabs(folded - AtanDegrees(std::tan(folded * Degree) * 10000000 / 9998571.85));
    r = r - 180 * std::floor(r / 180);
    return (m >= 90 && m < 270) ? u - r : u + r;
}

// The longitude, or false when the model or the moment has none.
bool LongitudeAt(int model, double t, double* longitude)
{
    const QingConstants* c = ConstantsOf(model);
    int year = 0;
    if (!c || !CivilYearOfMoment(t, &year)) return false;
    int years = year - c->epochYear;
    double solstice = c->epoch + c->yearLength * years;
    double d0 = std::floor(solstice) + 1;
    double mean = ((d0 - solstice) * c->motion + c->motion * (t - d0)) / 3600;
    double perigee = c->perigee + c->perigeePerYear * years;
    if (c->perigeePerDay != 0) perigee += c->perigeePerDay * (t - d0);
    double m = NormalizeAngle(mean - perigee, 180, 180);
    double fromSolstice;
    if (model == Qing1723) {
        double q = EllipseEquation(m);
        fromSolstice = m < 180 ? mean + q : mean - q;
    } else {
        double q = EpicycleEquation(m);
        fromSolstice = m >= 180 ? mean - q : mean + q;
    }
    *longitude = NormalizeAngle(fromSolstice + 270, 180, 180);
    return true;
}

// The multiple of `step` at or below x, computed exactly: x - fmod(x, step)
// is an exact multiple, where floor(x / step) may round up across it.
double MultipleAtOrBelow(double x, double step) { return x - std::fmod(x, step); }

// How many days from x the search for the crossing may look. Principal terms
// lie up to about 31.5 days apart, so a search from the day after one of
// them must be able to reach the next.
constexpr int SearchDays = 40;

}  // namespace

double QingSolarLongitude(int model, double t)
{
    double longitude = 0;
    return LongitudeAt(model, t, &longitude) ? longitude : 0;
}

double QingTermMoment(int model, double x, int kind)
{
    double step = kind == 1 ? 30 : 15;
    double start = 0;
    if (!LongitudeAt(model, x, &start)) return 0;
    if (std::fmod(start, step) == 0) return x;
    double target = MultipleAtOrBelow(start, step) + step;

    double d = x;
    double here = start, next = 0;
    for (int i = 0; i <= SearchDays; ++i, d += 1, here = next) {
        if (target == 360 && here == 0) return d;
        if (!LongitudeAt(model, d + 1, &next)) return 0;
        if (target == 360) {
            // The longitude wraps past 0 between the two midnights.
            if (next < 2) return d + (360 - here) / (360 + next - here);
        } else if (here <= target && target < next) {
            if (here == target) return d;
            return d + (target - here) / (next - here);
        }
    }
    return 0;
}

int QingTermNumber(int model, double x)
{
    double longitude = 0;
    if (!LongitudeAt(model, x, &longitude)) return 0;
    double below = MultipleAtOrBelow(longitude, 15);
    int j = int(below / 15) + (longitude == below ? 0 : 1);
    return j + 6 <= 24 ? j + 6 : j + 6 - 24;
}
