#include "json_output.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "calendar_names.h"
#include "calendar_flags.h"
#include "condition_query.h"
#include "date_text.h"
#include "day_card.h"
#include "festivals.h"
#include "json_text.h"
#include "month_sheet.h"
#include "places.h"
#include "settings.h"
#include "seasonal_periods.h"
#include "sexagenary_cycle.h"
#include "stored_days.h"
#include "sun_events.h"
#include "terminal.h"
#include "time_scales.h"
#include "weekday_zodiac.h"
#include "window_lines.h"
#include "yearly_tables.h"

bool JsonOutput = false;

namespace {

// Program text split at its blanks, as the lines join their items.
std::string JsonWords(const std::string& gbk)
{
    std::vector<std::string> words;
    for (size_t start = 0; start < gbk.size();) {
        size_t end = gbk.find(' ', start);
        if (end == std::string::npos) end = gbk.size();
        if (end > start) words.push_back(JsonText(gbk.substr(start, end - start)));
        start = end + 1;
    }
    return JsonArray(words);
}

// The lines of window text ("\r\n" between, empty ones dropped).
std::vector<std::string> TextLines(const std::string& text)
{
    std::vector<std::string> lines;
    for (const std::string& line : WindowLines(text))
        if (!line.empty()) lines.push_back(JsonText(line));
    return lines;
}

std::string JsonTaggedDate(const std::string& tagged)
{
    auto date = ReadTaggedDate(tagged);
    return date ? JsonDate(*date) : "null";
}

std::string SelectorText(const SelectorList& year, const SelectorList& month, const SelectorList& day)
{
    return JsonText(SelectedText(year) + SelectedText(month) + SelectedText(day));
}

// A lunar month code as month 1..12 and a leap flag.
JsonMembers LunarMonthMembers(int code)
{
    return {{"month", JsonNumber(code > 12 ? code - 12 : code)}, {"leap", JsonBool(code > 12)}};
}

std::string Moments(const std::vector<double>& moments)
{
    std::vector<std::string> values;
    for (double moment : moments) values.push_back(JsonMoment(moment));
    return JsonArray(values);
}

// The current place's sun time of a day.
std::string SunTime(int32_t day, int kind)
{
    return JsonText(SunTimeHere(day, kind));
}

}  // namespace

void PrintJson(const std::string& json)
{
#ifdef _WIN32
    std::fflush(stdout);
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    PrintUtf8(stdout, json + "\n");
}

std::string DayJson(const CalendarDate& date, int infoType)
{
    DayCardLists lists = FillDayCardLists(date, ComputeDateBounds(), DFORMShowDynastyFlag);
    DayInfo festivalInfo = ComposeDayInfo(date, 0);
    int32_t day = DateToDayNumber(date);
    JsonMembers gregorian = {{"year", JsonNumber(date.year)}, {"month", JsonNumber(date.month)},
                             {"day", JsonNumber(date.day)},
                             {"text", SelectorText(lists.gregorianYear, lists.gregorianMonth, lists.gregorianDay)}};
    std::string lunar = "null", hijri = "null";
    if (auto l = LunarDateOf(date)) {
        JsonMembers members = {{"year", JsonNumber(l->year)}};
        for (auto& member : LunarMonthMembers(l->month)) members.push_back(member);
        members.push_back({"day", JsonNumber(l->day)});
        members.push_back({"text", SelectorText(lists.lunarYear, lists.lunarMonth, lists.lunarDay)});
        lunar = JsonObject(members);
    }
    if (auto h = HijriDateOf(date))
        hijri = JsonObject({{"year", JsonNumber(h->year)}, {"month", JsonNumber(h->month)}, {"day", JsonNumber(h->day)},
                            {"text", SelectorText(lists.hijriYear, lists.hijriMonth, lists.hijriDay)}});
    std::vector<std::string> seasons;
    for (const std::string& text : {NextSolarTermText(date.year, date.month, date.day),
                                    NineNinesText(date.year, date.month, date.day),
                                    DogDaysText(date.year, date.month, date.day),
                                    PlumRainText(date.year, date.month, date.day)})
        if (!text.empty()) seasons.push_back(JsonText(text));
    std::vector<std::string> stored;
    for (const std::string& item : StoredDayEventsOf(date).items) stored.push_back(JsonText(item));
    return JsonObject({
        {"date", JsonDate(date)},
        {"gregorian", JsonObject(gregorian)},
        {"lunar", lunar},
        {"hijri", hijri},
        {"weekday", JsonText(WeekdayName(date.year, date.month, date.day))},
        {"zodiac", JsonText(ZodiacSignName(date.year, date.month, date.day))},
        {"ganzhi", JsonText(CycleDateText(date.year, date.month, date.day, GanZhiFromChunjieFlag))},
        {"festivals", JsonWords(DayFestivalText(date.year, date.month, date.day))},
        {"seasons", JsonArray(seasons)},
        {"stored", JsonArray(stored)},
        {"line1", JsonText(festivalInfo.line1)},
        {"line2", JsonText(ComposeDayInfo(date, infoType).line2)},
        {"description", JsonArray(TextLines(ComposeMonthDayInfo(date.year, date.month, date.day)))},
        {"place", JsonObject({{"name", JsonText(CurrentPlace.name)},
                              {"longitude", JsonText(CoordinateText(CurrentPlace.longitude, LongitudeCoordinate))},
                              {"latitude", JsonText(CoordinateText(CurrentPlace.latitude, LatitudeCoordinate))}})},
        {"sun", JsonObject({{"dawn", SunTime(day, Dawn)}, {"sunrise", SunTime(day, Sunrise)},
                            {"sunset", SunTime(day, Sunset)}, {"dusk", SunTime(day, Dusk)}})},
    });
}

