#include "historical_calendar.h"

#include <cmath>
#include <cstdint>
#include <iterator>
#include <unordered_map>

#include "calendar_flags.h"
#include "civil_calendar.h"
#include "date_text.h"
#include "day_corrections.h"
#include "polynomial.h"
#include "qing_methods.h"
#include "solver.h"
#include "sun.h"
#include "time_scales.h"

namespace {

// A span of days whose solar terms follow one calendar: mean terms with a
// year of 365 + numerator/denominator days counted from epoch A, or one of
// the Qing court's solar theories (qingModel != 0).
struct TermSpan {
    int32_t first, last;
    double yearLength;
    double epoch;
    int qingModel;
};

constexpr double MeanYear(double numerator, double denominator) { return 365 + numerator / denominator; }

// The calendars in force from 104 BC to 1887, by the day their terms began
// to be counted; each epoch is the winter solstice the calendar counts from.
const TermSpan TermSpans[] = {
    {1683432, 1752098, MeanYear(1, 4), 1683431, 0},
    {1752099, 1807980, MeanYear(1, 4), 1662611, 0},
    {1807981, 1883585, MeanYear(455, 1843), 330191, 0},
    {1883586, 1907323, MeanYear(75, 304), 1798541 - MeanYear(75, 304) / 6, 0},
    {1907324, 1936543, MeanYear(9589, 39491), -17080189, 0},
    {1936544, 1939099, MeanYear(25063, 102960), -1506155749, 0},
    {1939100, 1947135, MeanYear(10363, 42640), -519493909, 0},
    {1947136, 1964332, MeanYear(2315, 9464), -58077529, 0},
    {1964333, 1987312, MeanYear(328, 1340), -96608689, 0},
    {1987313, 1999365, MeanYear(743, 3040), -35412747829.0, 0},
    {1999366, 2007400, MeanYear(328, 1340), -96608689, 0},
    {2007401, 2021279, MeanYear(268, 1095), -145149709, 0},
    {2021280, 2047212, MeanYear(2055, 8400), -2580308749.0, 0},
    {2047213, 2070222, MeanYear(3301, 13500), -19701911689.0, 0},
    // 1760.4 is a single-precision value; in double precision a quarter of
    // this span's mean terms land on another day.
    {2070223, 2073144, MeanYear(F(1760.4f), 7200), -26550639529.0, 0},
    {2073145, 2080479, MeanYear(2445, 10002), -1760435869, 0},
    {2080480, 2087023, MeanYear(720, 2940), -11153952409.0, 0},
    {2087024, 2095059, MeanYear(2470, 10100), -259609969, 0},
    {2095060, 2110034, MeanYear(2590, 10590), -35629828429.0, 0},
    {2110035, 2111129, MeanYear(9500, 39000), -257856109, 0},
    {2111130, 2114051, MeanYear(2590, 10590), -35629828429.0, 0},
    {2114052, 2120625, MeanYear(5773, 23700), -30380699989.0, 0},
    {2120626, 2123912, MeanYear(2930, 12030), -2169182929.0, 0},
    {2123913, 2125008, MeanYear(6840, 28080), -9312230089.0, 0},
    {2125009, 2135965, MeanYear(1776, 7290), -10448760934.0, 0},
    {2135966, 2147653, MeanYear(1688, 6930), -34422652789.0, 0},
    {2147654, 2150940, MeanYear(7308, 30000), -33470903029.0, 0},
    {2150941, 2156054, MeanYear(1374, 5640), -19144640089.0, 0},
    {2156055, 2158976, MeanYear(9432, 38700), -9309647509.0, 0},
    {2158977, 2162264, MeanYear(2910, 12000), 758271.18, 0},
    {2162265, 2178334, MeanYear(4108, 16900), -2864332609.0, 0},
    {2178335, 2178699, MeanYear(857, 3530), -43924711309.0, 0},
    {2178700, 2185273, MeanYear(2366, 9740), -4145566969.0, 0},
    {2185274, 2187465, MeanYear(1801, 7420), -26206955689.0, 0},
    {2187466, 2188926, MeanYear(1274, 5230), -32372914549.0, 0},
    {2188927, 2322133, 365.2425, 2188926.06, 0},
    {2322134, 2336118, 0, 0, Qing1628},
    {2336119, 2357303, 0, 0, Qing1684},
    {2357304, 2410263, 0, 0, Qing1723},
};

// A span of days whose new moons follow one calendar: mean months of
// `month` days from epoch A, or the modern new moon moved to the next day
// when it comes later in the day than `threshold` (month == 0).
struct MoonSpan {
    int32_t first, last;
    double month;
    double epoch;
    double threshold;
};

const MoonSpan NewMoonSpans[] = {
    {1683462, 1752119, 2392.0 / 81, 1683431, 0},
    {1752120, 1807755, 27759.0 / 940, 1662611, 0},
    {1807756, 1883589, 134630.0 / 4559, 330191, 0},
    {1883590, 1907331, 22207.0 / 752, 1798541, 0},
    {1907332, 1936566, 116321.0 / 3939, -17080189, 0},
    {1936567, 1939106, 5372209.0 / 181920, -1506155749, 0},
    {1939107, 1947138, 33783.0 / 1144, -519493909, 0},
    {1956825, 1963941, 384075.0 / 13006, -58077529, 0},
    {2021291, 2073176, 0, 0, F(0.7908f)},
    {2073177, 2135986, 0, 0, F(0.8216f)},
    {2135987, 2185303, 0, 0, F(0.798f)},
    {2185304, 2188936, 0, 0, F(0.746f)},
};

// Full moons of the mean-month calendars: half a month after their new moons.
const int32_t FullMoonSpanDays[][2] = {
    {1683476, 1752134}, {1752135, 1807769}, {1807770, 1883603}, {1883604, 1907346},
    {1907347, 1936581}, {1936582, 1939121}, {1939122, 1947153}, {1956841, 1963956},
};

const TermSpan* FindTermSpan(int32_t x)
{
    for (const TermSpan& s : TermSpans)
        if (x >= s.first && x <= s.last) return &s;
    return nullptr;
}

// The first four days of a span search from its fifth, so a term is never
// found twice across a change of calendar.
int32_t SpanStart(int32_t x, int32_t first) { return x < first + 4 ? first + 4 : x; }

// Days just outside the historical spans that would find a term inside them.
int32_t OutsideTermDay(int32_t x)
{
    if (x == 1683430 || x == 1683431) return 1683429;
    if (x >= 2410264 && x <= 2410267) return 2410268;
    return x;
}

struct MeanTerm {
    double moment;
    int number;
};

// The first mean term (every 24th or, for principal terms, every 12th of the
// year) whose day is x or later; the term at the epoch is the winter
// solstice, number 24.
MeanTerm MeanTermOnOrAfter(int32_t x, int kind, double yearLength, double epoch)
{
    int n = kind == 1 ? 12 : 24;
    double step = yearLength / n;
    double i = std::floor((x + 0.5 - epoch) / step);
    double t = ApplyTermDayCorrection(epoch + i * step);
    if (std::floor(t) < x) {
        i += 1;
        t = ApplyTermDayCorrection(epoch + i * step);
    }
    int number = int(std::fmod(i, 24.0));
    if (number < 0) number += 24;
    return {t, number == 0 ? 24 : number};
}

double MeanSyzygyOnOrAfter(int32_t x, double epoch, double month)
{
    double i = std::floor((x - epoch) / month);
    double t = epoch + i * month;
    return std::floor(t) >= x ? t : epoch + (i + 1) * month;
}

// Where the terms of day x come from: the modern finder searching from day
// x (possibly replaced), with or without the term day correction, or the
// rule of a historical span searching from x.
struct TermRoute {
    int32_t x;
    const TermSpan* span;
    int applyCorrection;
};

TermRoute RouteTerm(int32_t x)
{
    if (ModernCalculateAncientFlag == 1) return {x, nullptr, 0};
    const TermSpan* span = FindTermSpan(x);
    if (!span) return {OutsideTermDay(x), nullptr, 1};
    return {SpanStart(x, span->first), span, 1};
}

// Where the new moons of day x come from: the plain modern finder, a span
// (mean months, or the late-new-moon rule with its threshold), or, with no
// span, the late-new-moon finder with only its day lists; each searching
// from x, possibly replaced.
struct NewMoonRoute {
    int32_t x;
    bool modern;
    const MoonSpan* span;
};

NewMoonRoute RouteNewMoon(int32_t x)
{
    if (ModernCalculateAncientFlag == 1) return {x, true, nullptr};
    for (const MoonSpan& s : NewMoonSpans) {
        if (x < s.first || x > s.last) continue;
        // The first day of a calendar belongs to the one before.
        return {x == s.first ? x + 1 : x, false, &s};
    }
    if (x == 1683461) x = 1683460;
    else if (x == 1947139) x = 1947140;
    else if (x == 1963942) x = 1963943;
    return {x, false, nullptr};
}

// Where the full moons of day x come from: the mean months of a span, else
// the modern finder; each searching from x, possibly replaced.
struct FullMoonRoute {
    int32_t x;
    const MoonSpan* span;  // null for the modern finder
};

FullMoonRoute RouteFullMoon(int32_t x)
{
    if (ModernCalculateAncientFlag == 1) return {x, nullptr};
    for (size_t i = 0; i < std::size(FullMoonSpanDays); ++i) {
        if (x < FullMoonSpanDays[i][0] || x > FullMoonSpanDays[i][1]) continue;
        return {x == FullMoonSpanDays[i][0] ? x + 1 : x, &NewMoonSpans[i]};
    }
    if (x == 1947154 || x == 1963957) ++x;
    return {x, nullptr};
}

// The moments the modern finders gave, by setting, question and day: a
// window shown again asks the same days again, and each answer costs a few
// dozen positions.
enum class Question { AnyTerm, PrincipalTerm, NewMoon, FullMoon };

template <typename Find>
double Kept(Question question, int32_t x, Find find)
{
    static std::unordered_map<uint64_t, double> kept[2];
    auto& moments = kept[ModernCalculateAncientFlag == 1];
    uint64_t key = uint64_t(question) << 32 | uint32_t(x);
    if (auto it = moments.find(key); it != moments.end()) return it->second;
    double moment = find();
    if (moments.size() >= size_t(1) << 15) moments.clear();
    return moments[key] = moment;
}

}  // namespace

