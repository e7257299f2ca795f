#include "memorial_editor.h"

#include <cstdlib>

#include "date_text.h"
#include "gbk_text.h"
#include "hijri_calendar.h"
#include "lunar_year.h"
#include "platform.h"
#include "settings.h"

namespace {

const char ReminderWord[] = "提醒";
const char CountdownWord[] = "倒计";

std::string CalendarWord(MemorialCalendar calendar)
{
    switch (calendar) {
    case MemorialCalendar::Gregorian: return "公历";
    case MemorialCalendar::Lunar: return "农历";
    case MemorialCalendar::Hijri: return "回历";
    }
    return "";
}

std::string DatePrefix(const std::string& word, int month, int day)
{
    return word + ZeroPadded(month, 2) + "月" + ZeroPadded(day, 2) + "日";
}

std::string EditorLine(const std::string& word, int32_t year, int month, int day, const std::string& text,
                       const std::string& audio)
{
    return DatePrefix(word, month, day) + "（" + StoredEraYear(year) + "年）：" + RightAlignedStoredText(text) +
           (audio.empty() ? "" : " " + audio);
}

void LoadMemorials(EditorList& list)
{
    const struct {
        MemorialCalendar calendar;
        const char* key;
        int months;
        int days;
    } kinds[] = {{MemorialCalendar::Gregorian, SolarMemorialKey, 12, 31},
                 {MemorialCalendar::Lunar, LunarMemorialKey, 24, 30},
                 {MemorialCalendar::Hijri, HijriMemorialKey, 12, 31}};
    for (const auto& kind : kinds)
        for (int m = 1; m <= kind.months; ++m)
            for (int d = 1; d <= kind.days; ++d) {
                // era and year (6 bytes), then the text and path as shown
                std::string entry = ReadMemorialEntry(kind.key, m, d);
                if (!entry.empty())
                    list.push_back(DatePrefix(CalendarWord(kind.calendar), m, d) + "（" + entry.substr(0, 6) +
                                   "年）：" + entry.substr(6));
            }
}

std::optional<std::string> LineOfDatedEntry(const std::string& word, const std::string& value, bool withAudio)
{
    auto entry = ReadDatedEntry(value);
    if (!entry) return std::nullopt;
    std::string audio = withAudio && IsValidAudioPath(entry->storedPath) ? entry->storedPath : "";
    return EditorLine(word, entry->date.year, entry->date.month, entry->date.day, entry->text, audio);
}

// The Gregorian date of a date of the chosen calendar, nullopt when it has
// none.
std::optional<CalendarDate> GregorianDateOf(MemorialCalendar calendar, int32_t year, int month, int day)
{
    if (calendar == MemorialCalendar::Gregorian) return CalendarDate{year, month, day};
    return DayNumberToDate(calendar == MemorialCalendar::Lunar ? DayOfLunarDate(LunarDate{year, month, day})
                                                               : HijriToDayNumber(year, month, day));
}

// The stored form of a reminder or countdown line: era, "MM-DD-YYYY", and
// the text and path as the line shows them.
std::string DatedValue(const std::string& line)
{
    if (line.size() < 27) return "";
    return line.substr(14, 2) + line.substr(4, 2) + "-" + line.substr(8, 2) + "-" + line.substr(16, 4) + line.substr(26);
}

struct StoredValue {
    std::string keyPath;
    std::string name;
    std::string data;
};

// Under the key of its calendar, the value "MM-DD" of each line: era and
// year, then the text and path as the line shows them.
std::vector<StoredValue> MemorialValues(const EditorList& list)
{
    std::vector<StoredValue> values;
    for (const std::string& line : list) {
        auto fields = ReadEditorLine(line);
        if (!fields || line.compare(0, 4, CalendarWord(fields->calendar)) != 0) continue;
        values.push_back({MemorialKeyPath(fields->calendar), line.substr(4, 2) + "-" + line.substr(8, 2),
                          line.substr(14, 6) + line.substr(26)});
    }
    return values;
}

// Line i as value "A" + i - 1.
std::vector<StoredValue> ReminderValues(const EditorList& list)
{
    std::vector<StoredValue> values;
    for (size_t i = 0; i < list.size() && i < size_t(MaxReminders); ++i)
        values.push_back({ReminderKeyPath, std::string(1, char('A' + i)), DatedValue(list[i])});
    return values;
}

// Every value name the program gives stored days of a kind.
std::vector<std::string> MemorialValueNames(MemorialCalendar calendar)
{
    int months = calendar == MemorialCalendar::Lunar ? 24 : 12;
    int days = calendar == MemorialCalendar::Lunar ? 30 : 31;
    std::vector<std::string> names;
    for (int m = 1; m <= months; ++m)
        for (int d = 1; d <= days; ++d) names.push_back(ZeroPadded(m, 2) + "-" + ZeroPadded(d, 2));
    return names;
}

// "A".."T" and the letters after them, which an earlier save of more than
// twenty reminders may have left.
std::vector<std::string> ReminderValueNames()
{
    std::vector<std::string> names;
    for (char name = 'A'; name <= 'Z'; ++name) names.push_back(std::string(1, name));
    return names;
}

}  // namespace

