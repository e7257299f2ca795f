#include "terminal.h"

#include <algorithm>
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

namespace {

// The arguments kept as typed, since code page 936 cannot write them.
std::vector<std::string>& ForeignArguments()
{
    static std::vector<std::string> foreign;
    return foreign;
}

bool IsForeign(const std::string& arg)
{
    for (const std::string& foreign : ForeignArguments())
        if (arg == foreign) return true;
    return false;
}

// Program text in UTF-8; where it quotes an argument kept as typed, that
// part stands as it is.
std::string TerminalText(const std::string& gbk)
{
    for (const std::string& foreign : ForeignArguments()) {
        size_t at = foreign.empty() ? std::string::npos : gbk.find(foreign);
        if (at != std::string::npos)
            return TerminalText(gbk.substr(0, at)) + foreign + TerminalText(gbk.substr(at + foreign.size()));
    }
    return GbkToUtf8(gbk).value_or(gbk);
}

}  // namespace

std::vector<std::string> ProgramArguments(int argc, char** argv)
{
    std::vector<std::string> args = Utf8Arguments(argc, argv);
    ForeignArguments().clear();
    for (std::string& arg : args) {
        if (auto gbk = Utf8ToGbk(arg)) arg = *gbk;
        else ForeignArguments().push_back(arg);
    }
    return args;
}

bool AreProgramText(const std::vector<std::string>& args, size_t from)
{
    for (size_t i = from; i < args.size(); ++i) {
        if (IsForeign(args[i])) {
            PrintLine(stderr, "argument " + std::to_string(i) + " is not valid UTF-8 text of code page 936");
            return false;
        }
    }
    return true;
}

void PrintUtf8(FILE* stream, const std::string& utf8) { std::fwrite(utf8.data(), 1, utf8.size(), stream); }

void PrintText(FILE* stream, const std::string& gbk) { PrintUtf8(stream, TerminalText(gbk)); }

void PrintLine(FILE* stream, const std::string& gbk)
{
    PrintText(stream, gbk);
    std::fputc('\n', stream);
}

void PrintWindowText(FILE* stream, const std::string& gbk)
{
    // A quoted argument kept as typed is looked for line by line.
    if (!ForeignArguments().empty()) {
        for (const std::string& line : WindowLines(gbk)) PrintLine(stream, line);
        return;
    }
    // The lines go out in pieces of some 64 KB that end with a line, each
    // converted at once with its "\r\n" as "\n": a query lists millions of
    // lines. A piece that does not convert goes line by line, as any text.
    // The last line's "\n" comes at the end.
    const size_t pieceBytes = 1 << 16;
    std::string piece;
    for (size_t start = 0; start < gbk.size();) {
        size_t end = gbk.size() - start <= pieceBytes ? std::string::npos : gbk.find("\r\n", start + pieceBytes);
        end = end == std::string::npos ? gbk.size() : end + 2;
        auto eachLine = [&](auto f) {
            for (size_t at = start; at < end;) {
                size_t lineEnd = std::min(gbk.find("\r\n", at), end);
                f(at, lineEnd - at, lineEnd < end);
                at = lineEnd + 2;
            }
        };
        piece.clear();
        eachLine([&](size_t at, size_t length, bool broken) {
            piece.append(gbk, at, length);
            if (broken) piece += '\n';
        });
        if (auto utf8 = GbkToUtf8(piece)) {
            PrintUtf8(stream, *utf8);
        } else {
            eachLine([&](size_t at, size_t length, bool broken) {
                PrintText(stream, gbk.substr(at, length));
                if (broken) std::fputc('\n', stream);
            });
        }
        start = end;
    }
    std::fputc('\n', stream);
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
