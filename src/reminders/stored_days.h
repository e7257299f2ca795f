// The user's stored days, kept as text values in the registry under
// Software\Lumora: memorial days (纪念日) that recur every year on a month and
// day of the Gregorian, lunar or Hijri calendar, up to 20 reminder days
// (提醒日) and one countdown day (倒计日). Each carries a short text (at most
// 20 bytes) and, except the countdown, may name an audio file.
//
// Stored forms (byte positions 1-based):
//   memorial  value "MM-DD" under SolarMemorial, LunarMemorial (months 13..24
//             are leap months) or MuharramMemorial: era "AD"/"BC" (1-2), the
//             first year as 4 digits (3-6), the text right-aligned in 20 bytes
//             (7-26), optionally " " and an audio path (28-);
//   reminder  values "A".."T" under SolarReminded: era (1-2), "MM-DD-YYYY"
//             (3-12), the text (13-32), optionally " " and a path (34-);
//   countdown value MyCountdownDay under Software\Lumora, as a reminder.
// A BC year is stored as 1 - year. Nothing is cached: every lookup reads the
// registry afresh, so an edit shows at the next redraw.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "civil_calendar.h"
#include "hijri_calendar.h"
#include "registry_keys.h"

inline constexpr char CountdownValueName[] = "MyCountdownDay";
inline constexpr int MaxReminders = 20;
// The width of an entry's text in bytes of code page 936.
inline constexpr size_t StoredTextBytes = 20;

enum class MemorialCalendar { Gregorian, Lunar, Hijri };

// "Software\Lumora\" + the key of the calendar's memorial days.
std::string MemorialKeyPath(MemorialCalendar calendar);
// The calendar whose memorial days a key name holds; false for another name.
bool MemorialCalendarOfKey(const std::string& keyName, MemorialCalendar& calendar);

// Stored days are accepted from 1800 to 2200 in the Gregorian calendar, and
// over the lunar and Hijri years that contain 1 January of those two years.
inline constexpr int32_t MemorialMinYear = 1800;
inline constexpr int32_t MemorialMaxYear = 2200;
struct YearRange {
    int32_t first;
    int32_t last;
};
// The lunar bounds follow the calendar method (ModernCalculateAncientFlag).
YearRange MemorialYearRange(MemorialCalendar calendar);
// Whether (y, m, d) exists in the calendar (lunar months 13..24 are leap).
bool IsValidCalendarDate(MemorialCalendar calendar, int32_t y, int m, int d);

// Era and 4-digit year as they are stored: "AD2000"; a year y <= 0 is
// "BC" and 1 - y.
std::string StoredEraYear(int32_t year);

// An entry's text: at most 20 bytes, never splitting a two-byte character,
// without blanks at either end.
std::string CutStoredText(const std::string& text);
// A text of at most 20 bytes right-aligned with blanks in 20 bytes.
std::string RightAlignedStoredText(const std::string& text);

// 1 for a drive-absolute path ("X:\...") of an existing file (not a folder)
// with an audio extension (IsAudioFileName), else 0.
int IsValidAudioPath(const std::string& path);

// A reminder or countdown value checked as the lookups check it: era, a
// well-formed "MM-DD-YYYY" date of 1800..2200 that exists, a text that is not
// empty once cut. storedPath is the value from byte 34 on, unchecked.
struct DatedEntry {
    CalendarDate date;
    std::string text;
    std::string storedPath;
};
std::optional<DatedEntry> ReadDatedEntry(const std::string& value);

// The memorial stored under keyName (SolarMemorial, LunarMemorial or
// MuharramMemorial) for month m and day d, normalised: era and first year as
// stored, the text right-aligned in 20 bytes and, when the stored path is a
// valid audio path, " " and the path. "" when absent or malformed.
std::string ReadMemorialEntry(const std::string& keyName, int m, int d);

// The entry that falls on a day of each calendar: the text right-aligned in
// 20 bytes, then " " and the audio path when it has one (from byte 22);
// "" when there is none. With NearLocateMemorialFlag, memorials of days the
// year lacks (29 February, a leap month, a 30th) show on the nearest day.
std::string SolarMemorialText(int32_t y, int m, int d);
std::string LunarMemorialText(int32_t ly, int lm, int ld);
std::string HijriMemorialText(int32_t hy, int hm, int hd);
std::string ReminderText(int32_t y, int m, int d);
// "距" text "还有" N "天" in the 1000 days up to the countdown day, else "".
std::string CountdownText(int32_t y, int m, int d);

// What the stored days put on a shown day: the countdown text, then the text
// of the reminder and of the Gregorian, lunar and Hijri memorials (each cut
// to its 20 bytes and trimmed), and the audio file of the first of these that
// has one. Empty while UseRegistry is 0, since the stored days exist only
// with registry use. The lunar date may be invalid (nothing is found then).
struct StoredDayEvents {
    std::vector<std::string> items;
    std::string audioPath;
};
StoredDayEvents StoredDayEventsOn(const CalendarDate& date, int32_t lunarYear, int lunarMonth, int lunarDay,
                                  const HijriDate& hijri);
// The items joined by separator: three blanks in the day window's reminder
// text, one in the month window's day-events line.
std::string JoinedEvents(const StoredDayEvents& events, const std::string& separator);

// The countdown, reminder and memorials that fall on a civil day, looked up
// in its Gregorian, lunar and Hijri dates (nothing while UseRegistry is 0).
StoredDayEvents StoredDayEventsOf(const CalendarDate& date);
