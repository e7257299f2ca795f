// lumora-cli: the command-line face of the calendar.
//   lumora-cli                      today's card
//   lumora-cli call <Operation> ... one operation of the core
//   lumora-cli cities               the built-in places
//   lumora-cli records Y1 Y2        the lunar year records of Y1..Y2
//   lumora-cli convert DATE ...     a date in another calendar
//   lumora-cli day|month|terms|...  the calendar's views (see Commands)
// Global options before the command: --modern (modern astronomy for every
// date) and --chunjie (stem-branch years from the lunar New Year).
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "calendar_flags.h"
#include "call_operations.h"
#include "convert_command.h"
#include "lunar_year.h"
#include "commands.h"
#include "json_output.h"
#include "places.h"
#include "platform.h"
#include "terminal.h"

namespace {

const char Usage[] =
    "usage: lumora-cli                        today's card\n"
    "       lumora-cli call <Operation> <args...>\n"
    "       lumora-cli call --list            the operations and their arguments\n"
    "       lumora-cli cities                 the built-in places\n"
    "       lumora-cli records Y1 Y2          one line 'Y RECORD' per lunar year\n"
    "       lumora-cli convert YYYY-MM-DD [--from gregorian|lunar|hijri] --to lunar|hijri|gregorian\n"
    "       lumora-cli day [DATE]             the day card\n"
    "       lumora-cli month [YEAR MONTH]     the month sheet\n"
    "       lumora-cli terms|lunar-months|moons|sun YEAR   the yearly tables\n"
    "       lumora-cli julian|ganzhi DATE, interval DATE DATE|--days N   the converter\n"
    "       lumora-cli query months|days ...  the condition queries\n"
    "       lumora-cli export FROM TO [--tsv] one line per day\n"
    "       lumora-cli why DATE|--year Y [--tsv]  where a lunar month comes from\n"
    "       lumora-cli uncertain Y1 Y2        month starts and terms too close to midnight\n"
    "       lumora-cli speak [HH:MM] [--hour-only]  the speaking clock's clips\n"
    "       lumora-cli memorial|reminder|countdown ...  the stored days (COMMAND --help)\n"
    "       lumora-cli ics --from YEAR --years N [--terms] [--moons] [--festivals] [--seasons] [--stored]\n"
    "                                         an iCalendar file of the span's days\n"
    "       lumora-cli year [YEAR]            the twelve month sheets of a year\n"
    "       lumora-cli COMMAND --help         the options of a command\n"
    "       lumora-cli --version              the program's version\n"
    "--json after day, month, terms, lunar-months, moons, sun, convert or query: the answer as JSON\n"
    "dates: YYYY-MM-DD (astronomical years) or MM-DD-YYYY with --bc\n"
    "options before the command: --modern, --chunjie";

// The commands that show the calendar's views, by name.
struct Command {
    const char* name;
    int (*run)(const CommandArgs&);
};
const Command Commands[] = {
    {"day", DayCommand},       {"month", MonthCommand},     {"terms", TermsCommand},
    {"lunar-months", LunarMonthsCommand}, {"moons", MoonsCommand}, {"sun", SunCommand},
    {"julian", JulianCommand}, {"interval", IntervalCommand}, {"ganzhi", GanzhiCommand},
    {"export", ExportCommand}, {"query", QueryCommand}, {"settings", SettingsCommand},
    {"speak", SpeakCommand},   {"ics", IcsCommand},         {"year", YearCommand},
    {"why", WhyCommand}, {"uncertain", UncertainCommand},
    {"memorial", MemorialCommand}, {"reminder", ReminderCommand}, {"countdown", CountdownCommand},
};

int Cities()
{
    for (int32_t code = 1; code <= CityCount(); ++code) {
        const City& city = BuiltInCity(code);
        PrintLine(stdout, std::to_string(code) + " " + city.name + " " +
                              CoordinateText(city.longitude, LongitudeCoordinate) + " " +
                              CoordinateText(city.latitude, LatitudeCoordinate));
    }
    return 0;
}

bool ParseYear(const std::string& text, int32_t& year)
{
    char* end = nullptr;
    long v = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || v < FirstRecordYear || v > LastRecordYear) return false;
    year = int32_t(v);
    return true;
}