EditorList LoadEditorList(EditorMode mode)
{
    EditorList list;
    if (mode == EditorMode::Memorial) {
        LoadMemorials(list);
    } else if (mode == EditorMode::Reminder) {
        for (int i = 1; i <= MaxReminders; ++i) {
            std::string value = RegReadText(RegistryRoot::CurrentUser, ReminderKeyPath, std::string(1, char(64 + i)));
            if (auto line = LineOfDatedEntry(ReminderWord, value, true)) list.push_back(*line);
        }
    } else {
        std::string value = RegReadText(RegistryRoot::CurrentUser, LumoraKeyPath, CountdownValueName);
        if (auto line = LineOfDatedEntry(CountdownWord, value, false)) list.push_back(*line);
    }
    return list;
}

AddResult AddEditorEntry(EditorList& list, EditorMode mode, MemorialCalendar calendar, int32_t year, int month, int day,
                         const std::string& text, const std::string& audio)
{
    std::string cut = CutStoredText(text);
    if (cut.empty()) return {AddOutcome::EmptyText};
    YearRange range = MemorialYearRange(calendar);
    if (year < range.first || year > range.last) return {AddOutcome::YearOutOfRange};
    if (!IsValidCalendarDate(calendar, year, month, day)) return {AddOutcome::NoSuchDate};

    std::string line, key;
    if (mode == EditorMode::Memorial) {
        line = EditorLine(CalendarWord(calendar), year, month, day, cut, TrimBlanks(audio));
        key = MemorialLineKey(calendar, month, day);
    } else {
        // Reminders and the countdown are Gregorian days; one converted from
        // the edges of the lunar or Hijri range may fall before 1800 or after
        // 2200, where no lookup would ever find it.
        auto date = GregorianDateOf(calendar, year, month, day);
        if (!date) return {AddOutcome::NoSuchDate};
        if (date->year < MemorialMinYear || date->year > MemorialMaxYear) return {AddOutcome::YearOutOfRange};
        bool reminder = mode == EditorMode::Reminder;
        line = EditorLine(reminder ? ReminderWord : CountdownWord, date->year, date->month, date->day, cut,
                          reminder ? TrimBlanks(audio) : "");
        key = reminder ? ReminderLineKey(*date) : CountdownWord;
    }

    int found = FindEditorLine(list, key);
    if (found >= 0) {
        list[size_t(found)] = line;
        return {AddOutcome::Added, found};
    }
    // Only the values "A".."T" are ever read back.
    if (mode == EditorMode::Reminder && list.size() >= size_t(MaxReminders)) return {AddOutcome::ListFull};
    list.push_back(line);
    return {AddOutcome::Added, int(list.size()) - 1};
}

std::string MemorialLineKey(MemorialCalendar calendar, int month, int day)
{
    return DatePrefix(CalendarWord(calendar), month, day);
}

