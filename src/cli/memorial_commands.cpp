// lumora-cli memorial, reminder and countdown: the stored days, listed and
// changed as the memorial editor does it: load the kind's list, apply one
// add or delete, save the whole kind.
#include <cstdio>
#include <optional>
#include <string>

#include "commands.h"
#include "memorial_editor.h"
#include "settings.h"
#include "stored_days.h"
#include "terminal.h"

namespace {

const char MemorialUsage[] =
    "usage: lumora-cli memorial add DATE TEXT [--calendar gregorian|lunar|hijri] [--audio PATH]\n"
    "       lumora-cli memorial delete MM-DD [--calendar gregorian|lunar|hijri]\n"
    "       lumora-cli memorial list\n"
    "  memorial days recur every year on their month and day from their first year on;\n"
    "  DATE is YYYY-MM-DD of the first year in the chosen calendar (default gregorian),\n"
    "  a lunar leap month written as month + 12 (2020-16-02 is the 2nd of the leap 4th);\n"
    "  one memorial per month and day of each calendar, a new one replaces the old";
const char ReminderUsage[] =
    "usage: lumora-cli reminder add DATE TEXT [--calendar gregorian|lunar|hijri] [--audio PATH]\n"
    "       lumora-cli reminder delete YYYY-MM-DD\n"
    "       lumora-cli reminder list\n"
    "  up to 20 single days from 1800 to 2200; a lunar or Hijri DATE is stored as its\n"
    "  Gregorian day; one reminder per day, a new one replaces the old";
const char CountdownUsage[] =
    "usage: lumora-cli countdown set DATE TEXT [--calendar gregorian|lunar|hijri]\n"
    "       lumora-cli countdown show\n"
    "       lumora-cli countdown clear\n"
    "  one day from 1800 to 2200 whose approach the calendar counts down in the\n"
    "  1000 days before it; a new one replaces the old";

struct Request {
    std::vector<std::string> words;  // the subcommand and its positional words, GBK
    MemorialCalendar calendar = MemorialCalendar::Gregorian;
    bool calendarGiven = false;
    std::string audio;
    bool audioGiven = false;
    bool help = false;
};

int Refuse(const std::string& command, const std::string& message)
{
    PrintLine(stderr, command + ": " + message);
    return 2;
}

// The words and options after the command's name; the message of what is
// wrong in error otherwise.
std::optional<Request> ReadRequest(const CommandArgs& args, std::string& error)
{
    if (!AreProgramText(args, 0)) {
        error = "an argument is not text of code page 936";
        return std::nullopt;
    }
    Request request;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& word = args[i];
        if (word == "--help") {
            request.help = true;
        } else if (word == "--calendar" || word == "--audio") {
            if (i + 1 >= args.size()) {
                error = word + " needs a value";
                return std::nullopt;
            }
            const std::string& value = args[++i];
            if (word == "--audio") {
                request.audio = value;
                request.audioGiven = true;
                continue;
            }
            request.calendarGiven = true;
            if (value == "gregorian") request.calendar = MemorialCalendar::Gregorian;
            else if (value == "lunar") request.calendar = MemorialCalendar::Lunar;
            else if (value == "hijri") request.calendar = MemorialCalendar::Hijri;
            else {
                error = "--calendar takes gregorian, lunar or hijri";
                return std::nullopt;
            }
        } else if (word.size() > 1 && word[0] == '-' && word[1] == '-') {
            error = "unknown option '" + word + "'";
            return std::nullopt;
        } else {
            request.words.push_back(word);
        }
    }
    return request;
}

// "Y-M-D" or "M-D" as numbers; nullopt unless every part is a plain number.
std::optional<std::vector<long>> DateNumbers(const std::string& text, size_t parts)
{
    std::vector<long> numbers;
    size_t start = 0;
    while (numbers.size() < parts) {
        size_t end = text.find('-', start);
        bool last = numbers.size() + 1 == parts;
        if (last != (end == std::string::npos)) return std::nullopt;
        auto number = ParseWholeNumber(text.substr(start, last ? std::string::npos : end - start), 0, 99999);
        if (!number || text[start] == '+') return std::nullopt;
        numbers.push_back(*number);
        start = end + 1;
    }
    return numbers;
}

