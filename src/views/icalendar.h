// The events of a span of years as an iCalendar file (RFC 5545), the format
// phone and desktop calendars import: CRLF line ends, content lines folded
// at 75 octets, TEXT values escaped, one VEVENT per event with a UID that
// stays the same from run to run.
#pragma once
#include <optional>
#include <string>
#include <vector>

#include "calendar_events.h"
#include "civil_calendar.h"

// A moment in UTC to the second.
struct UtcTime {
    CalendarDate date;
    int hour, minute, second;
};
// The UTC time of a moment (UTC+8), to the second as the moment texts show
// it, the day carried back where the hours before 08:00 demand it.
std::optional<UtcTime> UtcOfMoment(double moment);

// A TEXT value (UTF-8) escaped: backslash, semicolon, comma and line breaks;
// other control characters dropped.
std::string EscapeICalendarText(const std::string& utf8);
// One content line (UTF-8, without line end) folded into lines of at most 75
// octets, continued after CRLF and a blank, never inside a UTF-8 character;
// ends with CRLF.
std::string FoldContentLine(const std::string& utf8);

// The whole file, UTF-8. stamp is the DTSTAMP of every event. Dates are
// those of the Gregorian calendar, so the events should lie after 1582.
std::string ICalendarOfEvents(const std::vector<CalendarEvent>& events, const UtcTime& stamp);
