#include "stored_days.h"

#include <cstdlib>
#include <optional>

#include "audio_playback.h"
#include "calendar_flags.h"
#include "date_text.h"
#include "file_path.h"
#include "gbk_text.h"
#include "hijri_calendar.h"
#include "lunar_year.h"
#include "platform.h"
#include "settings.h"

namespace {

// Bytes from..end of a stored value, "" when it is shorter.
std::string Tail(const std::string& text, size_t from) { return from < text.size() ? text.substr(from) : ""; }

bool IsDigits(const std::string& text)
{
    return !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
}

bool HasEra(const std::string& value) { return value.compare(0, 2, "AD") == 0 || value.compare(0, 2, "BC") == 0; }

// The year a stored era and 4-digit number stand for ("BC" numbers count
// back from year 1).
int32_t StoredYear(const std::string& value, size_t numberPos)
{
    int32_t number = std::atoi(value.substr(numberPos, 4).c_str());
    return value[0] == 'B' ? 1 - number : number;
}

std::string AudioSuffix(const std::string& path) { return IsValidAudioPath(path) ? " " + path : ""; }

// A memorial read and checked: its first year and its shown text.
struct Memorial {
    int32_t year;
    std::string entry;  // text right-aligned in 20 bytes, " " + path when valid
};

std::optional<Memorial> ReadMemorial(MemorialCalendar calendar, int m, int d)
{
    if (m < 1 || m > 24 || d < 1 || d > 31) return std::nullopt;
    std::string value =
        RegReadText(RegistryRoot::CurrentUser, MemorialKeyPath(calendar), ZeroPadded(m, 2) + "-" + ZeroPadded(d, 2));
    if (value.size() < 7 || !HasEra(value) || !IsDigits(value.substr(2, 4)) || value.compare(2, 4, "0000") == 0)
        return std::nullopt;
    std::string text = CutStoredText(value.substr(6));
    if (text.empty()) return std::nullopt;
    int32_t year = StoredYear(value, 2);
    YearRange range = MemorialYearRange(calendar);
    if (year < range.first || year > range.last || !IsValidCalendarDate(calendar, year, m, d)) return std::nullopt;
    return Memorial{year, RightAlignedStoredText(text) + AudioSuffix(Tail(value, 27))};
}

// The memorial of (m, d) when it has begun by shownYear, else "".
std::string MemorialSince(MemorialCalendar calendar, int m, int d, int32_t shownYear)
{
    auto memorial = ReadMemorial(calendar, m, d);
    return memorial && memorial->year <= shownYear ? memorial->entry : "";
}

struct LunarYearBounds {
    int cachedFlag = -1;
    YearRange range{0, 0};
};

int32_t LunarYearOf(int32_t y)
{
    auto lunar = LunarDateOf(CalendarDate{y, 1, 1});
    return lunar ? lunar->year : y - 1;
}

int32_t HijriYearOf(int32_t y)
{
    auto hijri = HijriDateOf(CalendarDate{y, 1, 1});
    return hijri ? hijri->year : 0;
}

}  // namespace

std::string MemorialKeyPath(MemorialCalendar calendar)
{
    const char* key = calendar == MemorialCalendar::Gregorian ? SolarMemorialKey
                      : calendar == MemorialCalendar::Lunar   ? LunarMemorialKey
                                                              : HijriMemorialKey;
    return std::string(LumoraKeyPath) + "\\" + key;
}

bool MemorialCalendarOfKey(const std::string& keyName, MemorialCalendar& calendar)
{
    if (keyName == SolarMemorialKey) calendar = MemorialCalendar::Gregorian;
    else if (keyName == LunarMemorialKey) calendar = MemorialCalendar::Lunar;
    else if (keyName == HijriMemorialKey) calendar = MemorialCalendar::Hijri;
    else return false;
    return true;
}

