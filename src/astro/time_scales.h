// Time scales of the astronomy code. Positions are evaluated in dynamical
// time (JDE); the calendar speaks civil moments in UTC+8, whose floor is the
// civil day number and whose fraction is the time since local midnight.
#pragma once
#include <cstdint>

// The program's pi is the double nearest 3.14159265358979, not the full
// constant; all angle conversions go through it.
constexpr double Pi = 3.14159265358979;
constexpr double Degree = Pi / 180;
constexpr double J2000 = 2451545.0;
// The calculation time zone, whole hours east of Greenwich.
constexpr int16_t CalcZone = 8;

// x reduced into [centre - halfWidth, centre + halfWidth).
double NormalizeAngle(double x, int centre, int halfWidth);
// x reduced into [0, 2 pi), by way of degrees.
double NormalizeRadians(double x);
// The Universal Time fraction of a day for a UTC+8 clock time.
double LocalTimeToDayFraction(int hour, int minute, double second);
// Delta T in seconds for a decimal year.
double DeltaT(double year);
// JDE of a Universal Time Julian date.
double ToDynamicalTime(double jd);

// The civil moment (UTC+8) of a Universal Time Julian date.
inline double MomentOfJd(double jd) { return jd + 0.5 + CalcZone / 24.0; }
// The Universal Time Julian date of the local midnight that opens day D.
inline double LocalMidnightJd(int32_t day) { return day - 0.5 + LocalTimeToDayFraction(0, 0, 0); }
