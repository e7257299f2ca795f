// lumora-cli query: the condition query tool's two searches, printed as the
// tool lists them. A progress line goes to standard error while searching
// when that is a terminal; Ctrl+C stops the search, prints what was found so
// far and ends with status 130.
#include <csignal>
#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <vector>
#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

#include "civil_calendar.h"
#include "commands.h"
#include "condition_query.h"
#include "date_bounds.h"
#include "json_output.h"
#include "platform.h"
#include "terminal.h"

namespace {

const char QueryUsage[] =
    "usage: lumora-cli query months --leap [MONTH] | --long3 | --short3 | --long4\n"
    "                               --from YEAR --years N [--bc]\n"
    "       lumora-cli query days CONDITION... --from YEAR --years N [--bc]\n"
    "  months: the leap months (only those after MONTH 1..12 when given), or the\n"
    "  groups of three long, three short or four long lunar months in a row;\n"
    "  YEAR is a lunar year. days: the civil days that meet every CONDITION:\n"
    "    --gmonth M --gday D      Gregorian month 1..12 and day 1..31\n"
    "    --lmonth M --lday D      lunar month 1..12, or L1..L12 (or 13..24) for the\n"
    "                             leap month after month 1..12; lunar day 1..30\n"
    "    --hmonth M --hday D      Hijri month 1..12 and day 1..30\n"
    "    --gz-year I --gz-month I --gz-day I\n"
    "                             stem-branch year, month and day: 1..60 (1 甲子,\n"
    "                             60 癸亥) or the name, e.g. 甲子\n"
    "    --weekday W              1..7 (1 星期一 .. 7 星期日) or the name, e.g. 星期日\n"
    "    --term N                 the day of solar term N: 1..24 (1 小寒 .. 24 冬至)\n"
    "                             or the name, e.g. 立春\n"
    "    --festival TEXT          the day's festivals contain TEXT, e.g. 复活节\n"
    "  YEAR is a Gregorian year. Years are astronomical (-103 is 104 BC), or with\n"
    "  --bc the year before the common era (104 is 104 BC). The span ends in 5000 at\n"
    "  the latest. Ctrl+C stops a search: what was found so far is printed and the\n"
    "  status is 130.";

volatile std::sig_atomic_t StopRequested = 0;

void RequestStop(int) { StopRequested = 1; }

int Refuse(const std::string& message)
{
    PrintLine(stderr, "query: " + message);
    return 2;
}

bool StderrIsTerminal() { return isatty(fileno(stderr)) != 0; }


// The progress line, rewritten in place; GBK bytes are terminal columns.
struct ProgressLine {
    bool shown = false;
    size_t width = 0;
    void Show(const QueryProgress& progress)
    {
        if (!progress.statusChanged) return;
        PrintText(stderr, "\r" + progress.statusLine);
        std::fflush(stderr);
        shown = true;
        width = progress.statusLine.size();
    }
    void Clear()
    {
        if (shown) PrintText(stderr, "\r" + std::string(width, ' ') + "\r");
        shown = false;
    }
};

// Runs a search with the progress line and Ctrl+C, then prints its result.
int RunSearch(const char* name, const std::function<QueryResult(const QueryHooks&)>& search)
{
    ProgressLine line;
    QueryHooks hooks;
    if (StderrIsTerminal()) hooks.progress = [&line](const QueryProgress& p) { line.Show(p); };
    hooks.stopRequested = [] { return StopRequested != 0; };
    StopRequested = 0;
    auto previous = std::signal(SIGINT, RequestStop);
    QueryResult result = search(hooks);
    std::signal(SIGINT, previous == SIG_ERR ? SIG_DFL : previous);
    line.Clear();
    if (JsonOutput) PrintJson(QueryJson(name, result));
    if (result.stopped) {
        if (!result.found.empty() && !JsonOutput) PrintWindowText(stdout, result.found);
        PrintLine(stderr, "query: stopped, " + std::to_string(result.count) + " found before the stop");
        return 130;
    }
    if (!JsonOutput) PrintWindowText(stdout, result.text);
    return 0;
}

// The option's value, or nullopt (after a message) when it is missing.
std::optional<std::string> ValueOf(const std::vector<std::string>& args, size_t& i)
{
    if (i + 1 >= args.size()) {
        Refuse(args[i] + " needs a value");
        return std::nullopt;
    }
    return args[++i];
}

// A number in lo..hi, or the position 1.. of text among names.
std::optional<int> NumberOrName(const std::string& text, int lo, int hi, const std::vector<std::string>& names)
{
    if (auto n = ParseWholeNumber(text, lo, hi)) return int(*n);
    for (size_t k = 0; k < names.size(); ++k)
        if (names[k] == text) return int(k) + 1;
    return std::nullopt;
}

// The lunar month code: 1..24, or L1..L12 for the leap month (13..24).
std::optional<int> LunarMonthCode(const std::string& text)
{
    if (!text.empty() && (text[0] == 'L' || text[0] == 'l')) {
        auto month = ParseWholeNumber(text.substr(1), 1, 12);
        return month ? std::optional<int>(int(*month) + 12) : std::nullopt;
    }
    auto code = ParseWholeNumber(text, 1, 24);
    return code ? std::optional<int>(int(*code)) : std::nullopt;
}

// The year span shared by both searches: --from, --years and --bc.
struct Span {
    std::optional<std::string> from, years;
    bool bc = false;
};

bool TakeSpanOption(const std::vector<std::string>& args, size_t& i, Span& span, bool& failed)
{
    const std::string& option = args[i];
    if (option == "--bc") {
        span.bc = true;
        return true;
    }
    if (option != "--from" && option != "--years") return false;
    auto value = ValueOf(args, i);
    if (!value) failed = true;
    (option == "--from" ? span.from : span.years) = value;
    return true;
}

// The start year and the number of years; false after a message.
bool ReadSpan(const Span& span, QueryMode mode, int32_t& firstYear, int32_t& years)
{
    auto fail = [](const std::string& message) {
        Refuse(message);
        return false;
    };
    if (!span.from || !span.years) return fail("give the span as --from YEAR --years N");
    long typed = 0;
    if (auto n = ParseWholeNumber(*span.from, span.bc ? 1 : -9999, 9999)) typed = *n;
    else return fail("bad start year '" + *span.from + "'");
    firstYear = int32_t(span.bc ? 1 - typed : typed);
    if (!IsQueryStartYear(mode, firstYear))
        return fail("the start year must lie from " + std::to_string(FirstQueryYear(mode)) + " to " +
                    std::to_string(ToolMaxYear));
    long count = 0;
    if (auto n = ParseWholeNumber(*span.years, 1, 100000)) count = *n;
    else return fail("bad number of years '" + *span.years + "' (a whole number from 1)");
    years = QueryYearsWithinTools(firstYear, int32_t(count));
    if (years < count)
        PrintLine(stderr, "query: the span is cut to end in " + std::to_string(int(ToolMaxYear)) + " (" +
                              std::to_string(int(years)) + " years)");
    return true;
}

int MonthsQuery(const std::vector<std::string>& args)
{
    MonthQuery query;
    Span span;
    int searches = 0;
    for (size_t i = 0; i < args.size(); ++i) {
        bool failed = false;
        if (TakeSpanOption(args, i, span, failed)) {
            if (failed) return 2;
        } else if (args[i] == "--leap") {
            query.search = MonthSearch::LeapMonths;
            ++searches;
            if (i + 1 < args.size() && args[i + 1].rfind("--", 0) != 0) {
                auto month = ParseWholeNumber(args[++i], 1, 12);
                if (!month) return Refuse("bad leap month '" + args[i] + "' (1..12)");
                query.leapMonth = int(*month);
            }
        } else if (args[i] == "--long3" || args[i] == "--short3" || args[i] == "--long4") {
            query.search = args[i] == "--long3"    ? MonthSearch::ThreeLong
                           : args[i] == "--short3" ? MonthSearch::ThreeShort
                                                   : MonthSearch::FourLong;
            ++searches;
        } else {
            return Refuse("unknown option '" + args[i] + "' (see query --help)");
        }
    }
    if (searches != 1) return Refuse("choose one of --leap, --long3, --short3, --long4");
    if (!ReadSpan(span, QueryMode::Months, query.firstYear, query.years)) return 2;
    return RunSearch("months", [&query](const QueryHooks& hooks) { return SearchConditionMonths(query, hooks); });
}

int DaysQuery(const std::vector<std::string>& args)
{
    DayQuery query;
    Span span;
    struct NumberOption {
        const char* name;
        int* value;
        int lo, hi;
        const std::vector<std::string>* names;
    };
    const std::vector<std::string> cycleNames = DayCriterionNames(DayCriterion::YearCycle), none;
    const NumberOption numbers[] = {
        {"--gmonth", &query.gregorianMonth, 1, 12, &none},  {"--gday", &query.gregorianDay, 1, 31, &none},
        {"--lday", &query.lunarDay, 1, 30, &none},          {"--hmonth", &query.hijriMonth, 1, 12, &none},
        {"--hday", &query.hijriDay, 1, 30, &none},          {"--gz-year", &query.yearCycle, 1, 60, &cycleNames},
        {"--gz-month", &query.monthCycle, 1, 60, &cycleNames}, {"--gz-day", &query.dayCycle, 1, 60, &cycleNames},
    };
    for (size_t i = 0; i < args.size(); ++i) {
        bool failed = false;
        if (TakeSpanOption(args, i, span, failed)) {
            if (failed) return 2;
            continue;
        }
        const std::string option = args[i];
        const NumberOption* number = nullptr;
        for (const NumberOption& n : numbers)
            if (option == n.name) number = &n;
        bool known = number || option == "--lmonth" || option == "--weekday" || option == "--term" ||
                     option == "--festival";
        if (!known) return Refuse("unknown option '" + option + "' (see query --help)");
        auto value = ValueOf(args, i);
        if (!value) return 2;
        std::string bad = "bad value '" + *value + "' for " + option + " (see query --help)";
        if (number) {
            auto n = NumberOrName(*value, number->lo, number->hi, *number->names);
            if (!n) return Refuse(bad);
            *number->value = *n;
        } else if (option == "--lmonth") {
            auto code = LunarMonthCode(*value);
            if (!code) return Refuse(bad);
            query.lunarMonth = *code;
        } else if (option == "--weekday") {
            auto names = DayCriterionNames(DayCriterion::Weekday);
            auto k = NumberOrName(*value, 1, 7, names);
            if (!k) return Refuse(bad);
            query.weekday = names[size_t(*k - 1)];
        } else if (option == "--term") {
            auto names = DayCriterionNames(DayCriterion::Term);
            auto k = NumberOrName(*value, 1, 24, names);
            if (!k) return Refuse(bad);
            query.term = names[size_t(*k - 1)];
        } else {
            query.festival = *value;
        }
    }
    if (!HasAnyCriterion(query)) return Refuse("give at least one condition (see query --help)");
    if (!ReadSpan(span, QueryMode::Days, query.firstYear, query.years)) return 2;
    return RunSearch("days", [&query](const QueryHooks& hooks) { return SearchConditionDays(query, hooks); });
}

}  // namespace

int QueryCommand(const CommandArgs& args)
{
    if (args.empty()) return Refuse("expected months or days (see query --help)");
    for (const std::string& arg : args)
        if (arg == "--help" || arg == "-h") {
            PrintLine(stdout, QueryUsage);
            return 0;
        }
    // Names (甲子, 立春, 复活节) are compared as program text.
    if (!AreProgramText(args, 1)) return 2;
    CommandArgs words(args.begin() + 1, args.end());
    if (args[0] == "months") return MonthsQuery(words);
    if (args[0] == "days") return DaysQuery(words);
    return Refuse("unknown search '" + args[0] + "' (expected months or days)");
}
