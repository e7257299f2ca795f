// The sky as the calendar in force saw it: the first solar term, new moon
// or full moon whose civil day is on or after a day. Inside the historical
// spans (104 BC .. 1887) the answer comes from the mean-motion constants of
// the calendar then in force or from the Qing methods, with the historical
// day corrections; elsewhere, and always when ModernCalculateAncientFlag is
// 1, from modern astronomy.
#pragma once
#include <cstdint>

#include "calendar_spans.h"
#include "solver.h"

// Moment of the first term (kind 0: any, 1: principal only) with day >= x.
double TermMoment(int32_t x, int kind);
// TermMoment(x, kind) for a text to the second: the same whole seconds,
// mostly found with far fewer positions of the Sun.
double TermMomentToTheSecond(int32_t x, int kind);
// Number 1..24 of the first term (any kind) with day >= x.
int TermNumber(int32_t x);
// Number 1..24 of the term whose civil day is the day, 0 on a day without one.
int SolarTermOnDay(int32_t dayNumber);
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

// What decided an answer of NewMoonMoment or TermMoment: the method, the
// calendar in force (nullptr where modern astronomy answers, and always in
// the modern setting), and for modern answers the moment as computed.
enum class SkyMethod { Modern, MeanMotion, QingModel };
struct SkySource {
    double moment;             // the answer, exactly as NewMoonMoment / TermMoment give it
    SkyMethod method;
    const CalendarSpan* span;  // the row of the calendar table that holds the day asked
    int32_t searchedFrom;      // the day the search started from, after the calendar's replacements
    double computed;           // the moment before a rule or day list moved it
    NewMoonRule rule;          // what moved it (terms: AsComputed or MovedByList)
    double threshold;          // of the late-new-moon rule, 0 when it does not apply
    int qingModel;             // QingModel, 0 for the other methods
    int termNumber;            // 1..24 for terms, 0 for new moons
};
SkySource NewMoonSource(int32_t x);
SkySource TermSource(int32_t x, int kind);