int Records(const std::vector<std::string>& args)
{
    int32_t first = 0, last = 0;
    if (args.size() != 3 || !ParseYear(args[1], first) || !ParseYear(args[2], last)) {
        PrintLine(stderr, "records: expected two years from " + std::to_string(FirstRecordYear) + " to " +
                              std::to_string(LastRecordYear));
        return 2;
    }
    for (int32_t y = first; y <= last; ++y) PrintLine(stdout, std::to_string(y) + " " + GetLunarYearRecord(y));
    return 0;
}

int ConvertDate(const std::vector<std::string>& args)
{
    if (!AreProgramText(args, 1)) return 2;
    ConvertResult result = Convert(CommandArgs(args.begin() + 1, args.end()));
    if (JsonOutput && result.status == 0) {
        std::string from = "gregorian", to;
        for (size_t i = 1; i + 1 < args.size(); ++i)
            if (args[i] == "--from" || args[i] == "--to") {
                std::string& option = args[i] == "--from" ? from : to;
                option = args[++i];
            }
        PrintJson(ConvertJson(from, to, result.lines));
        return 0;
    }
    for (const std::string& line : result.lines) PrintLine(result.status == 0 ? stdout : stderr, line);
    return result.status;
}

// The commands that answer in JSON with --json anywhere after their name.
bool TakeJsonOption(std::vector<std::string>& args)
{
    static const char* const jsonCommands[] = {"day", "month", "terms", "lunar-months", "moons", "sun", "convert", "query"};
    bool known = false;
    for (const char* name : jsonCommands) known = known || args[0] == name;
    if (!known) return false;
    bool found = false;
    for (size_t i = 1; i < args.size();) {
        if (args[i] == "--json") {
            args.erase(args.begin() + long(i));
            found = true;
        } else {
            ++i;
        }
    }
    return found;
}

int Call(const std::vector<std::string>& args)
{
    if (args.size() == 2 && args[1] == "--list") {
        PrintText(stdout, OperationList());
        return 0;
    }
    if (!AreProgramText(args, 1)) return 2;
    CallResult result = CallOperation(CommandArgs(args.begin() + 1, args.end()));
    PrintLine(result.status == 0 ? stdout : stderr, result.output);
    return result.status;
}

}  // namespace

int RunCli(int argc, char** argv)
{
    std::vector<std::string> args = ProgramArguments(argc, argv);
    while (!args.empty() && (args[0] == "--modern" || args[0] == "--chunjie")) {
        if (args[0] == "--modern") SetModernCalculateAncientFlag(1);
        else GanZhiFromChunjieFlag = 1;
        args.erase(args.begin());
    }
    if (args.empty()) return DayCommand({});  // today's day card
    if (args[0] == "--version" && args.size() == 1) {
        PrintLine(stdout, "lumora-cli " LUMORA_VERSION);
        return 0;
    }
    JsonOutput = TakeJsonOption(args);
    if (args[0] == "call") return Call(args);
    if (args[0] == "cities" && args.size() == 1) return Cities();
    if (args[0] == "records") return Records(args);
    if (args[0] == "convert") return ConvertDate(args);
    for (const Command& command : Commands)
        if (args[0] == command.name) return command.run(CommandArgs(args.begin() + 1, args.end()));
    if (args[0] == "--help" || args[0] == "-h") {
        PrintLine(stdout, Usage);
        return 0;
    }
    PrintLine(stderr, "lumora-cli: unknown command '" + args[0] + "'\n" + Usage);
    return 2;
}