std::string MonthJson(int32_t year, int month, int today)
{
    MonthGrid grid = FillMonthGrid(year, month, 0);
    std::vector<std::string> days;
    for (int cell = 1; cell <= MonthCellCount; ++cell) {
        int day = MonthCellDay(year, month, cell);
        if (day == 0) continue;
        const std::string& text = grid.cells[size_t(cell)];
        days.push_back(JsonObject({{"day", JsonNumber(day)},
                                   {"date", JsonDate({year, month, day})},
                                   {"weekday", JsonNumber((cell - 1) % 7)},
                                   {"text", JsonText(CellSecondLine(text))},
                                   {"today", JsonBool(day == today)}}));
    }
    std::vector<std::string> terms, moons;
    for (const TermMomentOfYear& term : YearSolarTerms(year)) {
        auto date = DayNumberToDate(int32_t(std::floor(term.moment)));
        if (date && date->year == year && date->month == month)
            terms.push_back(JsonObject({{"number", JsonNumber(term.number)},
                                        {"name", JsonText(SolarTermNames[term.number])},
                                        {"moment", JsonMoment(term.moment)}}));
    }
    YearMoonMoments yearMoons = YearMoons(year);
    std::vector<std::pair<double, const char*>> phases;
    for (double m : yearMoons.newMoons) phases.push_back({m, "朔"});
    for (double m : yearMoons.fullMoons) phases.push_back({m, "望"});
    std::sort(phases.begin(), phases.end());
    for (const auto& [moment, name] : phases) {
        auto date = DayNumberToDate(int32_t(std::floor(moment)));
        if (date && date->year == year && date->month == month)
            moons.push_back(JsonObject({{"name", JsonText(name)}, {"moment", JsonMoment(moment)}}));
    }
    return JsonObject({{"year", JsonNumber(year)}, {"month", JsonNumber(month)}, {"days", JsonArray(days)},
                       {"terms", JsonArray(terms)}, {"moons", JsonArray(moons)}});
}

std::string TermsJson(int32_t year)
{
    std::vector<std::string> terms;
    for (const TermMomentOfYear& term : YearSolarTerms(year))
        terms.push_back(JsonObject({{"number", JsonNumber(term.number)},
                                    {"name", JsonText(SolarTermNames[term.number])},
                                    {"moment", JsonMoment(term.moment)}}));
    return JsonObject({{"year", JsonNumber(year)}, {"terms", JsonArray(terms)}});
}

std::string LunarMonthsJson(int32_t lunarYear)
{
    std::vector<std::string> months;
    for (const LunarMonthOfYear& m : YearLunarMonths(lunarYear)) {
        JsonMembers members = LunarMonthMembers(m.month);
        members.push_back({"name", JsonText(LunarMonthName(m.month, m.big ? 1 : 0))});
        members.push_back({"days", JsonNumber(m.big ? 30 : 29)});
        members.push_back({"first", JsonTaggedDate(m.firstDay)});
        members.push_back({"last", JsonTaggedDate(m.lastDay)});
        months.push_back(JsonObject(members));
    }
    return JsonObject({{"year", JsonNumber(lunarYear)}, {"months", JsonArray(months)}});
}

std::string MoonsJson(int32_t year)
{
    YearMoonMoments moons = YearMoons(year);
    return JsonObject({{"year", JsonNumber(year)},
                       {"new_moons", Moments(moons.newMoons)},
                       {"full_moons", Moments(moons.fullMoons)}});
}

std::string SunJson(int32_t year, int32_t cityCode, bool twilight)
{
    std::vector<std::string> days;
    for (const SunTimesOfDay& day : YearSunTimes(year, cityCode, twilight)) {
        auto date = DayNumberToDate(day.dayNumber);
        days.push_back(JsonObject({{"date", date ? JsonDate(*date) : "null"},
                                   {twilight ? "dawn" : "sunrise", JsonText(day.first)},
                                   {twilight ? "dusk" : "sunset", JsonText(day.second)}}));
    }
    const City& city = BuiltInCity(cityCode);
    return JsonObject({{"year", JsonNumber(year)},
                       {"city", JsonObject({{"code", JsonNumber(cityCode)}, {"name", JsonText(city.name)}})},
                       {"days", JsonArray(days)}});
}

std::string ConvertJson(const std::string& from, const std::string& to, const std::vector<std::string>& lines)
{
    auto date = lines.empty() ? std::nullopt : ReadTaggedDate(lines[0]);
    JsonMembers members = {{"from", JsonString(from)}, {"to", JsonString(to)}};
    if (date) {
        members.push_back({"year", JsonNumber(date->year)});
        if (to == "lunar") {
            for (auto& member : LunarMonthMembers(date->month)) members.push_back(member);
        } else {
            members.push_back({"month", JsonNumber(date->month)});
        }
        members.push_back({"day", JsonNumber(date->day)});
        if (to == "gregorian") members.push_back({"date", JsonDate(*date)});
    }
    members.push_back({"tagged", lines.empty() ? "null" : JsonText(lines[0])});
    members.push_back({"text", lines.size() < 2 ? "null" : JsonText(lines[1])});
    return JsonObject(members);
}

std::string QueryJson(const char* search, const QueryResult& result)
{
    const std::string& text = result.stopped ? result.found : result.text;
    std::vector<std::string> lines = TextLines(text);
    std::string status = "null";
    // The finished search's text opens with its status line.
    if (!result.stopped && !lines.empty()) {
        status = lines.front();
        lines.erase(lines.begin());
    }
    return JsonObject({{"search", JsonString(search)},
                       {"count", JsonNumber(result.count)},
                       {"stopped", JsonBool(result.stopped)},
                       {"status", status},
                       {"results", JsonArray(lines)}});
}
