// The conversion tool's results on the command line (julian, interval,
// ganzhi) and the day export. Dates are civil dates as ParseDateArgument
// reads them; each goes through the tool's own date field, so the command
// accepts exactly the days the tool accepts.
#include <cstdio>
#include <string>

#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>
#endif

#include "commands.h"
#include "converter.h"
#include "date_bounds.h"
#include "date_text.h"
#include "platform.h"
#include "terminal.h"

namespace {

const char DateForms[] = "DATE is YYYY-MM-DD (astronomical year, -0103-02-01 is 104 BC),\n"
                         "or MM-DD-YYYY; with --bc every MM-DD-YYYY date lies before year 1.";

// The words of a command: its dates in order and the options it knows.
struct Words {
    std::vector<std::string> dates;
    bool bc = false, tsv = false, help = false;
    std::string days, to;
    bool hasDays = false, hasTo = false;
};

int Refuse(const char* command, const std::string& message)
{
    PrintLine(stderr, std::string(command) + ": " + message);
    return 2;
}

// Splits args into dates and options; false (after a message) on an option
// the command does not take or one without its value.
bool ReadWords(const char* command, const CommandArgs& args, bool takesDays, bool takesTsv, Words& words)
{
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& word = args[i];
        if (word == "--help" || word == "-h") words.help = true;
        else if (word == "--bc") words.bc = true;
        else if (word == "--tsv" && takesTsv) words.tsv = true;
        else if ((word == "--days" || word == "--to") && takesDays) {
            if (i + 1 == args.size()) {
                Refuse(command, word + " needs a value");
                return false;
            }
            (word == "--days" ? words.hasDays : words.hasTo) = true;
            (word == "--days" ? words.days : words.to) = args[++i];
        } else if (word.size() > 2 && word.compare(0, 2, "--") == 0) {
            Refuse(command, "unknown option '" + word + "' (see " + command + " --help)");
            return false;
        } else
            words.dates.push_back(word);
    }
    return true;
}

// The tool's date field holding a typed date; nullopt (after a message)
// when the text is no date or the day lies outside the tools' span.
std::optional<DateField> ReadDate(const char* command, const std::string& text, bool bc)
{
    std::optional<CalendarDate> date = ParseDateArgument(text, bc);
    if (!date) {
        Refuse(command, "'" + text + "' is not a date; " + (bc ? "with --bc dates are MM-DD-YYYY" : "dates are YYYY-MM-DD or MM-DD-YYYY"));
        return std::nullopt;
    }
    DateField field = InitialDateField(*date);
    if (ReadDateField(field) == NoDayNumber) {
        Refuse(command, "'" + text + "' lies outside the years " + std::to_string(MinShownYear) + ".." +
                            std::to_string(ToolMaxYear) + " that the tools accept");
        return std::nullopt;
    }
    return field;
}

int Usage(const char* usage)
{
    PrintLine(stdout, std::string(usage) + "\n" + DateForms);
    return 0;
}

}  // namespace

int JulianCommand(const CommandArgs& args)
{
    const char usage[] = "usage: lumora-cli julian DATE [--bc]   the Julian day number of the date";
    Words words;
    if (!ReadWords("julian", args, false, false, words)) return 2;
    if (words.help) return Usage(usage);
    if (words.dates.size() != 1) return Refuse("julian", "expected one date (see julian --help)");
    std::optional<DateField> date = ReadDate("julian", words.dates[0], words.bc);
    if (!date) return 2;
    PrintLine(stdout, JulianDayAction({*date, {}, ""}).result);
    return 0;
}

int IntervalCommand(const CommandArgs& args)
{
    const char usage[] =
        "usage: lumora-cli interval DATE DATE [--bc]   the days from the first date to the second\n"
        "       lumora-cli interval DATE --days N [--to gregorian|lunar|hijri] [--bc]\n"
        "                                      the date N days later (N < 0: earlier)";
    Words words;
    if (!ReadWords("interval", args, true, false, words)) return 2;
    if (words.help) return Usage(usage);
    if (words.dates.size() != (words.hasDays ? 1u : 2u) || (words.hasTo && !words.hasDays))
        return Refuse("interval", "expected two dates, or one date and --days N (see interval --help)");
    std::optional<DateField> first = ReadDate("interval", words.dates[0], words.bc);
    if (!first) return 2;
    if (!words.hasDays) {
        std::optional<DateField> second = ReadDate("interval", words.dates[1], words.bc);
        if (!second) return 2;
        PrintLine(stdout, IntervalAction({*first, *second, ""}).result);
        return 0;
    }
    DateField second;
    if (!words.hasTo || words.to == "gregorian") second.calendar = FieldCalendar::Gregorian;
    else if (words.to == "lunar") second.calendar = FieldCalendar::Lunar;
    else if (words.to == "hijri") second.calendar = FieldCalendar::Hijri;
    else return Refuse("interval", "--to takes gregorian, lunar or hijri, not '" + words.to + "'");
    if (!ReadIntervalDays(words.days))
        return Refuse("interval", "--days takes a whole number of days, '-' only in front, not '" + words.days + "'");
    std::string result = IntervalDateAction({*first, second, words.days}).second.text;
    if (result.empty())
        return Refuse("interval", words.days + " days from " + words.dates[0] + " lie outside the years " +
                                      std::to_string(MinShownYear) + ".." + std::to_string(ToolMaxYear));
    PrintLine(stdout, result);
    return 0;
}

