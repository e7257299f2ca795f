// The days of a span of years that a calendar program can take over: the
// solar terms and new and full moons at their moments, the festivals, the
// first days of the seasonal periods, and the user's stored days placed as
// the day windows place them. Each event carries a key that stays the same
// from one run to the next, so that a calendar importing the events again
// updates them instead of adding copies.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "civil_calendar.h"

enum class EventKind { SolarTerm, Moon, Festival, Season, StoredDay };

struct CalendarEvent {
    EventKind kind;
    std::string name;  // program text (GBK), as the windows show it
    std::string category;  // program text: "节气", "朔望", "节日", "时令", "纪念日", ...
    CalendarDate date;     // the civil day (UTC+8)
    bool timed;            // terms and moons: moment holds the time
    double moment;
    std::string key;  // ASCII, unique within the events of any span
};

struct EventSelection {
    bool terms = true, moons = true, festivals = true, seasons = true, stored = true;
    bool allFestivals = false;  // also the commemorative days, with full names
};

// The events of the civil years firstYear .. firstYear + years - 1 (within
// MinShownYear..MaxShownYear, else none) in the order of their days, timed
// events by moment within a day. The stored days come only while
// UseRegistry is 1.
std::vector<CalendarEvent> CalendarEventsOfYears(int32_t firstYear, int32_t years, const EventSelection& selection);