double TermMoment(int32_t x, int kind)
{
    TermRoute route = RouteTerm(x);
    if (!route.span && (kind == 0 || kind == 1))
        return Kept(kind == 0 ? Question::AnyTerm : Question::PrincipalTerm, x,
                    [&] { return NextSolarTermMoment(route.x, kind, route.applyCorrection); });
    if (!route.span) return NextSolarTermMoment(route.x, kind, route.applyCorrection);
    if (route.span->qingModel) return QingTermMoment(route.span->qingModel, route.x, kind);
    return MeanTermOnOrAfter(route.x, kind, route.span->yearLength, route.span->epoch).moment;
}

double TermMomentToTheSecond(int32_t x, int kind)
{
    // The near moment lies within a few hundred microseconds of the
    // finder's (whose last digits depend on where its search starts); a
    // millisecond either side keeping its seconds keeps the finder's too.
    constexpr double Millisecond = 1.0 / 86400000;
    TermRoute route = RouteTerm(x);
    if (!route.span && (kind == 0 || kind == 1))
        if (auto near = NearNextSolarTermMoment(route.x, kind, route.applyCorrection))
            if (MomentFieldsSettled(*near, Millisecond)) return *near;
    return TermMoment(x, kind);
}

int TermNumber(int32_t x)
{
    TermRoute route = RouteTerm(x);
    if (!route.span) return NextSolarTermIndex(route.x, route.applyCorrection);
    if (route.span->qingModel) return QingTermNumber(route.span->qingModel, route.x);
    // The number walk counts all 24 terms, also where principal terms are asked.
    return MeanTermOnOrAfter(route.x, 0, route.span->yearLength, route.span->epoch).number;
}

