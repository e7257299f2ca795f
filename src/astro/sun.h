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
