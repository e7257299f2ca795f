#include "month_sheet.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "calendar_flags.h"
#include "calendar_names.h"
#include "day_card.h"
#include "festivals.h"
#include "seasonal_periods.h"
#include "civil_calendar.h"
#include "date_text.h"
#include "places.h"
#include "solver.h"
#include "window_lines.h"

namespace {

void UseDefaultCalendar()
{
    SetModernCalculateAncientFlag(0);
    GanZhiFromChunjieFlag = 0;
    SelectCity(1);  // 天安门
}

std::string Cell(int day, const std::string& second) { return "\r\n" + std::to_string(day) + "\r\n" + second; }

// The text of the cell that shows a day.
std::string DayCell(int32_t year, int month, int day)
{
    MonthGrid grid = FillMonthGrid(year, month, day);
    return grid.highlightedCell > 0 ? grid.cells[size_t(grid.highlightedCell)] : "";
}

// "4日16:27:02" of a moment in February 2024.
std::string EntryOf(double moment)
{
    std::string text = MomentToText(moment);
    return std::to_string(std::stoi(text.substr(5, 2))) + "日" + text.substr(13);
}

}  // namespace

TEST(MonthSheet, DaysFillTheCellsFromTheFirstDaysWeekday)
{
    UseDefaultCalendar();
    // October 2022 begins on a Saturday and has 31 days: cells 7 to 37.
    MonthGrid october = FillMonthGrid(2022, 10, 31);
    for (int cell = 1; cell <= 6; ++cell) EXPECT_EQ(october.cells[size_t(cell)], "") << cell;
    EXPECT_EQ(october.cells[7], Cell(1, "国庆节"));
    EXPECT_EQ(october.cells[37], Cell(31, "初七"));
    EXPECT_EQ(october.highlightedCell, 37);

    // October 1582 (1st on a Monday) shows 21 days; the 15th follows the 4th.
    MonthGrid reform = FillMonthGrid(1582, 10, 15);
    EXPECT_EQ(reform.cells[1], "");
    EXPECT_EQ(reform.cells[5].substr(0, 5), "\r\n4\r\n");
    EXPECT_EQ(reform.cells[6].substr(0, 6), "\r\n15\r\n");
    EXPECT_EQ(reform.highlightedCell, 6);
    EXPECT_EQ(reform.cells[22].substr(0, 6), "\r\n31\r\n");
    EXPECT_EQ(reform.cells[23], "");
    EXPECT_EQ(MonthCellDay(1582, 10, 5), 4);
    EXPECT_EQ(MonthCellDay(1582, 10, 6), 15);
    EXPECT_EQ(MonthCellDay(1582, 10, 23), 0);

    EXPECT_EQ(FillMonthGrid(2024, 2, 0).highlightedCell, 0);
    EXPECT_EQ(FillMonthGrid(2024, 13, 1).cells[10], "");
    EXPECT_EQ(MonthCellDay(2024, 2, 0), 0);
    EXPECT_EQ(MonthCellDay(2024, 2, 38), 0);
}

TEST(MonthSheet, SecondLineTakesTheFirstThatApplies)
{
    UseDefaultCalendar();
    // 1992-02-04 is both the lunar New Year and 立春: the festival wins.
    EXPECT_EQ(DayCell(1992, 2, 4), Cell(4, "春节"));
    // 2015-06-21 is 父亲节 and 夏至: the main Gregorian festival wins.
    EXPECT_EQ(DayCell(2015, 6, 21), Cell(21, "父亲节"));
    // Commemorative days stay off the sheet; a term day shows its term.
    MonthGrid february = FillMonthGrid(2024, 2, 10);
    EXPECT_EQ(february.cells[14], Cell(10, "春节"));
    EXPECT_EQ(february.cells[13], Cell(9, "除夕"));
    EXPECT_EQ(february.cells[8], Cell(4, "立春"));
    EXPECT_EQ(february.cells[15], Cell(11, "初二"));
    // The first day of a lunar month names the month and its length.
    EXPECT_EQ(DayCell(2024, 3, 10), Cell(10, "二月大"));
    EXPECT_EQ(DayCell(2020, 5, 23), Cell(23, "闰四月小"));
}

