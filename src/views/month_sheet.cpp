#include "month_sheet.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "calendar_flags.h"
#include "calendar_names.h"
#include "civil_calendar.h"
#include "date_text.h"
#include "day_card.h"
#include "era_names.h"
#include "festivals.h"
#include "historical_calendar.h"
#include "lunar_year.h"
#include "places.h"
#include "seasonal_periods.h"
#include "sexagenary_cycle.h"
#include "stored_days.h"
#include "sun_events.h"
#include "time_scales.h"
#include "weekday_zodiac.h"

namespace {

const char LineBreak[] = "\r\n";

// The second line of a day's cell: the first that applies of its lunar
// festival, its main Gregorian festival, its solar term, the name and length
// of the lunar month it begins, and its lunar day.
std::string CellSecondLine(int32_t year, int month, int day)
{
    auto lunar = LunarDateOf({year, month, day});
    if (lunar) {
        std::string festival = LunarFestivalText(lunar->year, lunar->month, lunar->day);
        if (!festival.empty()) return festival;
    }
    std::string festival = GregorianFestivalText(year, month, day, 0);
    if (!festival.empty()) return festival;
    std::string term = SolarTermOfDay(year, month, day);
    if (!term.empty()) return term;
    if (!lunar) return "";
    if (lunar->day == 1)
        return LunarMonthName(lunar->month, LunarMonthLength(lunar->year, lunar->month) == 30 ? 1 : 0);
    return LunarDayName(lunar->day);
}

// Cell of the month's first day, minus one: the Sunday-first column of that
// day, 0 for Sunday.
int FirstCellOffset(int32_t year, int month)
{
    int32_t first = DateToDayNumber(year, month, 1);
    return first == NoDayNumber ? -1 : WeekdayOfDayNumber(first);
}

struct Event {
    double moment;
    std::string text;
};

// A moment found by one of the calendar's finders and the name its entry
// ends with ("立春", "朔", "望").
struct Found {
    double moment;
    std::string name;
};

// Asks find(x) from the month's first day through the next 31 days and keeps
// what falls in the month, each as day "日" time name. dayOf(x) is the day
// of find(x), known without the moment, which ends the search first.
template <typename Finder, typename DayFinder>
void CollectEvents(int32_t year, int month, Finder find, DayFinder dayOf, std::vector<Event>& events)
{
    const int32_t first = DateToDayNumber(year, month, 1);
    for (int32_t x = first; x <= first + 30;) {
        if (dayOf(x) > first + 30) break;
        Found found = find(x);
        if (!std::isfinite(found.moment)) break;
        double day = std::floor(found.moment);
        if (day > first + 30) break;
        std::string text = MomentToText(found.moment);
        MomentFields fields = MomentToFields(found.moment);
        auto date = fields.valid ? DayNumberToDate(fields.dayNumber) : std::nullopt;
        // The historical calendars move a few search days back by one, so a
        // finder can answer a day before x: that is the event already listed.
        if (day >= x && date && date->year == year && date->month == month && !found.name.empty())
            events.push_back({found.moment, std::to_string(date->day) + "日" + text.substr(13) + found.name});
        x = std::max(x + 1, int32_t(day) + 1);
    }
}

// The entries in the order of their moments, joined by blanks.
std::string JoinEvents(std::vector<Event> events)
{
    std::stable_sort(events.begin(), events.end(),
                     [](const Event& a, const Event& b) { return a.moment < b.moment; });
    std::string line;
    for (const Event& event : events) line += (line.empty() ? "" : " ") + event.text;
    return line;
}

std::string LunarLine(int32_t year, int month, int day)
{
    std::string line = "农历 ";
    if (auto lunar = LunarDateOf({year, month, day})) {
        int big = LunarMonthLength(lunar->year, lunar->month) == 30 ? 1 : 0;
        // A leap month stands apart: " 闰四月大".
        line += EraYearText(lunar->year) + "年" + " " + (lunar->month > 12 ? " " : "") +
                LunarMonthName(lunar->month, big) + LunarDayName(lunar->day);
    }
    return line + " " + CycleDateText(year, month, day, GanZhiFromChunjieFlag);
}

std::string HijriLine(int32_t year, int month, int day)
{
    std::string line = "回历 ";
    if (auto hijri = HijriDateOf({year, month, day})) {
        // A year before the first Hijri year is written as "前" and 1 - year.
        if (hijri->year <= 0) line += "前";
        line += std::to_string(hijri->year <= 0 ? 1 - int64_t(hijri->year) : int64_t(hijri->year)) + "年" +
                std::to_string(hijri->month) + "月" + std::to_string(hijri->day) + "日";
    }
    line += ' ';
    line += ZodiacSignName(year, month, day);
    for (const std::string& period :
         {NineNinesText(year, month, day), DogDaysText(year, month, day), PlumRainText(year, month, day)})
        if (!period.empty()) line += " " + period;
    return line;
}

}  // namespace

