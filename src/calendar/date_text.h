// The fixed-width texts in which dates and moments cross the program:
// "AD01-01-2000" (tag, month, day, year; BC years show 1 - y), the moment
// text "AD01-01-2000 06:00:00", and the typed "MM-DD-YYYY" form. The empty
// text means no such date everywhere.
#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "civil_calendar.h"

std::string DateToText(const CalendarDate& date);
// DateToText appended to `text`, as the day export builds its lines.
void AppendDateText(std::string& text, const CalendarDate& date);
// The numbers of a tagged date text ("AD16-02-2020", "BC01-01-0104"), with a
// BC year read back as 1 - year; nullopt for anything else.
std::optional<CalendarDate> ReadTaggedDate(const std::string& tagged);
std::string DayNumberToText(int32_t dayNumber);
std::string DayOfYearToText(int32_t year, int ordinal);
// A moment is a day number plus the fraction of the day since local
// midnight (UTC+8). Every field is truncated, so 23:59:59.9 never carries
// into the next day.
std::string MomentToText(double moment);
// The fields of that text: the civil day and the clock time, each truncated
// the same way. valid is false where the text is empty.
struct MomentFields {
    bool valid;
    int32_t dayNumber;
    int hour, minute, second;
};
MomentFields MomentToFields(double moment);
// Whether every moment within `margin` days of `moment` has its fields.
bool MomentFieldsSettled(double moment, double margin);
// ISO 8601 "YYYY-MM-DD" with the astronomical year, signed below year 0
// ("-0103-02-01" is 104 BC); "" for an invalid date.
std::string IsoDateText(const CalendarDate& date);
void AppendIsoDateText(std::string& text, const CalendarDate& date);
// "MM-DD-YYYY" from what the user typed ("1-2-3" gives "01-02-0003"), or ""
// when the shape is wrong. Whether the date exists is the caller's test.
std::string NormaliseTypedDate(const std::string& typed);

// Zero-padded decimal of at least `width` digits, never truncated.
std::string ZeroPadded(int64_t value, int width);
// A whole number in lo..hi, nullopt otherwise.
std::optional<long> ParseWholeNumber(const std::string& text, long lo, long hi);