// How lumora-cli takes the window texts apart: empty lines stay (they
// separate a table's groups) and a cell's second line may be empty.
TEST(MonthSheet, WindowTextsTakenApart)
{
    EXPECT_EQ(WindowLines(""), std::vector<std::string>{""});
    EXPECT_EQ(WindowLines("a\r\n\r\nb\r\n"), (std::vector<std::string>{"a", "", "b", ""}));
    EXPECT_EQ(CellSecondLine(Cell(10, "春节")), "春节");
    EXPECT_EQ(CellSecondLine(Cell(1, "")), "");
    EXPECT_EQ(CellSecondLine(""), "");
    EXPECT_EQ(CellSecondLine(FillMonthGrid(2024, 2, 0).cells[MonthCellOfDay(2024, 2, 10)]), "春节");
}

TEST(MonthSheet, EventsOfFebruary2024)
{
    UseDefaultCalendar();
    // Published for Beijing time: 立春 16:27, 雨水 12:13, new moon 06:59 on
    // the 10th, full moon 20:30 on the 24th. Outside the historical spans the
    // sheet must agree with the modern finders to the second.
    int32_t first = DateToDayNumber(2024, 2, 1);
    std::string terms = EntryOf(AstroTermOnOrAfter(first, 3, 0)) + "立春 " +
                        EntryOf(AstroTermOnOrAfter(first, 4, 0)) + "雨水";
    std::string moons = EntryOf(NextNewOrFullMoon(first, 0)) + "朔 " + EntryOf(NextNewOrFullMoon(first, 1)) + "望";
    EXPECT_EQ(FillMonthEvents(2024, 2), terms + "\r\n" + moons);
    EXPECT_EQ(FillMonthEvents(2024, 2), "4日16:27:02立春 19日12:13:05雨水\r\n10日06:59:04朔 24日20:30:17望");
    // December 2024 holds two new moons; entries stay in the order of time.
    EXPECT_EQ(FillMonthEvents(2024, 12).substr(FillMonthEvents(2024, 12).find("\r\n")),
              "\r\n1日14:21:24朔 15日17:01:44望 31日06:26:44朔");
    EXPECT_EQ(FillMonthEvents(2024, 13), "");
}

TEST(MonthSheet, HistoricalEventsAreListedOnce)
{
    UseDefaultCalendar();
    // The Taichu calendar's first months: a search day moved back onto the
    // previous day must not list the new moon of the 23rd twice.
    EXPECT_EQ(FillMonthEvents(-103, 1), "9日05:15:00小寒 24日10:30:00大寒\r\n8日23:50:13望 23日00:02:10朔");
    // Three terms fit into a Julian-calendar January of the ninth century.
    std::string terms = FillMonthEvents(857, 1);
    EXPECT_EQ(terms.substr(0, terms.find("\r\n")), "1日13:00:06小寒 16日18:14:47大寒 31日23:29:27立春");
}

TEST(MonthSheet, DayDescription)
{
    UseDefaultCalendar();
    EXPECT_EQ(ComposeMonthDayInfo(2024, 2, 10),
              "\r\n农历   二○二四年 正月小初一 甲辰(龙)年丙寅月甲辰日"
              "\r\n回历 1445年7月30日 水瓶座 六九第6天"
              "\r\n天亮06:46:14 日出07:14:17 日落17:42:57 天黑18:11:01"
              "\r\n春节 国际气象节");
    // A leap month stands apart; a day without festivals has three lines.
    EXPECT_EQ(ComposeMonthDayInfo(2020, 5, 24).substr(0, 34), "\r\n农历   二○二○年  闰四月小初二 ");
    // Era names for the lunar year, "前" for Hijri years before the first.
    std::string first = ComposeMonthDayInfo(-103, 1, 1);
    EXPECT_NE(first.find("农历 西汉元封06年 冬月大初九 "), std::string::npos);
    EXPECT_NE(first.find("\r\n回历 前748年3月6日 摩羯座 一九第8天\r\n"), std::string::npos);
    std::string plain = ComposeMonthDayInfo(2024, 2, 11);
    EXPECT_EQ(std::count(plain.begin(), plain.end(), '\n'), 3);
    EXPECT_EQ(ComposeMonthDayInfo(1582, 10, 10), "");
}

