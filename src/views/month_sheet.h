// What the month window shows: the sheet of 37 day cells, the box of the
// month's solar terms and new and full moons, and the box describing the
// shown day. The window only places these texts into its controls;
// lumora-cli prints them.
#pragma once
#include <array>
#include <cstdint>
#include <string>

constexpr int MonthCellCount = 37;

// Cell n (1..37) lies in row (n + 6) / 7 and column (n - 1) % 7 + 1, Sunday
// first. A cell with a day reads "\r\n" day "\r\n" second line; the others
// are empty.
struct MonthGrid {
    std::array<std::string, MonthCellCount + 1> cells;  // cells[1..37]; cells[0] unused
    int highlightedCell = 0;                            // 0: the shown day is not on the sheet
};

// The sheet of a month with shownDay (0 for none) highlighted. The second
// line of a day names its lunar festival, main Gregorian festival, solar
// term, the lunar month on the month's first day, or else the lunar day.
MonthGrid FillMonthGrid(int32_t year, int month, int shownDay);

// The second line of a cell's text, "" for an empty cell.
std::string CellSecondLine(const std::string& cell);

// The day of the month that cell n shows, 0 for an empty cell (October 1582
// skips from the 4th to the 15th).
int MonthCellDay(int32_t year, int month, int cell);
// The cell that shows day of the month, 0 for a day the month lacks.
int MonthCellOfDay(int32_t year, int month, int day);

// The month's solar terms on the first line and its new (朔) and full (望)
// moons on the second, as the calendar in force computes them; each entry
// reads day "日" time name, e.g. "4日16:27:02立春". "" for a month that does
// not exist.
std::string FillMonthEvents(int32_t year, int month);

// The description of the shown day: its lunar date and stem-branch date, its
// Hijri date, zodiac sign and seasonal periods, the sun times of the current
// place and, when there are any, its festivals, countdown, reminder and
// memorials; each line preceded by "\r\n". "" for an invalid date. audioPath,
// when given, receives the audio file of the first stored day that has one.
std::string ComposeMonthDayInfo(int32_t year, int month, int day, std::string* audioPath = nullptr);
