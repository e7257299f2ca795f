// lumora-cli year: the twelve month sheets of a year side by side, as
// `cal -y` lays a year out, each day over its lunar day, festival or term.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "calendar_names.h"
#include "commands.h"
#include "day_card.h"
#include "gbk_text.h"
#include "month_sheet.h"
#include "terminal.h"

namespace {

const char YearUsage[] =
    "usage: lumora-cli year [YEAR] [--width COLUMNS]\n"
    "  the twelve month sheets of YEAR (default this year), each day over its lunar\n"
    "  day, festival or solar term, as many months side by side as fit in COLUMNS\n"
    "  (default: the COLUMNS variable, else 80); today in reverse video on a terminal";

// A day's cell: four columns, and GBK bytes are columns.
constexpr size_t CellWidth = 4;
constexpr size_t MonthWidth = 7 * CellWidth + 6;
constexpr size_t MonthGap = 2;

int Refuse(const std::string& message)
{
    PrintLine(stderr, "year: " + message);
    return 2;
}

// One month as lines of MonthWidth columns (title, weekdays, two lines a
// week); today's day (0 for none) between the escapes that reverse it.
std::vector<std::string> MonthBlock(int32_t year, int month, int today, bool reverse)
{
    std::vector<std::string> lines;
    lines.push_back(Centred(std::to_string(month) + "月", MonthWidth));
    std::string header;
    for (const char* weekday : {"日", "一", "二", "三", "四", "五", "六"})
    {
        if (!header.empty()) header += ' ';
        header += Centred(weekday, CellWidth);
    }
    lines.push_back(header);
    MonthGrid grid = FillMonthGrid(year, month, 0);
    for (int rowFirst = 1; rowFirst <= 42; rowFirst += 7) {
        std::string days, seconds;
        for (int cell = rowFirst; cell < rowFirst + 7; ++cell) {
            int day = cell <= MonthCellCount ? MonthCellDay(year, month, cell) : 0;
            std::string separator = cell == rowFirst ? "" : " ";
            std::string number = Centred(day == 0 ? "" : std::to_string(day), CellWidth);
            if (day != 0 && day == today && reverse) {
                size_t first = number.find_first_not_of(' '), last = number.find_last_not_of(' ') + 1;
                number = number.substr(0, first) + "\x1b[7m" + number.substr(first, last - first) + "\x1b[0m" +
                         number.substr(last);
            }
            std::string text;
            if (day != 0) {
                text = CellSecondLine(grid.cells[size_t(cell)]);
            }
            days += separator + number;
            seconds += separator + Centred(text, CellWidth);
        }
        lines.push_back(days);
        lines.push_back(seconds);
    }
    // Drop the weeks the month does not reach, kept blank for the band.
    while (lines.size() > 2 && lines.back().find_first_not_of(' ') == std::string::npos &&
           lines[lines.size() - 2].find_first_not_of(' ') == std::string::npos)
        lines.resize(lines.size() - 2);
    return lines;
}

std::string WithoutTrailingBlanks(std::string line)
{
    line.erase(line.find_last_not_of(' ') + 1);
    return line;
}

}  // namespace

int YearCommand(const CommandArgs& args)
{
    CalendarDate today = Today();
    int32_t year = today.year;
    long width = 80;
    if (const char* columns = std::getenv("COLUMNS"))
        if (auto n = ParseWholeNumber(columns, 1, 10000)) width = *n;
    bool hasYear = false;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--help" || args[i] == "-h") {
            PrintLine(stdout, YearUsage);
            return 0;
        }
        if (args[i] == "--width" && i + 1 < args.size()) {
            auto n = ParseWholeNumber(args[++i], 1, 10000);
            if (!n) return Refuse("'" + args[i] + "' is no width in columns");
            width = *n;
        } else if (!hasYear) {
            auto y = ParseWholeNumber(args[i], MinShownYear, MaxShownYear);
            if (!y)
                return Refuse("'" + args[i] + "' is no year from " + std::to_string(MinShownYear) + " to " +
                              std::to_string(MaxShownYear));
            year = int32_t(*y);
            hasYear = true;
        } else {
            return Refuse("unexpected argument '" + args[i] + "' (see lumora-cli year --help)");
        }
    }
    size_t perBand = 1;
    while (perBand < 3 && (perBand + 1) * MonthWidth + perBand * MonthGap <= size_t(width)) ++perBand;
    const bool reverse = StdoutIsTerminal();

    PrintLine(stdout, WithoutTrailingBlanks(
                          Centred(TrimBlanks(YearText(year)) + "年", perBand * MonthWidth + (perBand - 1) * MonthGap)));
    for (int first = 1; first <= 12; first += int(perBand)) {
        std::vector<std::vector<std::string>> blocks;
        size_t lines = 0;
        for (int month = first; month < first + int(perBand) && month <= 12; ++month) {
            blocks.push_back(MonthBlock(year, month, today.year == year && today.month == month ? today.day : 0, reverse));
            lines = std::max(lines, blocks.back().size());
        }
        PrintLine(stdout, "");
        for (size_t k = 0; k < lines; ++k) {
            std::string line;
            for (size_t b = 0; b < blocks.size(); ++b) {
                if (b > 0) line += std::string(MonthGap, ' ');
                line += k < blocks[b].size() ? blocks[b][k] : std::string(MonthWidth, ' ');
            }
            PrintLine(stdout, WithoutTrailingBlanks(line));
        }
    }
    return 0;
}
