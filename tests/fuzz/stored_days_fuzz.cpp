// The stored days read from whatever the registry holds: the memorials
// under the three keys, the reminders "A".."T" and the countdown. Every
// lookup of the days the values name (and of their neighbours) gives nothing
// or an entry in the form the memorial editor writes.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "lunar_year.h"
#include "registry_input.h"
#include "settings.h"
#include "stored_days.h"

namespace {

// The 20-byte text, then nothing or " " and a valid audio path.
void CheckShownEntry(const std::string& entry)
{
    if (entry.empty()) return;
    if (entry.size() < StoredTextBytes) std::abort();
    std::string text = entry.substr(0, StoredTextBytes);
    std::string cut = CutStoredText(text);
    if (cut.empty() || RightAlignedStoredText(cut) != text) std::abort();
    if (entry.size() == StoredTextBytes) return;
    if (entry[StoredTextBytes] != ' ' || !IsValidAudioPath(entry.substr(StoredTextBytes + 1))) std::abort();
}

int Number(const std::string& text, size_t pos, size_t count)
{
    int n = 0;
    for (size_t i = pos; i < pos + count && i < text.size(); ++i)
        n = n * 10 + (text[i] >= '0' && text[i] <= '9' ? text[i] - '0' : 0);
    return n;
}

void CheckMemorial(MemorialCalendar calendar, const std::string& keyName, int m, int d, int32_t storedYear)
{
    std::string entry = ReadMemorialEntry(keyName, m, d);
    if (!entry.empty()) {
        // Era and first year as stored, and a day of the calendar in the accepted years.
        if (entry.size() < 26 || (entry.compare(0, 2, "AD") != 0 && entry.compare(0, 2, "BC") != 0)) std::abort();
        int32_t year = entry[0] == 'A' ? Number(entry, 2, 4) : 1 - Number(entry, 2, 4);
        YearRange range = MemorialYearRange(calendar);
        if (year < range.first || year > range.last || !IsValidCalendarDate(calendar, year, m, d) ||
            StoredEraYear(year) != entry.substr(0, 6))
            std::abort();
        CheckShownEntry(entry.substr(6));
    }
    for (int32_t y : {storedYear, storedYear + 1, int32_t(2000)}) {
        if (calendar == MemorialCalendar::Gregorian) CheckShownEntry(SolarMemorialText(y, m, d));
        if (calendar == MemorialCalendar::Lunar) CheckShownEntry(LunarMemorialText(y, m, d));
        if (calendar == MemorialCalendar::Hijri) CheckShownEntry(HijriMemorialText(y, m, d));
    }
}

void CheckDatedDay(const std::string& value)
{
    int32_t year = value.compare(0, 2, "BC") == 0 ? 1 - Number(value, 8, 4) : Number(value, 8, 4);
    int m = Number(value, 2, 2), d = Number(value, 5, 2);
    int32_t j = DateToDayNumber(year, m, d);
    if (j == NoDayNumber) return;
    for (int32_t day : {j, j - 1, j - 1000, j - 1001}) {
        auto date = DayNumberToDate(day);
        if (!date) continue;
        CheckShownEntry(ReminderText(date->year, date->month, date->day));
        std::string countdown = CountdownText(date->year, date->month, date->day);
        if (!countdown.empty() && (countdown.compare(0, 2, "距") != 0 || countdown.find("还有") == std::string::npos))
            std::abort();
        StoredDayEvents events = StoredDayEventsOn(*date, year, m, d, {year, m, d});
        for (const std::string& item : events.items)
            if (item.empty()) std::abort();
        if (!events.audioPath.empty() && !IsValidAudioPath(events.audioPath)) std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    UseOwnRegistryFile();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Store store = SetRegistryFile(data, size);
    UseRegistry = 1;
    NearLocateMemorialFlag = size % 2;
    for (const StoredKey& key : store) {
        if (key.root != RegistryRoot::CurrentUser) continue;
        std::string prefix = std::string(LumoraKeyPath) + "\\";
        MemorialCalendar calendar;
        bool memorial = AsciiLowered(key.path).compare(0, prefix.size(), AsciiLowered(prefix)) == 0 &&
                        MemorialCalendarOfKey(key.path.substr(prefix.size()), calendar);
        for (const StoredValue& value : key.values) {
            if (memorial) {
                int32_t year = value.data.compare(0, 2, "BC") == 0 ? 1 - Number(value.data, 2, 4) : Number(value.data, 2, 4);
                CheckMemorial(calendar, key.path.substr(prefix.size()), Number(value.name, 0, 2), Number(value.name, 3, 2),
                              year);
            } else if (AsciiLowered(key.path) == AsciiLowered(ReminderKeyPath) ||
                       AsciiLowered(value.name) == AsciiLowered(CountdownValueName)) {
                CheckDatedDay(value.data);
            }
        }
    }
    return 0;
}
