// The solar theories of the Qing court (epochs 1628, 1684 and 1723), which
// placed the solar terms of the calendars promulgated from 1645 to 1887.
#pragma once

enum QingModel : int { Qing1628 = 1628, Qing1684 = 1684, Qing1723 = 1723 };

// True solar longitude in degrees [0, 360) at moment t (day number plus
// fraction, UTC+8).
double QingSolarLongitude(int model, double t);
// Moment of the first term at or after 00:00 of day x: any of the 24 terms
// (kind 0) or only the principal terms at multiples of 30 degrees (kind 1).
double QingTermMoment(int model, double x, int kind);
// Number 1..24 of the next term at or after 00:00 of day x.
int QingTermNumber(int model, double x);
