// The date lists of the memorial editor: three rows (Gregorian, lunar,
// Hijri) of year, month and day drop-down lists over the years stored days
// may have. The lists are fixed for the editor's life; a date is picked by
// the index of its item in each list. The window fills its nine lists from
// here and turns what is selected into a date with the same functions.
#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "civil_calendar.h"
#include "stored_days.h"

// The items of one row: years over the calendar's memorial year range,
// then months and days. Gregorian months read "     5月" (6 bytes for the
// number), days "  5日"; lunar months are 正月..腊月 with 4 leading blanks
// and then 闰正月..闰腊月 with 2 (item k is month k + 1, leap months 13..24),
// lunar days " 初五"; Hijri years "  回历1445年" (right-aligned in 10 bytes),
// months and days "5月", "5日".
struct EditorRowItems {
    std::vector<std::string> years, months, days;
};
EditorRowItems EditorDateItems(MemorialCalendar calendar);

// The selected items of one row, -1 when a list has no selection.
struct EditorRow {
    int year = -1, month = -1, day = -1;
};
inline bool operator==(const EditorRow& a, const EditorRow& b)
{
    return a.year == b.year && a.month == b.month && a.day == b.day;
}

// The date a row's selection stands for (year = first year + index, month
// and day = index + 1); nullopt while a list has no selection. The date may
// not exist (31 February): adding checks that.
struct RowDate {
    int32_t year;
    int month, day;
};
std::optional<RowDate> DateOfRow(MemorialCalendar calendar, const EditorRow& row);
// The row showing a date of the calendar. A date before the range shows as
// the first year's first month and day, one after it as the last year's
// twelfth month and its last day.
EditorRow RowOfDate(MemorialCalendar calendar, int32_t year, int month, int day);

// The three rows as the editor opens on the day the calling window shows:
// the day itself in each calendar, held at the ends of the ranges.
using EditorRows = std::array<std::optional<EditorRow>, 3>;  // indexed by MemorialCalendar
EditorRows RowsOfShownDay(const CalendarDate& shown);
// The rows a selected list line sets: the row of the line's calendar and,
// for a Gregorian date (every reminder and countdown), the lunar and Hijri
// rows of the same day. All empty for a text that is no editor line.
EditorRows RowsOfLine(const std::string& line);