// A click finds its day through MonthCellDay and the highlight moves
// through MonthCellOfDay: the two agree on every day of months that start
// on each weekday, and on October 1582.
TEST(MonthSheet, CellOfADayIsTheCellThatShowsIt)
{
    const std::pair<int32_t, int> months[] = {{2024, 9}, {2024, 4}, {2024, 10}, {2025, 1}, {2024, 8}, {2024, 11},
                                              {2024, 6}, {2021, 2}, {1582, 10}, {-103, 1}, {4103, 12}};
    for (auto [year, month] : months) {
        int shown = 0;
        for (int cell = 1; cell <= MonthCellCount; ++cell) {
            int day = MonthCellDay(year, month, cell);
            if (day == 0) continue;
            ++shown;
            EXPECT_EQ(MonthCellOfDay(year, month, day), cell) << year << "-" << month << "-" << day;
        }
        EXPECT_EQ(MonthCellOfDay(year, month, 0), 0);
        EXPECT_EQ(MonthCellOfDay(year, month, 32), 0);
        if (year == 1582) {
            EXPECT_EQ(shown, 21);
        }
    }
    // August 2026 begins on a Saturday and fills cells 7 to 37.
    EXPECT_EQ(MonthCellOfDay(2026, 8, 1), 7);
    EXPECT_EQ(MonthCellOfDay(2026, 8, 31), 37);
    EXPECT_EQ(MonthCellOfDay(1582, 10, 15), MonthCellOfDay(1582, 10, 4) + 1);
    EXPECT_EQ(MonthCellOfDay(1582, 10, 10), 0);
}

// The sheet finds each solar term once per month instead of asking for
// every day: its term days are exactly those whose next-term text reads
// "今日", in the historical calendars and in modern astronomy alike.
TEST(MonthSheet, TermDaysAreThoseOfTheNextTermText)
{
    UseDefaultCalendar();
    auto isTermName = [](const std::string& text) {
        return std::find(SolarTermNames + 1, SolarTermNames + 25, text) != SolarTermNames + 25;
    };
    for (int modern : {0, 1}) {
        SetModernCalculateAncientFlag(modern);
        for (int32_t year : {-103, 240, 1281, 1582, 1645, 1887, 2024, 4103}) {
            for (int month = 1; month <= 12; ++month) {
                MonthGrid grid = FillMonthGrid(year, month, 0);
                for (int cell = 1; cell <= MonthCellCount; ++cell) {
                    int day = MonthCellDay(year, month, cell);
                    if (day == 0) continue;
                    const std::string& text = grid.cells[size_t(cell)];
                    std::string second = text.substr(text.rfind('\n') + 1);
                    std::string next = NextSolarTermText(year, month, day);
                    std::string term = next.rfind("今日", 0) == 0 ? next.substr(4, next.find(' ') - 4) : "";
                    auto lunar = LunarDateOf({year, month, day});
                    std::string festival = GregorianFestivalText(year, month, day, 0);
                    if (lunar && festival.empty()) festival = LunarFestivalText(lunar->year, lunar->month, lunar->day);
                    if (!festival.empty()) continue;  // a festival goes before the term
                    EXPECT_EQ(isTermName(second) ? second : "", term)
                        << year << "-" << month << "-" << day << " modern " << modern;
                }
            }
        }
    }
    SetModernCalculateAncientFlag(0);
}
