// Apparent geocentric longitude of the Sun from the truncated VSOP87D Earth
// series, with the FK5 correction, nutation in longitude and aberration.
// Every argument is a Julian ephemeris date (dynamical time).
#pragma once

// Heliocentric ecliptic longitude of the Earth, radians in [0, 2 pi).
double EarthLongitude(double jde);
// Heliocentric ecliptic latitude of the Earth, radians.
double EarthLatitude(double jde);
// Sun-Earth distance, astronomical units.
double EarthDistance(double jde);
// Nutation in longitude, degrees.
double NutationInLongitude(double jde);
// Annual aberration of the Sun's longitude, degrees (negative).
double SolarAberration(double jde);
// Apparent longitude of the Sun, degrees in [0, 360).
double SunApparentLongitude(double jde);
// The same with NutationInLongitude(jde) already at hand, so that the Sun and
// the Moon at one moment share it.
double SunApparentLongitude(double jde, double nutation);

// A quick reading of a longitude from the larger terms of the series alone,
// with a bound on how far the full computation can lie from it.
struct RoughLongitude {
    double value;  // degrees
    double bound;  // degrees
};
// Two cuts: the quick one from a few terms (bounds of some 0.02 degrees) and
// the fine one from a few dozen (some 0.002 degrees).
enum RoughCut : int { QuickCut = 0, FineCut = 1 };
// Bounds NutationInLongitude(jde).
RoughLongitude RoughNutationInLongitude(double jde, RoughCut cut);
// Bounds SunApparentLongitude(jde, n) for every n within the nutation's
// bound of its value; the result is not reduced to [0, 360).
RoughLongitude RoughSunApparentLongitude(double jde, const RoughLongitude& nutation, RoughCut cut);
