#include "calendar_events.h"

#include <algorithm>
#include <cmath>

#include "calendar_names.h"
#include "date_text.h"
#include "day_card.h"
#include "festivals.h"
#include "gbk_text.h"
#include "platform.h"
#include "seasonal_periods.h"
#include "settings.h"
#include "stored_days.h"
#include "yearly_tables.h"

namespace {

// "20250129", the day part of every key.
std::string DayKey(const CalendarDate& date)
{
    std::string key = date.year < 0 ? "M" : "";
    key += ZeroPadded(date.year < 0 ? -int64_t(date.year) : date.year, 4);
    return key + ZeroPadded(date.month, 2) + ZeroPadded(date.day, 2);
}

// A name's share of a key: FNV-1a over its bytes, so the key is ASCII and
// the same on every run and every platform.
std::string NameKey(const std::string& name)
{
    uint64_t hash = 14695981039346656037ull;
    for (unsigned char c : name) hash = (hash ^ c) * 1099511628211ull;
    static const char digits[] = "0123456789abcdef";
    std::string key;
    for (int shift = 60; shift >= 0; shift -= 4) key += digits[(hash >> shift) & 15];
    return key;
}

std::vector<std::string> Words(const std::string& text)
{
    std::vector<std::string> words;
    for (size_t start = 0; start < text.size();) {
        size_t end = std::min(text.find(' ', start), text.size());
        if (end > start) words.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return words;
}

void AddTimed(std::vector<CalendarEvent>& events, EventKind kind, const std::string& name, const char* category,
              double moment, const std::string& keyWord)
{
    MomentFields fields = MomentToFields(moment);
    auto date = fields.valid ? DayNumberToDate(fields.dayNumber) : std::nullopt;
    if (!date) return;
    events.push_back({kind, name, category, *date, true, moment, DayKey(*date) + "-" + keyWord});
}

void AddDay(std::vector<CalendarEvent>& events, EventKind kind, const std::string& name, const char* category,
            const CalendarDate& date, const std::string& keyWord)
{
    events.push_back({kind, name, category, date, false, 0, DayKey(date) + "-" + keyWord});
}

// An entry of the stored-day lookups: its text is the first 20 bytes.
std::string StoredName(const std::string& entry) { return TrimBlanks(entry.substr(0, StoredTextBytes)); }

void AddDaysOfYear(std::vector<CalendarEvent>& events, int32_t year, const EventSelection& selection)
{
    const bool stored = selection.stored && UseRegistry == 1;
    int32_t first = DateToDayNumber(year, 1, 1);
    for (int32_t day = first; day < first + DaysInYear(year); ++day) {
        CalendarDate date = *DayNumberToDate(day);
        auto lunar = LunarDateOf(date);
        if (selection.festivals) {
            std::string text = lunar ? LunarFestivalText(lunar->year, lunar->month, lunar->day) : "";
            text += ' ';
            text += GregorianFestivalText(date.year, date.month, date.day, selection.allFestivals ? 1 : 0);
            for (const std::string& name : Words(text))
                AddDay(events, EventKind::Festival, name, "节日", date, "festival-" + NameKey(name));
        }
        if (selection.seasons) {
            std::string name = SeasonalPeriodStart(date.year, date.month, date.day);
            if (!name.empty()) AddDay(events, EventKind::Season, name, "时令", date, "season-" + NameKey(name));
        }
        if (!stored) continue;
        // In the order the day windows list them; one entry of a kind a day.
        HijriDate hijri = HijriDateOf(date).value_or(HijriDate{0, 0, 0});
        const struct {
            std::string entry;
            const char* category;
            const char* keyWord;
        } entries[] = {
            {ReminderText(date.year, date.month, date.day), "提醒日", "reminder"},
            {SolarMemorialText(date.year, date.month, date.day), "纪念日", "memorial-gregorian"},
            {lunar ? LunarMemorialText(lunar->year, lunar->month, lunar->day) : "", "纪念日", "memorial-lunar"},
            {HijriMemorialText(hijri.year, hijri.month, hijri.day), "纪念日", "memorial-hijri"},
        };
        for (const auto& e : entries)
            if (!e.entry.empty()) AddDay(events, EventKind::StoredDay, StoredName(e.entry), e.category, date, e.keyWord);
    }
}

}  // namespace

std::vector<CalendarEvent> CalendarEventsOfYears(int32_t firstYear, int32_t years, const EventSelection& selection)
{
    std::vector<CalendarEvent> events;
    if (years < 1 || firstYear < MinShownYear || firstYear > MaxShownYear || years > MaxShownYear - firstYear + 1)
        return events;
    const int32_t lastYear = firstYear + years - 1;
    for (int32_t year = firstYear; year <= lastYear; ++year) {
        if (selection.terms)
            for (const TermMomentOfYear& term : YearSolarTerms(year))
                AddTimed(events, EventKind::SolarTerm, SolarTermNames[term.number], "节气", term.moment,
                         "term-" + ZeroPadded(term.number, 2));
        if (selection.moons) {
            YearMoonMoments moons = YearMoons(year);
            for (double moment : moons.newMoons) AddTimed(events, EventKind::Moon, "朔日", "朔望", moment, "new-moon");
            for (double moment : moons.fullMoons) AddTimed(events, EventKind::Moon, "望日", "朔望", moment, "full-moon");
        }
        AddDaysOfYear(events, year, selection);
    }
    // The countdown day is one day, not the thousand days counted down to it.
    if (selection.stored && UseRegistry == 1) {
        auto countdown = ReadDatedEntry(RegReadText(RegistryRoot::CurrentUser, LumoraKeyPath, CountdownValueName));
        if (countdown && countdown->date.year >= firstYear && countdown->date.year <= lastYear)
            events.push_back({EventKind::StoredDay, countdown->text, "倒计日", countdown->date, false, 0, "countdown"});
    }
    std::stable_sort(events.begin(), events.end(), [](const CalendarEvent& a, const CalendarEvent& b) {
        int32_t da = DateToDayNumber(a.date), db = DateToDayNumber(b.date);
        if (da != db) return da < db;
        if (a.timed != b.timed) return !a.timed;
        return a.timed && a.moment < b.moment;
    });
    return events;
}
