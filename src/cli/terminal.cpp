#include "terminal.h"

#include <cerrno>
#include <cstdlib>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

#include "date_text.h"
#include "platform.h"
#include "window_lines.h"

void PrintLine(FILE* stream, const std::string& gbk)
{
    std::string text = GbkToUtf8(gbk).value_or(gbk);
    std::fwrite(text.data(), 1, text.size(), stream);
    std::fputc('\n', stream);
}

void PrintWindowText(FILE* stream, const std::string& gbk)
{
    for (const std::string& line : WindowLines(gbk)) PrintLine(stream, line);
}

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

std::optional<CalendarDate> ParseDateArgument(const std::string& text, bool bc)
{
    long year, month, day;
    if (bc || (text.size() >= 5 && text[2] == '-' && text.find('-', 3) == 5)) {
        // MM-DD-YYYY, the typed form of the program's date fields.
        std::string normal = NormaliseTypedDate(text);
        if (normal.empty()) return std::nullopt;
        month = std::atol(normal.substr(0, 2).c_str());
        day = std::atol(normal.substr(3, 2).c_str());
        year = std::atol(normal.substr(6).c_str());
        if (bc) year = 1 - year;
    } else {
        bool negative = !text.empty() && text[0] == '-';
        std::string rest = negative ? text.substr(1) : text;
        size_t d1 = rest.find('-'), d2 = d1 == std::string::npos ? d1 : rest.find('-', d1 + 1);
        if (d2 == std::string::npos) return std::nullopt;
        auto y = ParseWholeNumber(rest.substr(0, d1), 0, 99999);
        auto m = ParseWholeNumber(rest.substr(d1 + 1, d2 - d1 - 1), 1, 12);
        auto d = ParseWholeNumber(rest.substr(d2 + 1), 1, 31);
        if (!y || !m || !d || rest.substr(0, d1).find_first_of("+-") != std::string::npos) return std::nullopt;
        year = negative ? -*y : *y;
        month = *m;
        day = *d;
    }
    if (!IsValidDate(int32_t(year), int(month), int(day))) return std::nullopt;
    return CalendarDate{int32_t(year), int(month), int(day)};
}

CalendarDate Today()
{
    LocalDateTime now = LocalNow();
    return {now.year, now.month, now.day};
}

bool StdoutIsTerminal() { return isatty(fileno(stdout)) != 0; }