std::string ReminderLineKey(const CalendarDate& date)
{
    return DatePrefix(ReminderWord, date.month, date.day) + "（" + StoredEraYear(date.year) + "年）：";
}

int FindEditorLine(const EditorList& list, const std::string& key)
{
    for (size_t i = 0; i < list.size(); ++i)
        if (list[i].compare(0, key.size(), key) == 0) return int(i);
    return -1;
}

bool DeleteEditorLine(EditorList& list, int index)
{
    if (index < 0 || size_t(index) >= list.size()) return false;
    list.erase(list.begin() + index);
    return true;
}

std::optional<EditorLineFields> ReadEditorLine(const std::string& line)
{
    // Everything up to the text has fixed places; the text fills 20 bytes.
    if (line.size() < 46 || line.compare(6, 2, "月") != 0 || line.compare(10, 4, "日（") != 0 ||
        line.compare(20, 6, "年）：") != 0 || (line.compare(14, 2, "AD") != 0 && line.compare(14, 2, "BC") != 0))
        return std::nullopt;
    for (size_t i : {4, 5, 8, 9, 16, 17, 18, 19})
        if (line[i] < '0' || line[i] > '9') return std::nullopt;
    std::string word = line.substr(0, 4);
    EditorLineFields fields{MemorialCalendar::Gregorian, 0, 0, 0, "", ""};
    if (word == "农历") fields.calendar = MemorialCalendar::Lunar;
    else if (word == "回历") fields.calendar = MemorialCalendar::Hijri;
    else if (word != "公历" && word != ReminderWord && word != CountdownWord) return std::nullopt;
    int32_t number = std::atoi(line.substr(16, 4).c_str());
    fields.year = line[14] == 'B' ? 1 - number : number;
    fields.month = std::atoi(line.substr(4, 2).c_str());
    fields.day = std::atoi(line.substr(8, 2).c_str());
    fields.text = TrimBlanks(line.substr(26, StoredTextBytes));
    fields.audio = line.size() > 47 ? line.substr(47) : "";
    return fields;
}

void (*AfterEditorWrites)() = nullptr;

void SaveEditorList(EditorMode mode, const EditorList& list)
{
    if (UseRegistry != 1) return;
    if (mode == EditorMode::Countdown) {
        RegWriteText(RegistryRoot::CurrentUser, LumoraKeyPath, CountdownValueName,
                     list.empty() ? "" : DatedValue(list[0]));
        return;
    }
    // Every new value is written before any old one goes: a save cut short
    // (a crash, a log-off, a killed process) leaves the old entries beside
    // the new ones instead of an empty kind.
    std::vector<StoredValue> values = mode == EditorMode::Memorial ? MemorialValues(list) : ReminderValues(list);
    for (const StoredValue& value : values) RegWriteText(RegistryRoot::CurrentUser, value.keyPath, value.name, value.data);
    if (AfterEditorWrites) AfterEditorWrites();

    // Then every value of the kind that is no longer listed goes, and a key
    // left without values goes with them.
    auto listed = [&](const std::string& keyPath, const std::string& name) {
        for (const StoredValue& value : values)
            if (value.keyPath == keyPath && value.name == name) return true;
        return false;
    };
    auto removeUnlisted = [&](const std::string& keyPath, const std::vector<std::string>& names) {
        bool keyUsed = false;
        for (const StoredValue& value : values) keyUsed = keyUsed || value.keyPath == keyPath;
        if (!keyUsed) {
            RegDeleteKeyPath(RegistryRoot::CurrentUser, keyPath);
            return;
        }
        for (const std::string& name : names)
            if (!listed(keyPath, name)) RegDeleteValueText(RegistryRoot::CurrentUser, keyPath, name);
    };
    if (mode == EditorMode::Memorial) {
        for (MemorialCalendar calendar : {MemorialCalendar::Gregorian, MemorialCalendar::Lunar, MemorialCalendar::Hijri})
            removeUnlisted(MemorialKeyPath(calendar), MemorialValueNames(calendar));
    } else {
        removeUnlisted(ReminderKeyPath, ReminderValueNames());
    }
}
