// lumora-cli why|uncertain: where each lunar month comes from, and which
// month starts and principal-term days of a span are too close to midnight
// to be sure of.
#include <cstdio>
#include <string>

#include "civil_calendar.h"
#include "commands.h"
#include "month_source_text.h"
#include "terminal.h"
#include "yearly_tables.h"

namespace {

const char WhyUsage[] =
    "usage: lumora-cli why DATE [--bc] [--tsv]\n"
    "       lumora-cli why --year YEAR [--tsv]\n"
    "  the lunar month that holds DATE: what decided its first day and its principal term\n"
    "  (the calendar in force, a Qing model, the late-new-moon rule, the day list or modern\n"
    "  astronomy) and how close a modern moment lies to midnight; under the other calendar\n"
    "  setting too when that gives another month. --year: every month of lunar year YEAR.\n"
    "  DATE: YYYY-MM-DD (astronomical year) or MM-DD-YYYY (--bc: before year 1), -103..5000;\n"
    "  --tsv: one TAB-separated line per month (columns in the README)\n";
const char UncertainUsage[] =
    "usage: lumora-cli uncertain Y1 Y2\n"
    "  the month starts and principal-term days of civil years Y1..Y2 whose modern moment lies\n"
    "  within 60 s plus twice the uncertainty of Delta T of midnight (or of the late-new-moon\n"
    "  threshold): date, event, moment (UTC+8), seconds to that instant, margin in seconds\n";

int Refuse(const char* command, const std::string& message)
{
    PrintLine(stderr, std::string(command) + ": " + message + " (see lumora-cli " + command + " --help)");
    return 2;
}

void Print(const std::vector<std::string>& lines)
{
    for (const std::string& line : lines) PrintLine(stdout, line);
}

}  // namespace

int WhyCommand(const CommandArgs& args)
{
    bool bc = false, tsv = false, year = false;
    std::vector<std::string> rest;
    for (const std::string& arg : args) {
        if (arg == "--help" || arg == "-h") {
            PrintText(stdout, WhyUsage);
            return 0;
        }
        if (arg == "--bc") bc = true;
        else if (arg == "--tsv") tsv = true;
        else if (arg == "--year") year = true;
        else if (arg.size() > 2 && arg.compare(0, 2, "--") == 0) return Refuse("why", "unknown option '" + arg + "'");
        else rest.push_back(arg);
    }
    if (rest.size() != 1) return Refuse("why", year ? "expected one year" : "expected one date");
    if (year) {
        int32_t first = FirstTableYear(TableMode::LunarMonths), last = LastTableYear(TableMode::LunarMonths);
        auto y = ParseWholeNumber(rest[0], first, last);
        if (!y || bc)
            return Refuse("why", "the lunar year must be a whole number from " + std::to_string(first) + " to " +
                                     std::to_string(last) + ", not '" + rest[0] + "'");
        Print(WhyYearLines(int32_t(*y), tsv));
        return 0;
    }
    auto date = ParseDateArgument(rest[0], bc);
    if (!date) return Refuse("why", "'" + rest[0] + "' is not a date");
    if (date->year < FirstTableYear(TableMode::SolarTerms) || date->year > LastTableYear(TableMode::SolarTerms))
        return Refuse("why", "'" + rest[0] + "' lies outside the years " +
                                 std::to_string(FirstTableYear(TableMode::SolarTerms)) + ".." +
                                 std::to_string(LastTableYear(TableMode::SolarTerms)));
    std::vector<std::string> lines = WhyDayLines(DateToDayNumber(*date), tsv);
    if (lines.empty()) return Refuse("why", "no lunar month holds '" + rest[0] + "'");
    Print(lines);
    return 0;
}

int UncertainCommand(const CommandArgs& args)
{
    for (const std::string& arg : args)
        if (arg == "--help" || arg == "-h") {
            PrintText(stdout, UncertainUsage);
            return 0;
        }
    int32_t first = FirstTableYear(TableMode::SolarTerms), last = LastTableYear(TableMode::SolarTerms);
    if (args.size() != 2) return Refuse("uncertain", "expected two years");
    auto y1 = ParseWholeNumber(args[0], first, last), y2 = ParseWholeNumber(args[1], first, last);
    if (!y1 || !y2 || *y1 > *y2)
        return Refuse("uncertain", "expected two years Y1 <= Y2 from " + std::to_string(first) + " to " +
                                       std::to_string(last));
    Print(UncertainLines(int32_t(*y1), int32_t(*y2)));
    return 0;
}