int MonthCellDay(int32_t year, int month, int cell)
{
    int offset = FirstCellOffset(year, month);
    if (offset < 0 || cell < 1 || cell > MonthCellCount) return 0;
    int position = cell - offset;
    int day = year == 1582 && month == 10 && position > 4 ? position + 10 : position;
    return position >= 1 && IsValidDate(year, month, day) ? day : 0;
}

int MonthCellOfDay(int32_t year, int month, int day)
{
    int offset = FirstCellOffset(year, month);
    if (offset < 0 || !IsValidDate(year, month, day)) return 0;
    int position = year == 1582 && month == 10 && day >= 15 ? day - 10 : day;
    return position + offset;
}

MonthGrid FillMonthGrid(int32_t year, int month, int shownDay)
{
    MonthGrid grid;
    for (int cell = 1; cell <= MonthCellCount; ++cell) {
        int day = MonthCellDay(year, month, cell);
        if (day == 0) continue;
        grid.cells[size_t(cell)] =
            LineBreak + std::to_string(day) + LineBreak + CellSecondLine(year, month, day);
        if (day == shownDay) grid.highlightedCell = cell;
    }
    return grid;
}

std::string FillMonthEvents(int32_t year, int month)
{
    if (!IsValidDate(year, month, 1)) return "";
    std::vector<Event> terms, moons;
    CollectEvents(year, month, [](int32_t x) {
        int number = TermNumber(x);
        return Found{TermMoment(x, 0), number >= 1 && number <= 24 ? SolarTermNames[number] : ""};
    }, [](int32_t x) { return TermMomentDay(x, 0); }, terms);
    CollectEvents(year, month, [](int32_t x) { return Found{NewMoonMoment(x), "朔"}; }, NewMoonDay, moons);
    CollectEvents(year, month, [](int32_t x) { return Found{FullMoonMoment(x), "望"}; }, FullMoonDay, moons);
    return JoinEvents(terms) + LineBreak + JoinEvents(moons);
}

std::string ComposeMonthDayInfo(int32_t year, int month, int day, std::string* audioPath)
{
    if (audioPath) audioPath->clear();
    int32_t dayNumber = DateToDayNumber(year, month, day);
    if (dayNumber == NoDayNumber) return "";
    std::string text = LineBreak + LunarLine(year, month, day) + LineBreak + HijriLine(year, month, day) +
                       LineBreak + "天亮" + SunTimeHere(dayNumber, Dawn) + " 日出" + SunTimeHere(dayNumber, Sunrise) +
                       " 日落" + SunTimeHere(dayNumber, Sunset) + " 天黑" + SunTimeHere(dayNumber, Dusk);
    std::string festivals = DayFestivalText(year, month, day);
    StoredDayEvents stored = StoredDayEventsOf({year, month, day});
    std::string events = JoinedEvents(stored, " ");
    if (!events.empty()) festivals += (festivals.empty() ? "" : " ") + events;
    if (audioPath) *audioPath = stored.audioPath;
    if (!festivals.empty()) text += LineBreak + festivals;
    return text;
}

std::string CellSecondLine(const std::string& cell)
{
    size_t second = cell.find(LineBreak, 2);
    return second == std::string::npos ? "" : cell.substr(second + 2);
}
