#include "solver.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <initializer_list>
#include <limits>
#include <map>
#include <optional>
#include <set>
#include <unordered_map>

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
    return day >= -1e9 && day <= 1e9 ? int32_t(day) : std::numeric_limits<int32_t>::min();
}

NewMoonRule RuleForNewMoon(double r, double threshold)
{
    if (IsNewMoonException(ListDay(r))) return NewMoonRule::Exempt;
    if (threshold > 0 && r - std::floor(r) > threshold) return NewMoonRule::Advanced;
    return FindNewMoonDayCorrection(ListDay(r)) ? NewMoonRule::MovedByList : NewMoonRule::AsComputed;
}

double AdjustNewMoon(double r, NewMoonRule rule)
{
    switch (rule) {
    case NewMoonRule::Advanced: return std::floor(r) + 1;
    case NewMoonRule::MovedByList: return ApplyNewMoonDayCorrection(r);
    default: return r;
    }
}

}  // namespace

// Day-level finders. The lunar year records need only the civil day of a term
// or a new moon, and whether a new moon comes later in its day than a
// threshold. Such a question is settled by the sign of the angle still to go
// at one instant, a local midnight or the threshold time: an event whose
// angle there is clear of zero lies more than DayMargin days from it, while
// every solve of it lands within 1e-9 day of the event, so the solve falls on
// the same side. Positions at midnights and the new moon days found are kept
// for the neighbouring searches. When an event comes within the margin of the
// instant, or a search does not settle, the full finder answers instead.
namespace {

// Wide enough for the largest step of the time scales (Delta T drops 10.9 s
// at 2150) and of the Moon's precession series (about 11 s at |t| = 5
// millennia), within which the angle still to go need not be monotonic.
constexpr double DayMargin = 1e-3;

// Bounds of the daily motion in degrees, with a nominal value for the next
// guess. Over years -9998..9999 the series give 0.947..1.026 for the Sun and
// 10.74..14.39 for the elongation of the Moon.
struct Rates {
    double low, nominal, high;
};
constexpr Rates SunRates{0.9, 0.9856, 1.1};
constexpr Rates ElongationRates{9.5, 12.19, 16};

// The angle still to go that keeps an event DayMargin days away.
constexpr double AngleMargin(const Rates& r) { return DayMargin * r.high; }

// Each store is dropped whole when it reaches this many entries (a few
// megabytes; about 10,000 years of lunations).
constexpr size_t StoreLimit = size_t(1) << 17;

template <typename Store>
void KeepBounded(Store& store)
{
    if (store.size() >= StoreLimit) store.clear();
}

// A midnight's sky is first read from the largest terms of the series, with
// bounds on how far the full series can lie from it; a question that such a
// reading cannot settle reads it again more closely, up to the full series
// (bounds 0). Each reading replaces the one before.
enum Reading : int { Quick = QuickCut, Fine = FineCut, Full };

struct MidnightSky {
    double sun;         // apparent longitude of the Sun
    double elongation;  // of the Moon from the Sun; NaN until asked for
    double sunBound, elongationBound;
    int reading;
};

// The skies read, by pages of 64 consecutive midnights: the searches read
// midnights close together, so the page last used is mostly the one asked
// for again, at hand without a lookup. Dropped whole at StoreLimit midnights.
struct MidnightPage {
    std::array<MidnightSky, 64> skies;
    uint64_t read = 0;  // bit i: skies[i] has been read
};

struct MidnightStore {
    std::unordered_map<int32_t, MidnightPage> pages;  // by day >> 6
    int32_t lastKey = 0;
    MidnightPage* last = nullptr;
};

MidnightStore& Midnights()
{
    static MidnightStore store;
    return store;
}

// The page that holds `day`; made when `make`, else nullptr when none is.
MidnightPage* PageOf(int32_t day, bool make)
{
    MidnightStore& store = Midnights();
    const int32_t key = day >> 6;  // floor division
    if (store.last && store.lastKey == key) return store.last;
    auto it = store.pages.find(key);
    if (it == store.pages.end()) {
        if (!make) return nullptr;
        if (store.pages.size() >= StoreLimit / 64) store.pages.clear();
        it = store.pages.emplace(key, MidnightPage{}).first;
    }
    store.lastKey = key;
    store.last = &it->second;
    return store.last;
}

const MidnightSky* KnownSky(int32_t day)
{
    const MidnightPage* page = PageOf(day, false);
    return page && (page->read >> (day & 63) & 1) ? &page->skies[size_t(day & 63)] : nullptr;
}

void KeepSky(int32_t day, const MidnightSky& sky)
{
    MidnightPage* page = PageOf(day, true);
    page->skies[size_t(day & 63)] = sky;
    page->read |= uint64_t(1) << (day & 63);
}

// The sky at the local midnight that opens `day`, as LastTermReached and
// LongitudeResidual see it when read in full, else as the reading asked for
// or a closer one already made.
MidnightSky SkyAtMidnight(int32_t day, bool withMoon, int reading)
{
    std::optional<MidnightSky> known;
    if (const MidnightSky* kept = KnownSky(day)) known = *kept;
    if (known) reading = std::max(reading, known->reading);
    if (known && known->reading == reading && (!withMoon || !std::isnan(known->elongation))) return *known;
    // The known sun serves when read as this reading needs it.
    bool keepSun = known && known->reading == reading;
    withMoon = withMoon || (known && !std::isnan(known->elongation));
    double jde = ToDynamicalTime(LocalMidnightJd(day));
    MidnightSky sky{0, std::nan(""), 0, 0, reading};
    if (reading == Full) {
        double nutation = NutationInLongitude(jde);
        sky.sun = keepSun ? known->sun : SunApparentLongitude(jde, nutation);
        if (withMoon) sky.elongation = MoonApparentLongitude(jde, nutation) - sky.sun;
    } else {
        RoughCut cut = RoughCut(reading);
        RoughLongitude nutation = RoughNutationInLongitude(jde, cut);
        if (keepSun) {
            sky.sun = known->sun;
            sky.sunBound = known->sunBound;
        } else {
            RoughLongitude sun = RoughSunApparentLongitude(jde, nutation, cut);
            sky.sun = NormalizeAngle(sun.value, 180, 180);
            sky.sunBound = sun.bound;
        }
        if (withMoon) {
            sky.elongation = MoonApparentLongitude(jde, nutation.value) - sky.sun;
            sky.elongationBound = sky.sunBound + nutation.bound;
        }
    }
    KeepSky(day, sky);
    return sky;
}

// An angle still to go at a midnight, with the bound of its reading.
struct ToGo {
    double angle;
    double bound;
};

// Angles still to go in [0, 360) at the midnight that opens `day`.
ToGo SunToGo(int32_t day, double target, int reading)
{
    MidnightSky sky = SkyAtMidnight(day, false, reading);
    return {NormalizeAngle(target - sky.sun, 180, 180), sky.sunBound};
}

ToGo NewMoonToGo(int32_t day, int reading)
{
    MidnightSky sky = SkyAtMidnight(day, true, reading);
    return {NormalizeAngle(-sky.elongation, 180, 180), sky.elongationBound};
}

ToGo FullMoonToGo(int32_t day, int reading)
{
    MidnightSky sky = SkyAtMidnight(day, true, reading);
    return {NormalizeAngle(180 - sky.elongation, 180, 180), sky.elongationBound};
}

// toGo(day, reading) read within half a turn of `centre`. A reading serves
// when it lies beyond its bound from every limit a finder compares it with:
// the margin around zero (either way round), the ends of the half turn and
// the `limits` given; otherwise a closer one is made, up to the full one.
template <typename Angle>
double SettledToGo(Angle toGo, int32_t day, int centre, double margin, std::initializer_list<double> limits = {})
{
    for (int reading = Quick;; ++reading) {
        ToGo r = toGo(day, reading);
        double g = NormalizeAngle(r.angle, centre, 180);
        if (r.bound == 0 || reading == Full) return g;
        bool settled = std::fabs(NormalizeAngle(g, 0, 180)) > margin + r.bound &&
                       std::fabs(g - centre) < 180 - r.bound;
        for (double limit : limits) settled = settled && std::fabs(g - limit) > r.bound;
        if (settled) return g;
    }
}

// The day of the first event after the midnight that opens `lo`, where
// toGo(day) is the angle still to go at the midnight of `day` and loToGo its
// value at `lo`, clear of the margin. The answer is the day whose midnight
// lies before the event (angle still to go clear above zero) while the next
// midnight lies after it (clear below zero).
template <typename ToGo>
std::optional<int32_t> EventDay(ToGo toGo, const Rates& rates, int32_t lo, double loToGo)
{
    const double margin = AngleMargin(rates);
    bool bounded = false;
    int32_t hi = 0;
    double hiToGo = 0;
    for (int i = 0; i < 40; ++i) {
        if (bounded && hi == lo + 1) return lo;
        // Days from lo to the event: at the nominal rate, or between the
        // bounds by linear interpolation.
        double ahead = bounded ? (hi - lo) * loToGo / (loToGo - hiToGo) : loToGo / rates.nominal;
        int32_t probe = lo + std::max(int32_t(1), int32_t(std::floor(ahead)));
        if (bounded) probe = std::min(probe, hi - 1);
        // Read the angle within half a turn of its expected value, so that an
        // event just passed counts as a small negative angle.
        double expected = loToGo - (probe - lo) * rates.nominal;
        double g = SettledToGo(toGo, probe, int(std::lround(expected)), margin);
        if (g > margin) {
            lo = probe;
            loToGo = g;
        } else if (g < -margin) {
            hi = probe;
            hiToGo = g;
            bounded = true;
        } else {
            return std::nullopt;
        }
    }
    return std::nullopt;
}

// The first new moon after a day: its day, or, when it comes within the
// margin of a midnight, the day that midnight opens (the new moon's own day
// is then that day or the one before).
struct NextNewMoon {
    int32_t day;
    bool nearMidnight;
};

// Known stretches of days: key k -> the first new moon whose day is after k.
std::map<int32_t, NextNewMoon>& Lunations()
{
    static std::map<int32_t, NextNewMoon> lunations;
    return lunations;
}

// The new moon after `moon`. A lunation lasts 29.26 to 29.84 days (years
// -9998..9999), so the next new moon falls on the 29th or 30th day after a
// new moon's day: the midnight between the two candidates decides. After a
// new moon at a midnight it falls on the 29th day, clear of both midnights.
std::optional<NextNewMoon> FollowingNewMoon(const NextNewMoon& moon)
{
    if (moon.nearMidnight) return NextNewMoon{moon.day + 29, false};
    int32_t between = moon.day + 30;
    const double margin = AngleMargin(ElongationRates);
    double g = SettledToGo(NewMoonToGo, between, 180, margin, {30, 330});
    if (g <= margin || g >= 360 - margin) return NextNewMoon{between, true};
    if (g < 30) return NextNewMoon{between, false};       // still to come
    if (g > 330) return NextNewMoon{between - 1, false};  // past
    return std::nullopt;
}

// The day of the first new moon whose day is `day` or later. A known stretch
// answers directly, or is followed from its new moon one lunation at a time,
// one position each; far from every stretch a search from the day's own
// midnight finds it, with a few positions more.
std::optional<int32_t> FirstNewMoonDayOnOrAfter(int32_t day)
{
    // A year's records ask for the solstice month a year ahead: followed
    // there, the new moons are those the next year needs.
    constexpr int32_t Reach = 400;
    auto& lunations = Lunations();
    KeepBounded(lunations);
    auto next = lunations.lower_bound(day);
    if (next != lunations.begin() && day - std::prev(next)->second.day <= Reach) {
        NextNewMoon moon = std::prev(next)->second;
        for (;;) {
            // Whether a new moon near the midnight of day counts for day is
            // the finder's to say.
            if (moon.nearMidnight && moon.day >= day) return std::nullopt;
            if (!moon.nearMidnight && moon.day >= day) return moon.day;
            auto following = FollowingNewMoon(moon);
            if (!following) return std::nullopt;
            lunations[moon.day] = *following;
            moon = *following;
        }
    }
    const double margin = AngleMargin(ElongationRates);
    double g = SettledToGo(NewMoonToGo, day, 180, margin);
    if (g <= margin || g >= 360 - margin) return std::nullopt;
    auto found = EventDay(NewMoonToGo, ElongationRates, day, g);
    if (found) lunations[day - 1] = {*found, false};
    return found;
}

// The day of AdjustNewMoon applied to the new moon of `day`.
std::optional<int32_t> AdjustedNewMoonDay(int32_t day, double threshold)
{
    if (IsNewMoonException(day)) return day;
    if (threshold > 0) {
        // The new moon's angle still to go at the threshold time.
        auto toGo = [jd = LocalMidnightJd(day) + threshold](int32_t, int reading) -> ToGo {
            if (reading == Full) return {LongitudeResidual(jd, 0, MoonMode), 0};
            double jde = ToDynamicalTime(jd);
            RoughLongitude nutation = RoughNutationInLongitude(jde, RoughCut(reading));
            RoughLongitude sun = RoughSunApparentLongitude(jde, nutation, RoughCut(reading));
            return {NormalizeAngle(sun.value - MoonApparentLongitude(jde, nutation.value), 180, 180),
                    sun.bound + nutation.bound};
        };
        const double margin = AngleMargin(ElongationRates);
        double g = SettledToGo(toGo, day, 180, margin, {30, 330});
        if (g > margin && g < 30) return day + 1;  // still to come: late in the day
        if (!(g < 360 - margin && g > 330)) return std::nullopt;
    }
    const NewMoonDayCorrection* c = FindNewMoonDayCorrection(day);
    return c ? day + (c->shift > 0 ? 1 : -1) : day;
}

// NewMoonWithAdvance solves first from day - 10. That finds the first new
// moon whose day is day - 9 or later, or one late on day - 10, which adjusts
// to a day before `day` and whose successor is that first new moon, so the
// answer is the same; when the first adjusted day is before `day`, the next
// new moon answers.
std::optional<int32_t> FastNewMoonDayWithAdvance(int32_t day, double threshold)
{
    auto first = FirstNewMoonDayOnOrAfter(day - 9);
    if (!first) return std::nullopt;
    auto adjusted = AdjustedNewMoonDay(*first, threshold);
    if (!adjusted || *adjusted >= day) return adjusted;
    auto next = FirstNewMoonDayOnOrAfter(*first + 1);
    if (!next) return std::nullopt;
    return AdjustedNewMoonDay(*next, threshold);
}

// The term day correction moves terms found within a year of its day.
bool NearTermCorrection(int32_t day)
{
    for (const TermDayCorrection& c : TermDayCorrections)
        if (std::abs(int64_t(c.day) - day) < 400) return true;
    return false;
}

// The last term of the family (every `step` degrees) that the Sun has
// reached at the midnight of `day`, unless the Sun is within the margin of a
// term there. When only the next midnight has been evaluated, as a new moon
// found on the earlier of its two candidate days leaves it, the Sun lies
// SunRates behind its place there, which mostly settles the term as well.
std::optional<int> TermReached(int32_t day, int step)
{
    // The multiple of step below the whole of low..high, when there is one.
    auto below = [step](double low, double high) -> std::optional<int> {
        const double margin = AngleMargin(SunRates);
        double k = step * std::floor((low - margin) / step);
        if (high + margin >= k + step) return std::nullopt;
        return int(NormalizeAngle(k, 180, 180));
    };
    const MidnightSky* next = KnownSky(day + 1);
    if (next && !KnownSky(day)) {
        double sun = next->sun, bound = next->sunBound;
        if (auto k = below(sun - SunRates.high - bound, sun - SunRates.low + bound)) return k;
    }
    for (int reading = Quick; reading <= Full; ++reading) {
        MidnightSky sky = SkyAtMidnight(day, false, reading);
        if (auto k = below(sky.sun - sky.sunBound, sky.sun + sky.sunBound)) return k;
        reading = sky.reading;  // a closer reading already made
    }
    return std::nullopt;
}

// The longitude of the first term of the family still to come at the
// midnight of `day`.
std::optional<int> NextTermLongitude(int32_t day, int step, int applyCorrection)
{
    if (applyCorrection && NearTermCorrection(day)) return std::nullopt;
    auto k = TermReached(day, step);
    if (!k) return std::nullopt;
    return NextLongitude(*k, step);
}

// Days of terms found, one set per longitude (index k / 15).
std::set<int32_t>& TermDays(int k)
{
    static std::set<int32_t> days[24];
    return days[k / 15];
}

std::optional<int32_t> FastAstroTermDay(int32_t day, int n, int applyCorrection)
{
    if (applyCorrection && NearTermCorrection(day)) return std::nullopt;
    int k = TermLongitude(std::clamp(n, 1, 24));
    // Terms of one longitude lie a year apart: a known one less than 360 days
    // ahead is the first.
    std::set<int32_t>& known = TermDays(k);
    auto it = known.lower_bound(day);
    if (it != known.end() && *it - day < 360) return *it;
    auto toGo = [k](int32_t d, int reading) { return SunToGo(d, k, reading); };
    const double margin = AngleMargin(SunRates);
    double g = SettledToGo(toGo, day, 180, margin);
    if (g <= margin || g >= 360 - margin) return std::nullopt;
    auto found = EventDay(toGo, SunRates, day, g);
    if (found) {
        KeepBounded(known);
        known.insert(*found);
    }
    return found;
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
    // Unless the Sun is within the margin of a term at the day's midnight,
    // the term just reached lies before the day and the next one is found.
    if (auto next = NextTermLongitude(day, 15, applyCorrection)) return IndexOfLongitude(*next);
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

AdvancedNewMoon ExplainNewMoonWithAdvance(int32_t day, double threshold)
{
    double computed = SolveMoment(double(day) - 10, 0, MoonMode);
    NewMoonRule rule = RuleForNewMoon(computed, threshold);
    double r = AdjustNewMoon(computed, rule);
    if (std::floor(r) >= day) return {computed, r, rule};
    computed = SolveMoment(r + 20, 0, MoonMode);
    rule = RuleForNewMoon(computed, threshold);
    return {computed, AdjustNewMoon(computed, rule), rule};
}

double NewMoonWithAdvance(int32_t day, double threshold) { return ExplainNewMoonWithAdvance(day, threshold).moment; }

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

int32_t NextNewMoonDay(int32_t day)
{
    if (auto found = FirstNewMoonDayOnOrAfter(day)) return *found;
    return int32_t(std::floor(NextNewOrFullMoon(day, 0)));
}

int32_t NewMoonDayWithAdvance(int32_t day, double threshold)
{
    if (auto found = FastNewMoonDayWithAdvance(day, threshold)) return *found;
    return int32_t(std::floor(NewMoonWithAdvance(day, threshold)));
}

int NextSolarTermWithin(int32_t day, int principalOnly, int applyCorrection, int32_t last)
{
    if (last < day) return 0;
    // The term is the next one still to come at the day's midnight; it falls
    // by `last` exactly when the Sun has left the family's interval by the
    // following midnight, which it cannot have come round to again within
    // 150 days.
    int step = principalOnly ? 30 : 15;
    if (last - day < 150 && !(applyCorrection && NearTermCorrection(day))) {
        auto first = TermReached(day, step);
        auto end = first ? TermReached(last + 1, step) : std::nullopt;
        if (end) return *end != *first;
    }
    double d = std::floor(NextSolarTermMoment(day, principalOnly, applyCorrection));
    return day <= d && d <= last;
}

int32_t AstroTermDayOnOrAfter(int32_t day, int n, int applyCorrection)
{
    if (auto found = FastAstroTermDay(day, n, applyCorrection)) return *found;
    return int32_t(std::floor(AstroTermOnOrAfter(day, n, applyCorrection)));
}

int32_t NextFullMoonDay(int32_t day)
{
    // The finder solves from the day's midnight for the first full moon
    // after it; clear of that midnight, the midnights settle its day.
    const double margin = AngleMargin(ElongationRates);
    double g = SettledToGo(FullMoonToGo, day, 180, margin);
    if (g > margin && g < 360 - margin)
        if (auto found = EventDay(FullMoonToGo, ElongationRates, day, g)) return *found;
    return int32_t(std::floor(NextNewOrFullMoon(day, 1)));
}

int32_t NextSolarTermDay(int32_t day, int principalOnly, int applyCorrection)
{
    // Clear of a term at the day's midnight, the term found is the next one
    // of the family still to come, on its first day from `day` on.
    if (auto k = NextTermLongitude(day, principalOnly ? 30 : 15, applyCorrection))
        if (auto found = FastAstroTermDay(day, IndexOfLongitude(*k), applyCorrection)) return *found;
    // Else the term is about a midnight: its near moment settles its day
    // unless it lies within a millisecond of that midnight.
    constexpr double Millisecond = 1.0 / 86400000;
    if (auto near = NearNextSolarTermMoment(day, principalOnly, applyCorrection))
        if (std::floor(*near - Millisecond) == std::floor(*near + Millisecond)) return int32_t(std::floor(*near));
    return int32_t(std::floor(NextSolarTermMoment(day, principalOnly, applyCorrection)));
}

namespace {

// The jd (UT) at which the Sun reaches `target` degrees, from an estimate
// within a day or so. Secant steps on the fine reading come within minutes
// of it; from there the full series is read twice: a step at the fine
// reading's rate, then a secant step, whose error is the product of the two
// before it and the Sun's small change of rate, far below a millisecond.
std::optional<double> NearTermJd(int target, double estimate)
{
    auto toGo = [target](double jd, auto longitude) {
        return NormalizeAngle(target - longitude(ToDynamicalTime(jd)), 0, 180);
    };
    auto fine = [](double jde) {
        RoughLongitude nutation = RoughNutationInLongitude(jde, FineCut);
        return RoughSunApparentLongitude(jde, nutation, FineCut).value;
    };
    auto full = [](double jde) { return SunApparentLongitude(jde); };
    double x0 = estimate - 0.5, x1 = estimate + 0.5;
    double f0 = toGo(x0, fine), f1 = toGo(x1, fine);
    double rough = 0;
    for (int i = 0;; ++i) {
        if (i == 8 || f1 == f0) return std::nullopt;
        rough = x1 - f1 * (x1 - x0) / (f1 - f0);
        if (std::fabs(rough - x1) < 1e-6) break;
        x0 = x1;
        f0 = f1;
        x1 = rough;
        f1 = toGo(x1, fine);
    }
    double rate = (f1 - f0) / (x1 - x0);
    x0 = rough;
    f0 = toGo(x0, full);
    x1 = x0 - f0 / rate;
    for (int i = 0; i < 6; ++i) {
        f1 = toGo(x1, full);
        if (f1 == f0) return x1;
        double x2 = x1 - f1 * (x1 - x0) / (f1 - f0);
        if (std::fabs(x2 - x1) < 1e-6) return x2;
        x0 = x1;
        f0 = f1;
        x1 = x2;
    }
    return std::nullopt;
}

}  // namespace

std::optional<double> NearNextSolarTermMoment(int32_t day, int principalOnly, int applyCorrection)
{
    if (applyCorrection && NearTermCorrection(day)) return std::nullopt;
    constexpr double Millisecond = 1.0 / 86400000;
    const int step = principalOnly ? 30 : 15;
    const double midnight = LocalMidnightJd(day);
    MidnightSky sky = SkyAtMidnight(day, false, Quick);
    auto family = [step](double longitude) {
        int k = step * int(std::floor(longitude / step)) % 360;
        return k < 0 ? k + 360 : k;
    };
    double bound = sky.sunBound + AngleMargin(SunRates);
    int reached = family(sky.sun - bound);
    if (int close = family(sky.sun + bound); close != reached) {
        // A term about the midnight itself: its moment says whether it
        // opens this day or closed the one before.
        auto jd = NearTermJd(close, midnight);
        if (!jd || std::fabs(*jd - midnight) < Millisecond) return std::nullopt;
        if (*jd > midnight) return MomentOfJd(*jd);
        reached = close;
    }
    int next = NextLongitude(reached, step);
    double ahead = NormalizeAngle(next - sky.sun, 180, 180) / SunRates.nominal;
    auto jd = NearTermJd(next, midnight + ahead);
    if (!jd || *jd < midnight + Millisecond) return std::nullopt;
    return MomentOfJd(*jd);
}

void EraseDaySearches()
{
    Midnights().pages.clear();
    Midnights().last = nullptr;
    Lunations().clear();
    for (int k = 0; k < 360; k += 15) TermDays(k).clear();
}