int SolarTermOnDay(int32_t dayNumber)
{
    if (TermMomentDay(dayNumber, 0) != dayNumber) return 0;
    int k = TermNumber(dayNumber);
    return k >= 1 && k <= 24 ? k : 0;
}

double NewMoonMoment(int32_t x)
{
    NewMoonRoute route = RouteNewMoon(x);
    if (route.modern) return Kept(Question::NewMoon, x, [&] { return NextNewOrFullMoon(route.x, 0); });
    if (route.span && route.span->month > 0)
        return MeanSyzygyOnOrAfter(route.x, route.span->epoch, route.span->month);
    return Kept(Question::NewMoon, x, [&] { return NewMoonWithAdvance(route.x, route.span ? route.span->threshold : 0); });
}

double FullMoonMoment(int32_t x)
{
    FullMoonRoute route = RouteFullMoon(x);
    if (route.span) return MeanSyzygyOnOrAfter(route.x, route.span->epoch + route.span->month / 2, route.span->month);
    return Kept(Question::FullMoon, x, [&] { return NextNewOrFullMoon(route.x, 1); });
}

int32_t FullMoonDay(int32_t x)
{
    FullMoonRoute route = RouteFullMoon(x);
    if (route.span) return int32_t(std::floor(FullMoonMoment(x)));
    return NextFullMoonDay(route.x);
}

