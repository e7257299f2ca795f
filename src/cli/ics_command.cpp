// lumora-cli ics: the terms, moons, festivals, seasonal periods and stored
// days of a span of years as one iCalendar file on standard output.
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "calendar_events.h"
#include "commands.h"
#include "date_bounds.h"
#include "icalendar.h"
#include "settings.h"
#include "terminal.h"

namespace {

const char IcsUsage[] =
    "usage: lumora-cli ics [--from YEAR] [--years N] [--terms] [--moons] [--festivals] [--seasons]\n"
    "                      [--stored] [--all-festivals]\n"
    "  an iCalendar file (RFC 5545) of N years (1..100, default 1) from YEAR (default this year) on\n"
    "  standard output: solar terms and new and full moons at their moments (in UTC),\n"
    "  festivals, the first days of the nine-nines, dog days and plum rain, and the stored\n"
    "  memorial, reminder and countdown days (with registry use on) as all-day events;\n"
    "  without a kind every kind; --all-festivals adds the commemorative days.\n"
    "  YEAR: 1583..4103 (the Gregorian calendar, which iCalendar dates follow).\n"
    "  SOURCE_DATE_EPOCH, when set, gives the DTSTAMP instead of the clock.\n";

// The first whole year of the Gregorian calendar.
constexpr int32_t FirstIcsYear = 1583;
// A century is some ten thousand events, about what a calendar imports.
constexpr int32_t MaxIcsYears = 100;

int Refuse(const std::string& message)
{
    PrintLine(stderr, "ics: " + message);
    return 2;
}

// Now in UTC, or the moment SOURCE_DATE_EPOCH names, for output that a
// build or a test can reproduce.
UtcTime StampTime()
{
    std::time_t now = std::time(nullptr);
    // Seconds since 1970 up to the end of 9999; long has 32 bits on Windows.
    const char* epoch = std::getenv("SOURCE_DATE_EPOCH");
    std::string digits = epoch ? epoch : "";
    if (!digits.empty() && digits.size() <= 12 && digits.find_first_not_of("0123456789") == std::string::npos &&
        std::strtoll(digits.c_str(), nullptr, 10) <= 253402300799LL)
        now = std::time_t(std::strtoll(digits.c_str(), nullptr, 10));
    int64_t seconds = int64_t(now);
    int64_t days = seconds / 86400, rest = seconds % 86400;
    // 1970-01-01 is day number 2440588.
    CalendarDate date = DayNumberToDate(int32_t(2440588 + days)).value_or(CalendarDate{1970, 1, 1});
    return {date, int(rest / 3600), int(rest / 60 % 60), int(rest % 60)};
}

}  // namespace

int IcsCommand(const CommandArgs& args)
{
    LoadStoredSettings();  // registry use and the approximate locating of memorials
    int32_t from = Today().year;
    int32_t years = 1;
    EventSelection selection;
    EventSelection chosen{false, false, false, false, false, false};
    bool anyKind = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        bool* kind = arg == "--terms"       ? &chosen.terms
                     : arg == "--moons"     ? &chosen.moons
                     : arg == "--festivals" ? &chosen.festivals
                     : arg == "--seasons"   ? &chosen.seasons
                     : arg == "--stored"    ? &chosen.stored
                                            : nullptr;
        if (arg == "--help" || arg == "-h") {
            PrintText(stdout, IcsUsage);
            return 0;
        } else if (kind) {
            *kind = true;
            anyKind = true;
        } else if (arg == "--all-festivals") {
            chosen.allFestivals = selection.allFestivals = true;
        } else if ((arg == "--from" || arg == "--years") && i + 1 < args.size()) {
            const std::string& value = args[++i];
            auto number = arg == "--from" ? ParseWholeNumber(value, FirstIcsYear, MaxShownYear)
                                          : ParseWholeNumber(value, 1, MaxIcsYears);
            if (!number)
                return Refuse("'" + value + "' is no " +
                              (arg == "--from" ? "year from " + std::to_string(FirstIcsYear) + " to " +
                                                     std::to_string(MaxShownYear)
                                               : std::string("number of years from 1 to " + std::to_string(MaxIcsYears))));
            (arg == "--from" ? from : years) = int32_t(*number);
        } else {
            return Refuse("unexpected argument '" + arg + "' (see lumora-cli ics --help)");
        }
    }
    if (from < FirstIcsYear || from > MaxShownYear)
        return Refuse("the years run from " + std::to_string(FirstIcsYear) + " to " + std::to_string(MaxShownYear));
    if (int64_t(from) + years - 1 > MaxShownYear)
        return Refuse("the span ends after " + std::to_string(MaxShownYear));
    if (anyKind) selection = chosen;

    std::string file = ICalendarOfEvents(CalendarEventsOfYears(from, years, selection), StampTime());
#ifdef _WIN32
    // The file's own CRLF line ends, untouched by the C runtime.
    std::fflush(stdout);
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    PrintUtf8(stdout, file);
    return std::fflush(stdout) == 0 ? 0 : 1;
}
