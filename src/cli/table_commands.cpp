// lumora-cli terms|lunar-months|moons|sun: the yearly tables, line by line
// exactly as the tables tool shows them.
#include <cstdio>
#include <optional>
#include <string>

#include "commands.h"
#include "json_output.h"
#include "places.h"
#include "platform.h"
#include "terminal.h"
#include "yearly_tables.h"

namespace {


bool WantsHelp(const CommandArgs& args)
{
    for (const std::string& arg : args)
        if (arg == "--help" || arg == "-h") return true;
    return false;
}

// A year of the mode's range, astronomical numbering (-103 is 104 BC).
bool ReadYear(const char* command, TableMode mode, const std::string& text, int32_t& year)
{
    auto value = ParseWholeNumber(text, FirstTableYear(mode), LastTableYear(mode));
    if (!value) {
        PrintLine(stderr, std::string(command) + ": the year must be a whole number from " +
                              std::to_string(FirstTableYear(mode)) + " to " + std::to_string(LastTableYear(mode)) +
                              ", not '" + text + "'");
        return false;
    }
    year = int32_t(*value);
    return true;
}

int YearTable(const char* command, TableMode mode, const char* usage, const CommandArgs& args,
              std::string (*build)(int32_t), std::string (*buildJson)(int32_t))
{
    if (WantsHelp(args)) {
        PrintText(stdout, usage);
        return 0;
    }
    if (args.size() != 1) {
        PrintLine(stderr, std::string(command) + ": expected one year (see lumora-cli " + command + " --help)");
        return 2;
    }
    int32_t year = 0;
    if (!ReadYear(command, mode, args[0], year)) return 2;
    if (JsonOutput) PrintJson(buildJson(year));
    else PrintWindowText(stdout, build(year));
    return 0;
}

// A built-in city by its code 1..43 or its name; 0 when none.
int32_t FindCity(const std::string& text)
{
    if (auto code = ParseWholeNumber(text, 1, CityCount())) return int32_t(*code);
    for (int32_t code = 1; code <= CityCount(); ++code)
        if (text == BuiltInCity(code).name) return code;
    return 0;
}

const char TermsUsage[] =
    "usage: lumora-cli terms YEAR\n"
    "  the solar terms of a civil year, two on a line, with date and time (UTC+8)\n"
    "  YEAR: -103..5000, astronomical numbering (0 is 1 BC, -103 is 104 BC)\n";
const char LunarMonthsUsage[] =
    "usage: lumora-cli lunar-months YEAR\n"
    "  the months of a lunar year (the one whose New Year falls in YEAR) and their civil days\n"
    "  YEAR: from the lunar year of -103-01-01 to 5000, astronomical numbering\n";
const char MoonsUsage[] =
    "usage: lumora-cli moons YEAR\n"
    "  the new and full moons of a civil year with date and time (UTC+8)\n"
    "  YEAR: -103..5000, astronomical numbering (0 is 1 BC, -103 is 104 BC)\n";
const char SunUsage[] =
    "usage: lumora-cli sun YEAR [--city CODE|NAME] [--twilight]\n"
    "  sunrise and sunset (with --twilight: dawn and dusk) for every day of a civil year\n"
    "  YEAR: -103..5000, astronomical numbering; --city: a built-in city by code or name\n"
    "  (see lumora-cli cities), the current place when omitted\n";

}  // namespace

int TermsCommand(const CommandArgs& args)
{
    return YearTable("terms", TableMode::SolarTerms, TermsUsage, args, SolarTermsTable, TermsJson);
}

int LunarMonthsCommand(const CommandArgs& args)
{
    return YearTable("lunar-months", TableMode::LunarMonths, LunarMonthsUsage, args, LunarMonthsTable, LunarMonthsJson);
}

int MoonsCommand(const CommandArgs& args)
{
    return YearTable("moons", TableMode::Moons, MoonsUsage, args, MoonsTable, MoonsJson);
}

int SunCommand(const CommandArgs& args)
{
    if (WantsHelp(args)) {
        PrintText(stdout, SunUsage);
        return 0;
    }
    const std::string* yearText = nullptr;
    // The current place when it is a built-in city; the table lists only those.
    int32_t city = CurrentPlace.cityCode >= 1 && CurrentPlace.cityCode <= CityCount() ? CurrentPlace.cityCode : 1;
    bool twilight = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--twilight") {
            twilight = true;
        } else if (arg == "--city") {
            if (i + 1 >= args.size()) {
                PrintLine(stderr, "sun: --city needs a city code 1.." + std::to_string(CityCount()) + " or a city name");
                return 2;
            }
            city = FindCity(args[++i]);
            if (city == 0) {
                PrintLine(stderr, "sun: no built-in city '" + args[i] + "' (see lumora-cli cities)");
                return 2;
            }
        } else if (yearText == nullptr && 
                   (arg.empty() || arg[0] != '-' || (arg.size() > 1 && arg[1] >= '0' && arg[1] <= '9'))) {
            yearText = &arg;
        } else {
            PrintLine(stderr, "sun: unexpected argument '" + arg + "' (see lumora-cli sun --help)");
            return 2;
        }
    }
    if (yearText == nullptr) {
        PrintLine(stderr, "sun: expected a year (see lumora-cli sun --help)");
        return 2;
    }
    int32_t year = 0;
    if (!ReadYear("sun", TableMode::SunTimes, *yearText, year)) return 2;
    if (JsonOutput) PrintJson(SunJson(year, city, twilight));
    else PrintWindowText(stdout, SunTimesTable(year, city, twilight));
    return 0;
}