int32_t NewMoonDay(int32_t x)
{
    NewMoonRoute route = RouteNewMoon(x);
    if (route.modern) return NextNewMoonDay(route.x);
    if (route.span && route.span->month > 0) return int32_t(std::floor(NewMoonMoment(x)));
    return NewMoonDayWithAdvance(route.x, route.span ? route.span->threshold : 0);
}

int32_t TermMomentDay(int32_t x, int kind)
{
    TermRoute route = RouteTerm(x);
    if (!route.span) return NextSolarTermDay(route.x, kind, route.applyCorrection);
    return int32_t(std::floor(TermMoment(x, kind)));
}

int TermWithin(int32_t x, int kind, int32_t last)
{
    TermRoute route = RouteTerm(x);
    // A modern term is never found before the day searched from.
    if (!route.span && route.x >= x)
        return NextSolarTermWithin(route.x, kind, route.applyCorrection, last);
    double d = std::floor(TermMoment(x, kind));
    return x <= d && d <= last;
}

const CalendarSpan* FindCalendarSpan(SpanKind kind, int32_t day)
{
    for (size_t i = 0; i < CalendarSpanCount; ++i) {
        const CalendarSpan& s = CalendarSpans[i];
        if (s.kind == kind && day >= s.firstDay && day <= s.lastDay) return &s;
    }
    return nullptr;
}

namespace {

// The number 1..24 of the term nearest to a longitude in degrees.
int TermAtLongitude(double longitude)
{
    int n = 6 + int(std::lround(longitude / 15)) % 24;
    return n > 24 ? n - 24 : n;
}

// The Sun's apparent longitude at a moment.
double SunLongitudeAt(double moment) { return SunApparentLongitude(ToDynamicalTime(moment - 0.5 - CalcZone / 24.0)); }

// The term a day list moved onto `moment`: its computed moment, else the
// moment itself.
double TermBeforeCorrection(double moment, int kind)
{
    for (const TermDayCorrection& c : TermDayCorrections)
        if (ApplyTermDayCorrection(c.day + 0.5) == moment) return NextSolarTermMoment(c.day, kind, 0);
    return moment;
}

}  // namespace

SkySource NewMoonSource(int32_t x)
{
    NewMoonRoute route = RouteNewMoon(x);
    SkySource source{NewMoonMoment(x), SkyMethod::Modern, nullptr, route.x, 0, NewMoonRule::AsComputed, 0, 0, 0};
    if (ModernCalculateAncientFlag != 1) source.span = FindCalendarSpan(SpanKind::Months, x);
    if (route.modern) {
        source.computed = source.moment;
    } else if (route.span && route.span->month > 0) {
        source.method = SkyMethod::MeanMotion;
        source.computed = source.moment;
    } else {
        source.threshold = route.span ? route.span->threshold : 0;
        AdvancedNewMoon found = ExplainNewMoonWithAdvance(route.x, source.threshold);
        source.computed = found.computed;
        source.rule = found.rule;
    }
    return source;
}

SkySource TermSource(int32_t x, int kind)
{
    TermRoute route = RouteTerm(x);
    SkySource source{TermMoment(x, kind), SkyMethod::Modern, nullptr, route.x, 0, NewMoonRule::AsComputed, 0, 0, 0};
    if (ModernCalculateAncientFlag != 1) source.span = FindCalendarSpan(SpanKind::Terms, x);
    source.computed = route.applyCorrection ? TermBeforeCorrection(source.moment, kind) : source.moment;
    if (source.computed != source.moment) source.rule = NewMoonRule::MovedByList;
    if (!route.span) {
        source.termNumber = TermAtLongitude(SunLongitudeAt(source.computed));
    } else if (route.span->qingModel) {
        source.method = SkyMethod::QingModel;
        source.qingModel = route.span->qingModel;
        source.termNumber = TermAtLongitude(QingSolarLongitude(source.qingModel, source.moment));
    } else {
        source.method = SkyMethod::MeanMotion;
        double step = route.span->yearLength / 24;
        int number = int(FloorMod(int64_t(std::llround((source.computed - route.span->epoch) / step)), 24));
        source.termNumber = number == 0 ? 24 : number;
    }
    return source;
}
