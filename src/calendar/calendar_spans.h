// The historical calendars behind the spans of days in which the calendar in
// force is reproduced: for solar terms and for month starts, each span's
// method, constant, the calendar's name and the years it was in force. The
// table is generated from the published list of calendars; the calculation
// keeps its own constants, and this table names them for the user.
#pragma once
#include <cstddef>
#include <cstdint>

enum class SpanKind { Terms, Months };

enum class CalendarMethod {
    MeanTerm,         // mean solar terms
    Qing1628,         // the Qing solar theories, by epoch
    Qing1684,
    Qing1723,
    MeanNewMoon,      // mean months
    DayList,          // true new moons moved by the historical day list
    LateNewMoonRule,  // true new moons, late ones counted for the next day
};

struct CalendarSpan {
    SpanKind kind;
    int32_t firstDay, lastDay;
    CalendarMethod method;
    double threshold;      // of the late-new-moon rule, 0 otherwise
    const char* constant;  // "365+1/4", "29+43/81", "" when the method has none
    const char* calendar;  // "太初历（三统历）"
    const char* inForce;   // "前104–84": years, 前N for N BC
};

// In the order of the table: the term spans, then the month spans, each by day.
extern const CalendarSpan CalendarSpans[];
extern const size_t CalendarSpanCount;

// The span of a kind that holds day, nullptr outside every span (kept with
// the calculation's own spans, in historical_calendar.cpp).
const CalendarSpan* FindCalendarSpan(SpanKind kind, int32_t day);
