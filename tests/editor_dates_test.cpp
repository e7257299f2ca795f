#include "editor_dates.h"

#include <gtest/gtest.h>

#include "date_text.h"
#include "day_card.h"
#include "hijri_calendar.h"
#include "lunar_year.h"
#include "memorial_editor.h"

namespace {

constexpr MemorialCalendar Gregorian = MemorialCalendar::Gregorian;
constexpr MemorialCalendar Lunar = MemorialCalendar::Lunar;
constexpr MemorialCalendar Hijri = MemorialCalendar::Hijri;

std::optional<EditorRow> Row(const EditorRows& rows, MemorialCalendar calendar) { return rows[size_t(calendar)]; }

// The Gregorian day a row of any calendar stands for.
std::optional<CalendarDate> DayOfRow(MemorialCalendar calendar, const EditorRow& row)
{
    auto date = DateOfRow(calendar, row);
    if (!date) return std::nullopt;
    if (calendar == Gregorian) return CalendarDate{date->year, date->month, date->day};
    return ReadTaggedDate(calendar == Lunar ? LunarToSolar(date->year, date->month, date->day)
                                            : HijriToSolarText(date->year, date->month, date->day));
}

}  // namespace

TEST(EditorDates, ListsHaveTheEditorsOwnWidths)
{
    EditorRowItems gregorian = EditorDateItems(Gregorian), lunar = EditorDateItems(Lunar), hijri = EditorDateItems(Hijri);
    ASSERT_EQ(gregorian.years.size(), 401u);
    EXPECT_EQ(gregorian.years.front() + "|" + gregorian.years.back(), "    1800年|    2200年");
    EXPECT_EQ(gregorian.months[0] + "|" + gregorian.months[11], "     1月|    12月");
    ASSERT_EQ(gregorian.days.size(), 31u);
    EXPECT_EQ(gregorian.days[0] + "|" + gregorian.days[30], "  1日| 31日");

    YearRange lunarRange = MemorialYearRange(Lunar);
    EXPECT_EQ(lunar.years.size(), size_t(lunarRange.last - lunarRange.first + 1));
    EXPECT_EQ(lunar.years.front(), "  一七九九年");
    ASSERT_EQ(lunar.months.size(), 24u);
    EXPECT_EQ(lunar.months[0] + "|" + lunar.months[11] + "|" + lunar.months[12] + "|" + lunar.months[15] + "|" +
                  lunar.months[23],
              "    正月|    腊月|  闰正月|  闰四月|  闰腊月");
    ASSERT_EQ(lunar.days.size(), 30u);
    EXPECT_EQ(lunar.days[0] + "|" + lunar.days[29], " 初一| 三十");

    YearRange hijriRange = MemorialYearRange(Hijri);
    EXPECT_EQ(hijri.years.size(), size_t(hijriRange.last - hijriRange.first + 1));
    EXPECT_EQ(hijri.years.front(), "  回历" + std::to_string(hijriRange.first) + "年");
    EXPECT_EQ(hijri.months[0] + "|" + hijri.months[11] + "|" + hijri.days[29], "1月|12月|30日");
}

TEST(EditorDates, TheShownDayIsPreselectedAndHeldAtTheEndsOfTheRanges)
{
    // Lunar New Year 2026 is 17 February; in range each row names the day itself.
    EditorRows rows = RowsOfShownDay({2026, 2, 17});
    EXPECT_EQ(Row(rows, Gregorian), (EditorRow{226, 1, 16}));
    EXPECT_EQ(Row(rows, Lunar), (EditorRow{2026 - MemorialYearRange(Lunar).first, 0, 0}));
    for (MemorialCalendar calendar : {Gregorian, Lunar, Hijri}) {
        auto day = DayOfRow(calendar, *Row(rows, calendar));
        ASSERT_TRUE(day) << int(calendar);
        EXPECT_TRUE(day->year == 2026 && day->month == 2 && day->day == 17) << int(calendar);
    }

    // 31 December 1799 is before the Gregorian range but inside the lunar
    // and Hijri years that contain 1 January 1800.
    rows = RowsOfShownDay({1799, 12, 31});
    EXPECT_EQ(Row(rows, Gregorian), (EditorRow{0, 0, 0}));
    EXPECT_EQ(DayOfRow(Lunar, *Row(rows, Lunar))->day, 31);
    rows = RowsOfShownDay({-103, 1, 1});
    for (MemorialCalendar calendar : {Gregorian, Lunar, Hijri})
        EXPECT_EQ(Row(rows, calendar), (EditorRow{0, 0, 0})) << int(calendar);
    rows = RowsOfShownDay({4103, 12, 31});
    EXPECT_EQ(Row(rows, Gregorian), (EditorRow{400, 11, 30}));
    // Beyond the end: the last year's twelfth month on its own last day.
    for (MemorialCalendar calendar : {Lunar, Hijri}) {
        YearRange range = MemorialYearRange(calendar);
        EditorRow last = *Row(rows, calendar);
        auto date = DateOfRow(calendar, last);
        ASSERT_TRUE(date);
        EXPECT_TRUE(date->year == range.last && date->month == 12) << int(calendar);
        EXPECT_TRUE(IsValidCalendarDate(calendar, date->year, 12, date->day)) << int(calendar);
        EXPECT_FALSE(IsValidCalendarDate(calendar, date->year, 12, date->day + 1)) << int(calendar);
    }
    EXPECT_FALSE(DateOfRow(Gregorian, {0, -1, 0}));
    EXPECT_FALSE(DateOfRow(Lunar, {0, 24, 0}));
}

TEST(EditorDates, ASelectedLineSetsItsRowAndAGregorianDayAllThree)
{
    EditorList list;
    AddEditorEntry(list, EditorMode::Memorial, Lunar, 2020, 16, 2, "闰四", "");
    AddEditorEntry(list, EditorMode::Memorial, Gregorian, 2026, 2, 17, "春节", "");
    AddEditorEntry(list, EditorMode::Memorial, Hijri, 1445, 9, 1, "斋月", "");
    EditorRows lunar = RowsOfLine(list[0]);
    EXPECT_FALSE(Row(lunar, Gregorian) || Row(lunar, Hijri));
    EXPECT_EQ(Row(lunar, Lunar), (EditorRow{2020 - MemorialYearRange(Lunar).first, 15, 1}));
    EXPECT_EQ(RowsOfLine(list[1]), RowsOfShownDay({2026, 2, 17}));
    EditorRows hijri = RowsOfLine(list[2]);
    EXPECT_FALSE(Row(hijri, Gregorian) || Row(hijri, Lunar));
    EXPECT_EQ(Row(hijri, Hijri), (EditorRow{1445 - MemorialYearRange(Hijri).first, 8, 0}));

    EditorList reminders;
    AddEditorEntry(reminders, EditorMode::Reminder, Gregorian, 2200, 12, 31, "最后", "");
    EditorRows last = RowsOfLine(reminders[0]);
    EXPECT_EQ(Row(last, Gregorian), (EditorRow{400, 11, 30}));
    EXPECT_TRUE(Row(last, Lunar) && Row(last, Hijri));
    EXPECT_EQ(RowsOfLine("not a line"), EditorRows{});
}
