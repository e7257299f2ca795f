// lumora-cli: the command-line face of the calendar.
//   lumora-cli                      today's card
//   lumora-cli call <Operation> ... one operation of the core
//   lumora-cli cities               the built-in places
//   lumora-cli records Y1 Y2        the lunar year records of Y1..Y2
//   lumora-cli convert DATE ...     a date in another calendar
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
#include "today_card.h"
#include "places.h"
#include "platform.h"

namespace {

// Texts inside the program are GBK; the terminal speaks UTF-8.
void PrintLine(FILE* stream, const std::string& gbk)
{
    std::string text = GbkToUtf8(gbk).value_or(gbk);
    std::fwrite(text.data(), 1, text.size(), stream);
    std::fputc('\n', stream);
}

const char Usage[] =
    "usage: lumora-cli                        today's card\n"
    "       lumora-cli call <Operation> <args...>\n"
    "       lumora-cli call --list            the operations and their arguments\n"
    "       lumora-cli cities                 the built-in places\n"
    "       lumora-cli records Y1 Y2          one line 'Y RECORD' per lunar year\n"
    "       lumora-cli convert YYYY-MM-DD [--from gregorian|lunar|hijri] --to lunar|hijri|gregorian\n"
    "options before the command: --modern, --chunjie";

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
        std::fprintf(stderr, "records: expected two years from %d to %d\n", FirstRecordYear, LastRecordYear);
        return 2;
    }
    for (int32_t y = first; y <= last; ++y) std::printf("%d %s\n", y, GetLunarYearRecord(y).c_str());
    return 0;
}

// Texts typed on the command line are UTF-8; the core speaks GBK.
bool ArgumentsToGbk(const std::vector<std::string>& args, size_t from, std::vector<std::string>& gbkArgs)
{
    for (size_t i = from; i < args.size(); ++i) {
        auto gbk = Utf8ToGbk(args[i]);
        if (!gbk) {
            std::fprintf(stderr, "argument %zu is not valid UTF-8 text of code page 936\n", i);
            return false;
        }
        gbkArgs.push_back(*gbk);
    }
    return true;
}

int ConvertDate(const std::vector<std::string>& args)
{
    std::vector<std::string> gbkArgs;
    if (!ArgumentsToGbk(args, 1, gbkArgs)) return 2;
    ConvertResult result = Convert(gbkArgs);
    for (const std::string& line : result.lines) PrintLine(result.status == 0 ? stdout : stderr, line);
    return result.status;
}

int Call(const std::vector<std::string>& args)
{
    if (args.size() == 2 && args[1] == "--list") {
        std::fputs(OperationList().c_str(), stdout);
        return 0;
    }
    std::vector<std::string> gbkArgs;
    if (!ArgumentsToGbk(args, 1, gbkArgs)) return 2;
    CallResult result = CallOperation(gbkArgs);
    PrintLine(result.status == 0 ? stdout : stderr, result.output);
    return result.status;
}

}  // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> args = Utf8Arguments(argc, argv);
    while (!args.empty() && (args[0] == "--modern" || args[0] == "--chunjie")) {
        if (args[0] == "--modern") SetModernCalculateAncientFlag(1);
        else GanZhiFromChunjieFlag = 1;
        args.erase(args.begin());
    }
    if (args.empty()) {
        for (const std::string& line : TodayCard(LocalNow())) PrintLine(stdout, line);
        return 0;
    }
    if (args[0] == "call") return Call(args);
    if (args[0] == "cities" && args.size() == 1) return Cities();
    if (args[0] == "records") return Records(args);
    if (args[0] == "convert") return ConvertDate(args);
    if (args[0] == "--help" || args[0] == "-h") {
        std::puts(Usage);
        return 0;
    }
    std::fprintf(stderr, "lumora-cli: unknown command '%s'\n%s\n", args[0].c_str(), Usage);
    return 2;
}