const char* CalendarName(MemorialCalendar calendar)
{
    switch (calendar) {
    case MemorialCalendar::Gregorian: return "Gregorian";
    case MemorialCalendar::Lunar: return "lunar";
    case MemorialCalendar::Hijri: return "Hijri";
    }
    return "";
}

// A control character would end or break the text where the window's
// one-line boxes cannot hold it.
bool HasControlCharacter(const std::string& text)
{
    for (unsigned char c : text)
        if (c < 0x20 || c == 0x7F) return true;
    return false;
}

// Changes need registry use: the stored days live in the registry alone and
// are deleted when it is switched off.
bool RefuseWithoutRegistry(const std::string& command, int& status)
{
    if (UseRegistry == 1) return false;
    status = Refuse(command, "registry use is off, so no stored day can be changed (the stored days exist only "
                             "while the program may use the registry)");
    return true;
}

int ListLines(EditorMode mode)
{
    for (const std::string& line : LoadEditorList(mode)) PrintLine(stdout, line);
    return 0;
}

// add DATE TEXT: the editor's add button, then its save button.
int Add(const std::string& command, EditorMode mode, const Request& request)
{
    if (request.words.size() != 3) return Refuse(command, "expected a date and a text; see " + command + " --help");
    const std::string& dateText = request.words[1];
    const std::string& text = request.words[2];
    auto numbers = DateNumbers(dateText, 3);
    if (!numbers) return Refuse(command, "'" + dateText + "' is no date of the form YYYY-MM-DD");
    if (HasControlCharacter(text)) return Refuse(command, "the text must be one line without control characters");
    std::string audio;
    if (request.audioGiven) {
        if (mode == EditorMode::Countdown) return Refuse(command, "a countdown carries no audio file");
        if (!IsValidAudioPath(request.audio))
            return Refuse(command, "'" + request.audio + "' is no audio file: a path X:\\... of an existing MID, "
                                   "MP3, WAV or WMA file");
        audio = request.audio;
    }
    int status = 0;
    if (RefuseWithoutRegistry(command, status)) return status;

    EditorList list = LoadEditorList(mode);
    const std::vector<long>& n = *numbers;
    // Whole numbers beyond int range are out of every calendar's range anyway.
    AddResult result = AddEditorEntry(list, mode, request.calendar, int32_t(n[0]), int(n[1]), int(n[2]), text, audio);
    switch (result.outcome) {
    case AddOutcome::Added: break;
    case AddOutcome::NoSuchDate:
        return Refuse(command, "'" + dateText + "' is no date of the " + CalendarName(request.calendar) + " calendar");
    case AddOutcome::YearOutOfRange: {
        YearRange range = MemorialYearRange(request.calendar);
        std::string years = mode == EditorMode::Memorial || request.calendar == MemorialCalendar::Gregorian
                                ? std::string("the ") + CalendarName(request.calendar) + " years " +
                                      std::to_string(range.first) + " to " + std::to_string(range.last)
                                : "the days from 1800-01-01 to 2200-12-31";
        return Refuse(command, "'" + dateText + "' lies outside " + years);
    }
    case AddOutcome::EmptyText: return Refuse(command, "the text is empty");
    case AddOutcome::ListFull:
        return Refuse(command, "the list is full: at most 20 reminders are kept; delete one first");
    }
    SaveEditorList(mode, list);
    PrintLine(stdout, list[size_t(result.selected)]);
    return 0;
}

// delete: the editor's delete button on the line with the key, then save.
int DeleteLine(const std::string& command, EditorMode mode, const std::string& key, const std::string& what)
{
    int status = 0;
    if (RefuseWithoutRegistry(command, status)) return status;
    EditorList list = LoadEditorList(mode);
    if (!DeleteEditorLine(list, FindEditorLine(list, key))) return Refuse(command, "no " + what + " is stored");
    SaveEditorList(mode, list);
    return 0;
}

