// The sky as the calendar in force saw it: the first solar term, new moon
// or full moon whose civil day is on or after a day. Inside the historical
// spans (104 BC .. 1887) the answer comes from the mean-motion constants of
// the calendar then in force or from the Qing methods, with the historical
// day corrections; elsewhere, and always when ModernCalculateAncientFlag is
// 1, from modern astronomy.
#pragma once
#include <cstdint>

// Moment of the first term (kind 0: any, 1: principal only) with day >= x.
double TermMoment(int32_t x, int kind);
// Number 1..24 of the first term (any kind) with day >= x.
int TermNumber(int32_t x);
double NewMoonMoment(int32_t x);
double FullMoonMoment(int32_t x);

// The civil days of the answers above, for the lunar year records, which
// need no more: floor(NewMoonMoment(x)), floor(TermMoment(x, kind)), and 1 when floor(TermMoment(x,
// kind)) lies in x..last, else 0.
int32_t NewMoonDay(int32_t x);
// floor(TermMoment(x, kind)) and floor(FullMoonMoment(x)).
int32_t TermMomentDay(int32_t x, int kind);
int32_t FullMoonDay(int32_t x);
int TermWithin(int32_t x, int kind, int32_t last);
