// lumora-cli day and month: the day card and the month sheet, with the texts
// the two main windows show.
#include <cstdio>
#include <string>
#include <vector>

#include "calendar_names.h"
#include "commands.h"
#include "day_card.h"
#include "gbk_text.h"
#include "json_output.h"
#include "month_sheet.h"
#include "places.h"
#include "settings.h"
#include "terminal.h"
#include "window_lines.h"

namespace {

const char DayUsage[] =
    "usage: lumora-cli day [DATE] [--info festivals|sun|twilight] [--bc]\n"
    "  the day card of DATE (default today): the day in the Gregorian, lunar and Hijri\n"
    "  calendars, its information lines and its description in the month window;\n"
    "  --info chooses the second line: festivals and seasons (default), sunrise and\n"
    "  sunset, or dawn and dusk; DATE is YYYY-MM-DD (astronomical year) or\n"
    "  MM-DD-YYYY with --bc for a year before the common era";
const char MonthUsage[] =
    "usage: lumora-cli month [YEAR MONTH]\n"
    "  the month sheet of YEAR MONTH (default this month): each day with its lunar\n"
    "  day, festival or solar term, the shown day in brackets (today, or the 1st),\n"
    "  then the month's solar terms and new (朔) and full (望) moons";

// A cell of the sheet in the terminal: 10 columns, and GBK bytes are columns.
constexpr size_t CellWidth = 10;

int Refuse(const char* command, const std::string& message, const char* usage = nullptr)
{
    PrintLine(stderr, std::string(command) + ": " + message);
    if (usage) PrintLine(stderr, usage);
    return 2;
}

bool InShownYears(int32_t year) { return year >= MinShownYear && year <= MaxShownYear; }

std::string ShownYearsText()
{
    return "years from " + std::to_string(MinShownYear) + " to " + std::to_string(MaxShownYear);
}

std::string WithoutTrailingBlanks(std::string line)
{
    line.erase(line.find_last_not_of(' ') + 1);
    return line;
}

std::string RowCalendar(const SelectorList& year, const SelectorList& month, const SelectorList& day)
{
    return SelectedText(year) + SelectedText(month) + SelectedText(day);
}

}  // namespace

int DayCommand(const CommandArgs& args)
{
    LoadStoredSettings();  // as the program starts; the stored days show only with registry use
    std::string dateText;
    bool hasDate = false;
    int infoType = DFORMShowInfoTypeFlag;
    bool bc = false;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--help") {
            PrintLine(stdout, DayUsage);
            return 0;
        }
        if (args[i] == "--bc") {
            bc = true;
        } else if (args[i] == "--info") {
            std::string kind = i + 1 < args.size() ? args[++i] : "";
            if (kind == "festivals") infoType = 0;
            else if (kind == "sun") infoType = 1;
            else if (kind == "twilight") infoType = 2;
            else return Refuse("day", "--info takes festivals, sun or twilight");
        } else if (!hasDate && args[i].compare(0, 2, "--") != 0) {
            dateText = args[i];  // "-0103-02-01" is a date, not an option
            hasDate = true;
        } else {
            return Refuse("day", "unexpected argument '" + args[i] + "'", DayUsage);
        }
    }
    if (bc && !hasDate) return Refuse("day", "--bc needs a date in the form MM-DD-YYYY");

    CalendarDate date = Today();
    if (hasDate) {
        auto parsed = ParseDateArgument(dateText, bc);
        if (!parsed)
            return Refuse("day", "'" + dateText + "' is no valid date (YYYY-MM-DD, or MM-DD-YYYY with --bc)");
        date = *parsed;
    }
    if (!InShownYears(date.year)) return Refuse("day", "the day card shows the " + ShownYearsText());

    if (JsonOutput) {
        PrintJson(DayJson(date, infoType));
        return 0;
    }
    DayCardLists lists = FillDayCardLists(date, ComputeDateBounds(), DFORMShowDynastyFlag);
    DayInfo info = ComposeDayInfo(date, infoType);
    PrintLine(stdout, RowCalendar(lists.gregorianYear, lists.gregorianMonth, lists.gregorianDay));
    PrintLine(stdout, RowCalendar(lists.lunarYear, lists.lunarMonth, lists.lunarDay));
    PrintLine(stdout, RowCalendar(lists.hijriYear, lists.hijriMonth, lists.hijriDay));
    PrintLine(stdout, info.line1);
    PrintLine(stdout, info.line2);
    for (const std::string& line : WindowLines(ComposeMonthDayInfo(date.year, date.month, date.day)))
        if (!line.empty()) PrintLine(stdout, line);
    PrintLine(stdout, CurrentPlace.name + " " + CoordinateText(CurrentPlace.longitude, LongitudeCoordinate) + " " +
                          CoordinateText(CurrentPlace.latitude, LatitudeCoordinate));
    return 0;
}