int GanzhiCommand(const CommandArgs& args)
{
    const char usage[] = "usage: lumora-cli [--chunjie] ganzhi DATE [--bc]   the stem-branch year, month and day";
    Words words;
    if (!ReadWords("ganzhi", args, false, false, words)) return 2;
    if (words.help) return Usage(usage);
    if (words.dates.size() != 1) return Refuse("ganzhi", "expected one date (see ganzhi --help)");
    std::optional<DateField> date = ReadDate("ganzhi", words.dates[0], words.bc);
    if (!date) return 2;
    std::string text = StemBranchAction({*date, {}, ""}).result;
    if (text.empty()) return Refuse("ganzhi", "no stem-branch text for " + words.dates[0]);
    PrintLine(stdout, text);
    return 0;
}

namespace {

// The export lines of days first..last written to `out`, converted to UTF-8
// a few thousand lines at a time: one conversion per line would cost more
// than the calendar itself. False when a write failed.
bool WriteExportLines(FILE* out, int32_t first, int32_t last, char separator)
{
    std::string pending;
    auto flush = [&] {
        PrintText(out, pending);
        pending.clear();
    };
    ExportDayLines(first, last, separator, [&](const std::string& line) {
        pending += line;
        pending += '\n';
        if (pending.size() > (1 << 16)) flush();
    });
    flush();
    return std::fflush(out) == 0 && !std::ferror(out);
}

// The export lines printed. A long span is made in two halves side by side
// where processes can be forked: a child writes the later half into a
// temporary file while this process prints the earlier one, and the file
// follows. Each half has caches of its own, and no cache changes a line, so
// the lines are those of a single pass.
bool WriteExport(int32_t first, int32_t last, char separator)
{
#ifndef _WIN32
    constexpr int32_t HalvedFrom = 8192;  // days; below, a fork costs more than it saves
    FILE* later = last - int64_t(first) >= HalvedFrom ? std::tmpfile() : nullptr;
    if (later && std::fflush(stdout) == 0) {
        int32_t middle = first + (last - first) / 2;
        pid_t child = fork();
        if (child == 0) _exit(WriteExportLines(later, middle + 1, last, separator) ? 0 : 1);
        if (child > 0) {
            bool ok = WriteExportLines(stdout, first, middle, separator);
            int status = 0;
            ok = waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0 && ok;
            std::rewind(later);
            char buffer[1 << 16];
            for (size_t n; ok && (n = std::fread(buffer, 1, sizeof buffer, later)) > 0;)
                ok = std::fwrite(buffer, 1, n, stdout) == n;
            ok = ok && !std::ferror(later) && std::fflush(stdout) == 0;
            std::fclose(later);
            return ok;
        }
    }
    if (later) std::fclose(later);
#endif
    return WriteExportLines(stdout, first, last, separator);
}

}  // namespace

int ExportCommand(const CommandArgs& args)
{
    const char usage[] =
        "usage: lumora-cli [--modern] [--chunjie] export FROM TO [--tsv] [--bc]\n"
        "  one line per day FROM..TO: ISO date, Gregorian, lunar and Hijri texts, stem-branch text,\n"
        "  weekday, festivals, solar term; separated by a blank, or by a TAB with --tsv";
    Words words;
    if (!ReadWords("export", args, false, true, words)) return 2;
    if (words.help) return Usage(usage);
    if (words.dates.size() != 2) return Refuse("export", "expected the dates FROM and TO (see export --help)");
    std::optional<DateField> from = ReadDate("export", words.dates[0], words.bc);
    if (!from) return 2;
    std::optional<DateField> to = ReadDate("export", words.dates[1], words.bc);
    if (!to) return 2;
    int32_t first = ReadDateField(*from), last = ReadDateField(*to);
    if (first > last) return Refuse("export", "FROM must not be later than TO");

    bool written = WriteExport(first, last, words.tsv ? '\t' : ' ');
    return written ? 0 : Refuse("export", "could not write the lines");
}