int RefuseUsage(const std::string& command, const char* usage)
{
    return Refuse(command, std::string("expected one of the forms below\n") + usage);
}

}  // namespace

int MemorialCommand(const CommandArgs& args)
{
    const std::string command = "memorial";
    LoadStoredSettings();
    std::string error;
    auto request = ReadRequest(args, error);
    if (!request) return Refuse(command, error);
    if (request->help) {
        PrintLine(stdout, MemorialUsage);
        return 0;
    }
    const std::vector<std::string>& words = request->words;
    std::string verb = words.empty() ? "" : words[0];
    if (verb == "list" && words.size() == 1 && !request->calendarGiven && !request->audioGiven)
        return ListLines(EditorMode::Memorial);
    if (verb == "add") return Add(command, EditorMode::Memorial, *request);
    if (verb == "delete" && words.size() == 2 && !request->audioGiven) {
        auto numbers = DateNumbers(words[1], 2);
        if (!numbers || (*numbers)[0] < 1 || (*numbers)[0] > 24 || (*numbers)[1] < 1 || (*numbers)[1] > 31)
            return Refuse(command, "'" + words[1] + "' is no month and day of the form MM-DD");
        int month = int((*numbers)[0]), day = int((*numbers)[1]);
        return DeleteLine(command, EditorMode::Memorial, MemorialLineKey(request->calendar, month, day),
                          std::string(CalendarName(request->calendar)) + " memorial for " + words[1]);
    }
    return RefuseUsage(command, MemorialUsage);
}

int ReminderCommand(const CommandArgs& args)
{
    const std::string command = "reminder";
    LoadStoredSettings();
    std::string error;
    auto request = ReadRequest(args, error);
    if (!request) return Refuse(command, error);
    if (request->help) {
        PrintLine(stdout, ReminderUsage);
        return 0;
    }
    const std::vector<std::string>& words = request->words;
    std::string verb = words.empty() ? "" : words[0];
    if (verb == "list" && words.size() == 1 && !request->calendarGiven && !request->audioGiven)
        return ListLines(EditorMode::Reminder);
    if (verb == "add") return Add(command, EditorMode::Reminder, *request);
    if (verb == "delete" && words.size() == 2 && !request->calendarGiven && !request->audioGiven) {
        auto date = ParseDateArgument(words[1]);
        if (!date) return Refuse(command, "'" + words[1] + "' is no date of the form YYYY-MM-DD");
        return DeleteLine(command, EditorMode::Reminder, ReminderLineKey(*date), "reminder for " + words[1]);
    }
    return RefuseUsage(command, ReminderUsage);
}

int CountdownCommand(const CommandArgs& args)
{
    const std::string command = "countdown";
    LoadStoredSettings();
    std::string error;
    auto request = ReadRequest(args, error);
    if (!request) return Refuse(command, error);
    if (request->help) {
        PrintLine(stdout, CountdownUsage);
        return 0;
    }
    const std::vector<std::string>& words = request->words;
    std::string verb = words.empty() ? "" : words[0];
    bool plain = words.size() == 1 && !request->calendarGiven && !request->audioGiven;
    if (verb == "set") return Add(command, EditorMode::Countdown, *request);
    if (verb == "show" && plain) {
        EditorList list = LoadEditorList(EditorMode::Countdown);
        if (list.empty()) return 0;
        PrintLine(stdout, list[0]);
        CalendarDate today = Today();
        std::string countdown = CountdownText(today.year, today.month, today.day);
        if (!countdown.empty()) PrintLine(stdout, countdown);
        return 0;
    }
    if (verb == "clear" && plain) {
        int status = 0;
        if (RefuseWithoutRegistry(command, status)) return status;
        EditorList list = LoadEditorList(EditorMode::Countdown);
        DeleteEditorLine(list, 0);
        SaveEditorList(EditorMode::Countdown, list);
        return 0;
    }
    return RefuseUsage(command, CountdownUsage);
}