int MonthCommand(const CommandArgs& args)
{
    if (args.size() == 1 && args[0] == "--help") {
        PrintLine(stdout, MonthUsage);
        return 0;
    }
    CalendarDate today = Today();
    int32_t year = today.year;
    int month = today.month;
    if (args.size() == 2) {
        auto y = ParseWholeNumber(args[0], MinShownYear, MaxShownYear);
        auto m = ParseWholeNumber(args[1], 1, 12);
        if (!y) return Refuse("month", "'" + args[0] + "' is no year; the month sheet shows the " + ShownYearsText());
        if (!m) return Refuse("month", "'" + args[1] + "' is no month from 1 to 12");
        year = int32_t(*y);
        month = int(*m);
    } else if (!args.empty()) {
        return Refuse("month", "expected a year and a month, or nothing", MonthUsage);
    }
    if (!InShownYears(year)) return Refuse("month", "the month sheet shows the " + ShownYearsText());
    int shownDay = today.year == year && today.month == month ? today.day : 1;
    if (JsonOutput) {
        PrintJson(MonthJson(year, month, today.year == year && today.month == month ? today.day : 0));
        return 0;
    }

    MonthGrid grid = FillMonthGrid(year, month, shownDay);
    const bool reverseToday = StdoutIsTerminal();
    const size_t sheetWidth = 7 * CellWidth + 6;
    PrintLine(stdout, WithoutTrailingBlanks(
                          Centred(TrimBlanks(YearText(year)) + "年" + std::to_string(month) + "月", sheetWidth)));
    const char* const weekdays[] = {"星期日", "星期一", "星期二", "星期三", "星期四", "星期五", "星期六"};
    std::string header;
    for (const char* weekday : weekdays) {
        if (!header.empty()) header += ' ';
        header += Centred(weekday, CellWidth);
    }
    PrintLine(stdout, WithoutTrailingBlanks(header));
    for (int rowFirst = 1; rowFirst <= MonthCellCount; rowFirst += 7) {
        std::string days, seconds;
        bool any = false;
        for (int cell = rowFirst; cell < rowFirst + 7 && cell <= MonthCellCount; ++cell) {
            int day = MonthCellDay(year, month, cell);
            std::string number = day == 0 ? "" : std::to_string(day);
            if (cell == grid.highlightedCell) number = "[" + number + "]";
            any = any || day != 0;
            std::string separator = cell == rowFirst ? "" : " ";
            std::string centred = Centred(number, CellWidth);
            if (day != 0 && day == today.day && year == today.year && month == today.month && reverseToday) {
                // Today in reverse video, as cal shows it; the blanks stay plain.
                size_t first = centred.find_first_not_of(' '), last = centred.find_last_not_of(' ') + 1;
                centred = centred.substr(0, first) + "\x1b[7m" + centred.substr(first, last - first) + "\x1b[0m" +
                          centred.substr(last);
            }
            days += separator + centred;
            seconds += separator + Centred(CellSecondLine(grid.cells[size_t(cell)]), CellWidth);
        }
        if (!any) continue;
        PrintLine(stdout, WithoutTrailingBlanks(days));
        PrintLine(stdout, WithoutTrailingBlanks(seconds));
    }
    PrintLine(stdout, "");
    std::vector<std::string> events = WindowLines(FillMonthEvents(year, month));
    PrintLine(stdout, events[0]);
    PrintLine(stdout, events.size() > 1 ? events[1] : "");
    return 0;
}
