#include "editor_dates.h"

#include "calendar_names.h"
#include "day_card.h"
#include "memorial_editor.h"

namespace {

int MonthCount(MemorialCalendar calendar) { return calendar == MemorialCalendar::Lunar ? 24 : 12; }
int DayCount(MemorialCalendar calendar) { return calendar == MemorialCalendar::Gregorian ? 31 : 30; }

// "正月", "闰四月": the month's name without the 大/小 of its length.
std::string PlainLunarMonthName(int month)
{
    std::string name = LunarMonthName(month, 1);
    return name.substr(0, name.size() - 2);
}

}  // namespace

EditorRowItems EditorDateItems(MemorialCalendar calendar)
{
    EditorRowItems items;
    YearRange range = MemorialYearRange(calendar);
    for (int32_t y = range.first; y <= range.last; ++y) {
        if (calendar == MemorialCalendar::Gregorian) items.years.push_back(YearText(y) + "年");
        else if (calendar == MemorialCalendar::Lunar) items.years.push_back(ChineseYearText(y) + "年");
        else items.years.push_back(HijriYearText(y) + "年");
    }
    for (int m = 1; m <= MonthCount(calendar); ++m) {
        if (calendar == MemorialCalendar::Gregorian) items.months.push_back(RightAligned(m, 6) + "月");
        else if (calendar == MemorialCalendar::Lunar)
            items.months.push_back(std::string(m > 12 ? 2 : 4, ' ') + PlainLunarMonthName(m));
        else items.months.push_back(std::to_string(m) + "月");
    }
    for (int d = 1; d <= DayCount(calendar); ++d) {
        if (calendar == MemorialCalendar::Gregorian) items.days.push_back(RightAligned(d, 3) + "日");
        else if (calendar == MemorialCalendar::Lunar) items.days.push_back(" " + LunarDayName(d));
        else items.days.push_back(std::to_string(d) + "日");
    }
    return items;
}

std::optional<RowDate> DateOfRow(MemorialCalendar calendar, const EditorRow& row)
{
    YearRange range = MemorialYearRange(calendar);
    if (row.year < 0 || row.year > range.last - range.first || row.month < 0 || row.month >= MonthCount(calendar) ||
        row.day < 0 || row.day >= DayCount(calendar))
        return std::nullopt;
    return RowDate{range.first + row.year, row.month + 1, row.day + 1};
}

EditorRow RowOfDate(MemorialCalendar calendar, int32_t year, int month, int day)
{
    YearRange range = MemorialYearRange(calendar);
    if (year < range.first) return {0, 0, 0};
    if (year > range.last) {
        // A lunar or Hijri twelfth month has 29 or 30 days.
        int lastDay = IsValidCalendarDate(calendar, range.last, 12, DayCount(calendar)) ? DayCount(calendar) : 29;
        return {range.last - range.first, 11, lastDay - 1};
    }
    return {year - range.first, month - 1, day - 1};
}

EditorRows RowsOfShownDay(const CalendarDate& shown)
{
    EditorRows rows;
    rows[size_t(MemorialCalendar::Gregorian)] = RowOfDate(MemorialCalendar::Gregorian, shown.year, shown.month, shown.day);
    if (auto lunar = LunarDateOf(shown))
        rows[size_t(MemorialCalendar::Lunar)] = RowOfDate(MemorialCalendar::Lunar, lunar->year, lunar->month, lunar->day);
    if (auto hijri = HijriDateOf(shown))
        rows[size_t(MemorialCalendar::Hijri)] = RowOfDate(MemorialCalendar::Hijri, hijri->year, hijri->month, hijri->day);
    return rows;
}

EditorRows RowsOfLine(const std::string& line)
{
    auto fields = ReadEditorLine(line);
    if (!fields) return {};
    if (fields->calendar == MemorialCalendar::Gregorian)
        return RowsOfShownDay(CalendarDate{fields->year, fields->month, fields->day});
    EditorRows rows;
    rows[size_t(fields->calendar)] = RowOfDate(fields->calendar, fields->year, fields->month, fields->day);
    return rows;
}
