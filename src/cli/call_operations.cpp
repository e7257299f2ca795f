#include "call_operations.h"

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>

#include "date_text.h"
#include "moon.h"
#include "places.h"
#include "solver.h"
#include "sun.h"
#include "sun_events.h"
#include "time_scales.h"

namespace {

// One parsed argument: a whole number, a decimal or a text, as the
// operation's signature says.
struct Argument {
    long long integer = 0;
    double number = 0;
    std::string text;
    int I() const { return int(integer); }
};
using Arguments = std::vector<Argument>;

struct Operation {
    const char* name;
    // One letter an argument: i whole number, d decimal, t text, k "lon" or
    // "lat".
    const char* signature;
    const char* argumentNames;
    std::function<std::string(const Arguments&)> run;
};

std::string Decimal(double v, int decimals)
{
    int n = std::snprintf(nullptr, 0, "%.*f", decimals, v);
    std::string out(size_t(n) + 1, '\0');
    std::snprintf(out.data(), out.size(), "%.*f", decimals, v);
    out.resize(size_t(n));
    return out;
}

std::string Number(double v) { return Decimal(v, 10); }
std::string Moment(double v) { return MomentToText(v) + " " + Decimal(v, 6); }

const Operation Operations[] = {
    {"IsLeapYear", "i", "y", [](const Arguments& a) { return std::to_string(IsLeapYear(a[0].I())); }},
    {"DaysInYear", "i", "y", [](const Arguments& a) { return std::to_string(DaysInYear(a[0].I())); }},
    {"IsValidDate", "iii", "y m d",
     [](const Arguments& a) { return std::to_string(IsValidDate(a[0].I(), a[1].I(), a[2].I())); }},
    {"DayOfYear", "iii", "y m d",
     [](const Arguments& a) { return std::to_string(DayOfYear(a[0].I(), a[1].I(), a[2].I())); }},
    {"DateToDayNumber", "iii", "y m d",
     [](const Arguments& a) { return std::to_string(DateToDayNumber(a[0].I(), a[1].I(), a[2].I())); }},
    {"DayNumberToText", "i", "jd", [](const Arguments& a) { return DayNumberToText(a[0].I()); }},
    {"DayOfYearToText", "ii", "y n",
     [](const Arguments& a) { return DayOfYearToText(a[0].I(), a[1].I()); }},
    {"MomentToText", "d", "x", [](const Arguments& a) { return MomentToText(a[0].number); }},
    {"NormaliseTypedDate", "t", "text", [](const Arguments& a) { return NormaliseTypedDate(a[0].text); }},
    {"ConsistsOnlyOf", "tt", "text set",
     [](const Arguments& a) { return std::to_string(ConsistsOnlyOf(a[0].text, a[1].text)); }},
    {"CountOfCharacter", "tt", "text character",
     [](const Arguments& a) { return std::to_string(CountOfCharacter(a[0].text, a[1].text)); }},
    {"WeekdayOfDayNumber", "i", "jd",
     [](const Arguments& a) { return std::to_string(WeekdayOfDayNumber(a[0].I())); }},
    {"DeltaT", "d", "y", [](const Arguments& a) { return Number(DeltaT(a[0].number)); }},
    {"ToDynamicalTime", "d", "jd", [](const Arguments& a) { return Number(ToDynamicalTime(a[0].number)); }},
    {"NormalizeAngle", "dii", "x centre half",
     [](const Arguments& a) { return Number(NormalizeAngle(a[0].number, a[1].I(), a[2].I())); }},
    {"LocalTimeToDayFraction", "iid", "h m s",
     [](const Arguments& a) {
         return Number(LocalTimeToDayFraction(a[0].I(), a[1].I(), a[2].number));
     }},
    {"EarthLongitude", "d", "jde", [](const Arguments& a) { return Number(EarthLongitude(a[0].number)); }},
    {"EarthLatitude", "d", "jde", [](const Arguments& a) { return Number(EarthLatitude(a[0].number)); }},
    {"EarthDistance", "d", "jde", [](const Arguments& a) { return Number(EarthDistance(a[0].number)); }},
    {"NutationInLongitude", "d", "jde",
     [](const Arguments& a) { return Number(NutationInLongitude(a[0].number)); }},
    {"SolarAberration", "d", "jde", [](const Arguments& a) { return Number(SolarAberration(a[0].number)); }},
    {"SunApparentLongitude", "d", "jde",
     [](const Arguments& a) { return Number(SunApparentLongitude(a[0].number)); }},
    {"GeneralPrecession", "d", "jde",
     [](const Arguments& a) { return Number(GeneralPrecession(a[0].number)); }},
    {"MoonApparentLongitude", "d", "jde",
     [](const Arguments& a) { return Number(MoonApparentLongitude(a[0].number)); }},
    {"LongitudeResidual", "ddi", "jd target mode",
     [](const Arguments& a) {
         return Number(LongitudeResidual(a[0].number, a[1].number, a[2].I()));
     }},
    {"SolveLongitude", "ddi", "jd target mode",
     [](const Arguments& a) { return Number(SolveLongitude(a[0].number, a[1].number, a[2].I())); }},
    {"NextSolarTermMoment", "iii", "D principal corr",
     [](const Arguments& a) { return Moment(NextSolarTermMoment(a[0].I(), a[1].I(), a[2].I())); }},
    {"NextSolarTermIndex", "ii", "D corr",
     [](const Arguments& a) { return std::to_string(NextSolarTermIndex(a[0].I(), a[1].I())); }},
    {"AstroTermOnOrAfter", "iii", "D n corr",
     [](const Arguments& a) { return Moment(AstroTermOnOrAfter(a[0].I(), a[1].I(), a[2].I())); }},
    {"NextNewOrFullMoon", "ii", "D kind",
     [](const Arguments& a) { return Moment(NextNewOrFullMoon(a[0].I(), a[1].I())); }},
    {"NewMoonWithAdvance", "id", "D threshold",
     [](const Arguments& a) { return Moment(NewMoonWithAdvance(a[0].I(), a[1].number)); }},
    {"ApplyTermDayCorrection", "d", "x",
     [](const Arguments& a) { return Moment(ApplyTermDayCorrection(a[0].number)); }},
    {"ApplyNewMoonDayCorrection", "d", "x",
     [](const Arguments& a) { return Moment(ApplyNewMoonDayCorrection(a[0].number)); }},
    {"MeanObliquity", "d", "T", [](const Arguments& a) { return Number(MeanObliquity(a[0].number)); }},
    {"SiderealTime", "dd", "d dt",
     [](const Arguments& a) { return Number(SiderealTime(a[0].number, a[1].number)); }},
    {"TimeOfDayText", "d", "x", [](const Arguments& a) { return TimeOfDayText(a[0].number); }},
    {"SunEventTime", "iddii", "D lon lat zone kind",
     [](const Arguments& a) {
         return SunEventTime(a[0].I(), a[1].number, a[2].number, a[3].I(), a[4].I());
     }},
    {"CoordinateText", "dk", "value lon|lat",
     [](const Arguments& a) {
         return CoordinateText(a[0].number, a[1].text == "lon" ? LongitudeCoordinate : LatitudeCoordinate);
     }},
};

bool ParseInteger(const std::string& s, long long& out)
{
    if (s.empty()) return false;
    errno = 0;
    char* end = nullptr;
    long long v = std::strtoll(s.c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || v < INT_MIN || v > INT_MAX) return false;
    out = v;
    return true;
}

bool ParseDecimal(const std::string& s, double& out)
{
    if (s.empty()) return false;
    errno = 0;
    char* end = nullptr;
    double v = std::strtod(s.c_str(), &end);
    if (errno == ERANGE || *end != '\0' || !std::isfinite(v)) return false;
    out = v;
    return true;
}

bool ParseArgument(char kind, const std::string& s, Argument& out)
{
    switch (kind) {
    case 'i': return ParseInteger(s, out.integer);
    case 'd': return ParseDecimal(s, out.number);
    case 'k': out.text = s; return s == "lon" || s == "lat";
    default: out.text = s; return true;
    }
}

const char* ExpectedArgument(char kind)
{
    return kind == 'i' ? "a whole number" : kind == 'd' ? "a decimal number" : "lon or lat";
}

CallResult BadCall(const std::string& message) { return {2, message}; }

}  // namespace

CallResult CallOperation(const std::vector<std::string>& args)
{
    if (args.empty()) return BadCall("call: missing operation name");
    for (const Operation& op : Operations) {
        if (args[0] != op.name) continue;
        std::string usage = std::string("usage: call ") + op.name + " " + op.argumentNames;
        size_t count = std::char_traits<char>::length(op.signature);
        if (args.size() - 1 != count)
            return BadCall(std::string(op.name) + ": expected " + std::to_string(count) +
                           " argument(s); " + usage);
        Arguments parsed(count);
        for (size_t i = 0; i < count; ++i) {
            if (!ParseArgument(op.signature[i], args[i + 1], parsed[i]))
                return BadCall(std::string(op.name) + ": malformed argument " + std::to_string(i + 1) +
                               " '" + args[i + 1] + "' (expected " + ExpectedArgument(op.signature[i]) +
                               "); " + usage);
        }
        return {0, op.run(parsed)};
    }
    return BadCall("call: unknown operation '" + args[0] + "' (see lumora-cli call --list)");
}

std::string OperationList()
{
    std::string out;
    for (const Operation& op : Operations) out += std::string(op.name) + " " + op.argumentNames + "\n";
    return out;
}
