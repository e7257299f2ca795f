// Operations of the astronomical engine: time scales, Sun, Moon, the
// solar-term and lunar-phase finders, sun times and places.
#include "moon.h"
#include "operation.h"
#include "places.h"
#include "solver.h"
#include "sun.h"
#include "sun_events.h"
#include "time_scales.h"

namespace {

const Operation Operations[] = {
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

}  // namespace

const std::span<const Operation> AstronomyOperations(Operations);