YearRange MemorialYearRange(MemorialCalendar calendar)
{
    if (calendar == MemorialCalendar::Gregorian) return {MemorialMinYear, MemorialMaxYear};
    if (calendar == MemorialCalendar::Hijri) {
        static const YearRange hijri{HijriYearOf(MemorialMinYear), HijriYearOf(MemorialMaxYear)};
        return hijri;
    }
    // Lunar years depend on the calendar method, so the bounds are computed
    // again when it changes.
    static LunarYearBounds lunar;
    if (lunar.cachedFlag != ModernCalculateAncientFlag) {
        lunar.range = {LunarYearOf(MemorialMinYear), LunarYearOf(MemorialMaxYear)};
        lunar.cachedFlag = ModernCalculateAncientFlag;
    }
    return lunar.range;
}

bool IsValidCalendarDate(MemorialCalendar calendar, int32_t y, int m, int d)
{
    switch (calendar) {
    case MemorialCalendar::Gregorian: return IsValidDate(y, m, d) == 1;
    case MemorialCalendar::Lunar: return IsValidLunarDate(y, m, d) == 1;
    case MemorialCalendar::Hijri: return IsValidHijriDate(y, m, d) == 1;
    }
    return false;
}

std::string StoredEraYear(int32_t year)
{
    return (year > 0 ? "AD" : "BC") + ZeroPadded(year > 0 ? year : 1 - int64_t(year), 4);
}

std::string CutStoredText(const std::string& text) { return TrimBlanks(LeftBytes(text, StoredTextBytes)); }

std::string RightAlignedStoredText(const std::string& text)
{
    return text.size() >= StoredTextBytes ? text : std::string(StoredTextBytes - text.size(), ' ') + text;
}

int IsValidAudioPath(const std::string& path)
{
    return IsDriveFilePath(path) && IsAudioFileName(path) == 1 && FileExists(path) ? 1 : 0;
}

std::string ReadMemorialEntry(const std::string& keyName, int m, int d)
{
    MemorialCalendar calendar;
    if (!MemorialCalendarOfKey(keyName, calendar)) return "";
    auto memorial = ReadMemorial(calendar, m, d);
    return memorial ? StoredEraYear(memorial->year) + memorial->entry : "";
}

std::string SolarMemorialText(int32_t y, int m, int d)
{
    if (!IsValidDate(y, m, d)) return "";
    std::string entry = MemorialSince(MemorialCalendar::Gregorian, m, d, y);
    // A memorial of 29 February shows on the 28th in common years.
    if (entry.empty() && NearLocateMemorialFlag == 1 && m == 2 && d == 28 && !IsValidDate(y, 2, 29))
        entry = MemorialSince(MemorialCalendar::Gregorian, 2, 29, y);
    return entry;
}

std::string LunarMemorialText(int32_t ly, int lm, int ld)
{
    if (!IsValidLunarDate(ly, lm, ld)) return "";
    std::string entry = MemorialSince(MemorialCalendar::Lunar, lm, ld, ly);
    if (!entry.empty() || NearLocateMemorialFlag != 1) return entry;
    // A memorial of a leap month shows in the ordinary month of years without
    // that leap month, and one of a 30th on the 29th of a short month.
    bool noLeapMonth = lm <= 12 && !IsValidLunarDate(ly, lm + 12, 1);
    bool lastOfShortMonth = ld == 29 && !IsValidLunarDate(ly, lm, 30);
    if (noLeapMonth) entry = MemorialSince(MemorialCalendar::Lunar, lm + 12, ld, ly);
    if (entry.empty() && lastOfShortMonth) entry = MemorialSince(MemorialCalendar::Lunar, lm, 30, ly);
    if (entry.empty() && lastOfShortMonth && noLeapMonth) entry = MemorialSince(MemorialCalendar::Lunar, lm + 12, 30, ly);
    return entry;
}

