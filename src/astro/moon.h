// Apparent geocentric longitude of the Moon: a truncated ELP2000-82B series
// in the fixed ecliptic and equinox of J2000, carried to the equinox of date
// by the general precession and the nutation in longitude.
#pragma once

// General precession in longitude from J2000 to the date, degrees in [0, 360).
double GeneralPrecession(double jde);
// Apparent longitude of the Moon, degrees in [0, 360).
double MoonApparentLongitude(double jde);
// The same with NutationInLongitude(jde) already at hand.
double MoonApparentLongitude(double jde, double nutation);
