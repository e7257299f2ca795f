// Dawn, sunrise, transit, sunset and dusk for a place, in one pass per day:
// the Sun's position is taken at 0h UT and turned into an hour angle with
// Greenwich sidereal time.
#pragma once
#include <cstdint>
#include <string>

enum SunEventKind : int {
    Sunrise = 1,
    Transit = 2,
    Sunset = 3,
    DaylightLength = 4,
    Dawn = 5,
    Dusk = 6,
    TwilightDaylightLength = 7,
};

// Mean obliquity of the ecliptic, radians; t in Julian centuries.
double MeanObliquity(double t);
// Greenwich mean sidereal time, radians, not normalised; d = jd - 2451545 in
// UT days, deltaT in days.
double SiderealTime(double d, double deltaT);
struct EquatorialPosition {
    double rightAscension;  // radians in [0, 2 pi)
    double declination;     // radians
};
EquatorialPosition EclipticToEquatorial(double lambda, double beta, double epsilon);
// "HH:MM:SS" of the fractional part of x days, every field truncated.
std::string TimeOfDayText(double x);
// The clock time of an event on civil day D at a place (longitude positive
// west, latitude positive north) in the given zone, or "" for invalid input.
std::string SunEventTime(int32_t day, double longitude, double latitude, int zone, int kind);
// The same at the current place, in the calendar's zone: the sun times that
// the windows and tables show.
std::string SunTimeHere(int32_t day, int kind);
