// What the day window shows for one civil day: its nine selectors (year,
// month and day in the Gregorian, lunar and Hijri calendars) and its two
// information lines. The window only places these texts into its controls;
// lumora-cli prints them.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "civil_calendar.h"
#include "date_bounds.h"

// One drop-down selector: the item texts, the value each item stands for
// (year, month number, day) and the index of the shown value's item, -1 when
// it is not listed.
struct SelectorList {
    std::vector<std::string> items;
    std::vector<int32_t> values;
    int selected = -1;
};

struct DayCardLists {
    SelectorList gregorianYear, gregorianMonth, gregorianDay;
    SelectorList lunarYear, lunarMonth, lunarDay;
    SelectorList hijriYear, hijriMonth, hijriDay;
};

// The nine lists for the shown day (a valid date of MinShownYear..
// MaxShownYear). The lunar and Hijri lists stop at the bounds; showDynasty is
// DFORMShowDynastyFlag (era-name lunar years instead of Chinese digits).
DayCardLists FillDayCardLists(const CalendarDate& shown, const DateBounds& bounds, int showDynasty);

// The Gregorian year list (MinShownYear..MaxShownYear) and month list
// alone, as both main windows show them.
SelectorList GregorianYearList(int32_t shownYear);
SelectorList GregorianMonthList(int shownMonth);

// The text of a selector's shown item, "" when nothing is selected.
std::string SelectedText(const SelectorList& list);

struct DayInfo {
    std::string line1;
    std::string line2;
    std::string reminder;   // line 2's tool tip: the stored days, joined by three blanks
    std::string audioPath;  // the audio file of the first stored day that has one
};

// The two information lines of the shown day. infoType is
// DFORMShowInfoTypeFlag: 0 festivals and seasons, 1 sunrise and sunset,
// 2 dawn and dusk; the sun times are those of the current place. The
// reminder text and the day's audio come from the stored days.
DayInfo ComposeDayInfo(const CalendarDate& shown, int infoType);

// "   1月", " 1日": a number right-aligned with blanks in width characters.
std::string RightAligned(int value, size_t width);