std::string HijriMemorialText(int32_t hy, int hm, int hd)
{
    if (!IsValidHijriDate(hy, hm, hd)) return "";
    std::string entry = MemorialSince(MemorialCalendar::Hijri, hm, hd, hy);
    // The 30th of month 12 exists only in leap years.
    if (entry.empty() && NearLocateMemorialFlag == 1 && hm == 12 && hd == 29 && !IsValidHijriDate(hy, 12, 30))
        entry = MemorialSince(MemorialCalendar::Hijri, 12, 30, hy);
    return entry;
}

std::optional<DatedEntry> ReadDatedEntry(const std::string& value)
{
    if (value.size() < 13 || !HasEra(value)) return std::nullopt;
    std::string date = value.substr(2, 10);
    if (!ConsistsOnlyOf(date, "1234567890-") || NormaliseTypedDate(date) != date) return std::nullopt;
    DatedEntry entry{{StoredYear(value, 8), std::atoi(date.substr(0, 2).c_str()), std::atoi(date.substr(3, 2).c_str())},
                     CutStoredText(value.substr(12)),
                     Tail(value, 33)};
    const CalendarDate& d = entry.date;
    if (entry.text.empty() || d.year < MemorialMinYear || d.year > MemorialMaxYear || !IsValidDate(d.year, d.month, d.day))
        return std::nullopt;
    return entry;
}

std::string ReminderText(int32_t y, int m, int d)
{
    if (y < MemorialMinYear || y > MemorialMaxYear || !IsValidDate(y, m, d)) return "";
    // The first value of the day counts; a later one of the same day is not read.
    for (int i = 1; i <= MaxReminders; ++i) {
        auto entry = ReadDatedEntry(RegReadText(RegistryRoot::CurrentUser, ReminderKeyPath, std::string(1, char(64 + i))));
        if (entry && entry->date == CalendarDate{y, m, d})
            return RightAlignedStoredText(entry->text) + AudioSuffix(entry->storedPath);
    }
    return "";
}

std::string CountdownText(int32_t y, int m, int d)
{
    if (!IsValidDate(y, m, d)) return "";
    auto entry = ReadDatedEntry(RegReadText(RegistryRoot::CurrentUser, LumoraKeyPath, CountdownValueName));
    if (!entry) return "";
    int64_t daysLeft = int64_t(DateToDayNumber(entry->date)) - DateToDayNumber(y, m, d);
    if (daysLeft < 0 || daysLeft > 1000) return "";
    return "距" + entry->text + "还有" + std::to_string(daysLeft) + "天";
}

StoredDayEvents StoredDayEventsOn(const CalendarDate& date, int32_t lunarYear, int lunarMonth, int lunarDay,
                                  const HijriDate& hijri)
{
    StoredDayEvents events;
    if (UseRegistry != 1) return events;
    std::string countdown = CountdownText(date.year, date.month, date.day);
    if (!countdown.empty()) events.items.push_back(countdown);
    for (const std::string& entry : {ReminderText(date.year, date.month, date.day),
                                     SolarMemorialText(date.year, date.month, date.day),
                                     LunarMemorialText(lunarYear, lunarMonth, lunarDay),
                                     HijriMemorialText(hijri.year, hijri.month, hijri.day)}) {
        if (entry.empty()) continue;
        events.items.push_back(TrimBlanks(entry.substr(0, StoredTextBytes)));
        // The first entry that carries a path gives the day its audio.
        if (events.audioPath.empty() && entry.size() >= 22) events.audioPath = entry.substr(21);
    }
    return events;
}

std::string JoinedEvents(const StoredDayEvents& events, const std::string& separator)
{
    std::string line;
    for (const std::string& item : events.items) line += (line.empty() ? "" : separator) + item;
    return line;
}

StoredDayEvents StoredDayEventsOf(const CalendarDate& date)
{
    LunarDate lunar = LunarDateOf(date).value_or(LunarDate{0, 0, 0});
    return StoredDayEventsOn(date, lunar.year, lunar.month, lunar.day, HijriDateOf(date).value_or(HijriDate{0, 0, 0}));
}
