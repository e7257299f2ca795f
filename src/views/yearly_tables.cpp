#include "yearly_tables.h"

#include <cmath>
#include <cstdlib>
#include <vector>

#include "calendar_names.h"
#include "civil_calendar.h"
#include "date_text.h"
#include "historical_calendar.h"
#include "lunar_year.h"
#include "places.h"
#include "sun_events.h"
#include "time_scales.h"

namespace {

// Characters [from, from + count) of a text (0-based), "" past its end, so a
// failed conversion upstream never turns into an out-of-range read.
std::string Chars(const std::string& text, size_t from, size_t count = std::string::npos)
{
    return from < text.size() ? text.substr(from, count) : std::string();
}

// The header's year: "2024", or for years before 1 "前" and 1 - y.
std::string HeaderYear(int32_t y)
{
    return y >= 1 ? std::to_string(y) : "前" + std::to_string(1 - int64_t(y));
}

std::string JoinLines(const std::vector<std::string>& lines)
{
    std::string text;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i > 0) text += "\r\n";
        text += lines[i];
    }
    return text;
}

// "02月04日16:27:02" from a moment text "AD02-04-2024 16:27:02".
std::string MonthDayTime(const std::string& momentText)
{
    return Chars(momentText, 2, 2) + "月" + Chars(momentText, 5, 2) + "日" + Chars(momentText, 13);
}

}  // namespace

std::string TableTitle(TableMode mode)
{
    switch (mode) {
    case TableMode::LunarMonths: return "计算农历月";
    case TableMode::SolarTerms: return "计算节气日";
    case TableMode::Moons: return "计算朔望日";
    case TableMode::SunTimes: return "计算太阳升降时刻";
    }
    return "";
}

std::string TableYearLabel(TableMode mode) { return mode == TableMode::LunarMonths ? "农历年份" : "公历年份"; }

int32_t FirstTableYear(TableMode mode)
{
    if (mode != TableMode::LunarMonths) return MinShownYear;
    // The lunar year that holds 1 January MinShownYear (it begins in the civil
    // year before), asked each time because the calendar setting may change.
    return ComputeDateBounds().firstLunar.year;
}

int32_t LastTableYear(TableMode) { return ToolMaxYear; }

bool IsTableYear(TableMode mode, int32_t year) { return year >= FirstTableYear(mode) && year <= LastTableYear(mode); }

YearFieldResult ReadTableYearField(TableMode mode, const std::string& field, bool beforeYearOne)
{
    return ReadYearField(field, beforeYearOne, FirstTableYear(mode), LastTableYear(mode));
}

YearFieldResult ReadYearField(const std::string& field, bool beforeYearOne, int32_t firstYear, int32_t lastYear)
{
    if (field.empty()) return {YearFieldCheck::Empty, 0};
    if (field.find_first_not_of("0123456789") != std::string::npos) return {YearFieldCheck::NotDigits, 0};
    // Leading zeros aside, more than nine digits is out of every range; the
    // check keeps the arithmetic below from overflowing on a long field.
    size_t first = field.find_first_not_of('0');
    std::string digits = first == std::string::npos ? "0" : field.substr(first);
    if (digits.size() > 9) return {YearFieldCheck::OutOfRange, 0};
    int32_t typed = std::atoi(digits.c_str());
    int32_t year = beforeYearOne ? 1 - typed : typed;
    if (year < firstYear || year > lastYear) return {YearFieldCheck::OutOfRange, 0};
    return {YearFieldCheck::Accepted, year};
}

YearField TableYearField(int32_t year)
{
    if (year <= 0) return {std::to_string(1 - int64_t(year)), true};
    return {std::to_string(year), false};
}

std::optional<int32_t> StepTableYear(TableMode mode, int32_t year, int step)
{
    int64_t next = int64_t(year) + step;
    if (next < FirstTableYear(mode) || next > LastTableYear(mode)) return std::nullopt;
    return int32_t(next);
}

std::vector<LunarMonthOfYear> YearLunarMonths(int32_t y)
{
    if (!IsTableYear(TableMode::LunarMonths, y)) return {};
    auto shape = LunarYearShapeOf(y);
    if (!shape) return {};
    std::vector<LunarMonthOfYear> months;
    auto add = [&](int month, bool big) {
        months.push_back({month, big, Chars(LunarToSolar(y, month, 1), 0, 12),
                          Chars(LunarToSolar(y, month, big ? 30 : 29), 0, 12)});
    };
    for (int i = 1; i <= 12; ++i) {
        add(i, shape->monthDays[i] == 30);
        if (shape->leapMonth == i) add(i + 12, shape->leapMonthDays == 30);
    }
    return months;
}

std::string LunarMonthsTable(int32_t y)
{
    std::vector<LunarMonthOfYear> months = YearLunarMonths(y);
    if (months.empty()) return "";
    std::vector<std::string> lines;
    lines.push_back("    农历 " + HeaderYear(y) + " 年共 " + std::to_string(months.size()) + " 个月");
    for (const LunarMonthOfYear& m : months) {
        // Seven blanks after a regular name and five after a leap name (two
        // bytes longer) keep the civil days in one column.
        lines.push_back(LunarMonthName(m.month, m.big ? 1 : 0) + (m.month > 12 ? "     " : "       ") +
                        "对应公历" + m.firstDay + " ～ " + m.lastDay);
    }
    return JoinLines(lines);
}

std::vector<TermMomentOfYear> YearSolarTerms(int32_t y)
{
    if (!IsTableYear(TableMode::SolarTerms, y)) return {};
    int32_t first = DateToDayNumber(y, 1, 1);
    int32_t last = DateToDayNumber(y, 12, 31);
    // The first term on or after 1 January, and the last term of the year:
    // the one before the first term of the next year.
    int c = TermNumber(first);
    int e = TermNumber(last + 1) - 1;
    if (e == 0) e = 24;
    // Their distance gives the count: 24 in a common year, 23 when the year
    // is short (1582) and 25 when a term repeats at both ends.
    int n = 0;
    int span = e - c;
    if (c < 1 || c > 24) n = 0;
    else if (span == 0) n = 25;
    else if (span == 22 || span == -2) n = 23;
    else if (span == 23 || span == -1) n = 24;
    std::vector<TermMomentOfYear> terms;
    // Each term is searched from ten days after the previous one, starting
    // fifteen days before the first, so none is found twice or skipped.
    double t = TermMoment(first, 0) - 15;
    for (int i = 1; i <= n; ++i) {
        int k = c + i - 1;
        if (k > 24) k -= 24;
        t = TermMoment(int32_t(std::floor(t)) + 10, 0);
        terms.push_back({k, t});
    }
    return terms;
}

std::string SolarTermsTable(int32_t y)
{
    if (!IsTableYear(TableMode::SolarTerms, y)) return "";
    std::vector<TermMomentOfYear> terms = YearSolarTerms(y);
    std::vector<std::string> lines;
    lines.push_back("    公历 " + HeaderYear(y) + " 年共 " + std::to_string(terms.size()) + " 个节气");
    for (size_t i = 1; i <= terms.size(); ++i) {
        std::string entry = ZeroPadded(int64_t(i), 2) + ": " + SolarTermNames[terms[i - 1].number] +
                            MonthDayTime(MomentToText(terms[i - 1].moment));
        if (i % 2 == 1) lines.push_back(entry);
        else lines.back() += "   " + entry;
    }
    return JoinLines(lines);
}

YearMoonMoments YearMoons(int32_t y)
{
    if (!IsTableYear(TableMode::Moons, y)) return {};
    int32_t first = DateToDayNumber(y, 1, 1);
    int32_t next = DateToDayNumber(y, 12, 31) + 1;
    YearMoonMoments moons;
    // Each kind is counted from its first event of the year to the first of
    // the next, and each event searched from ten days after the one before.
    const std::pair<double (*)(int32_t), std::vector<double>*> kinds[] = {{NewMoonMoment, &moons.newMoons},
                                                                          {FullMoonMoment, &moons.fullMoons}};
    for (auto [find, list] : kinds) {
        double moment = find(first);
        int count = int(std::floor((find(next) - moment) / 29));
        for (int i = 0; i < count; ++i) {
            if (i > 0) moment = find(int32_t(std::floor(moment)) + 10);
            list->push_back(moment);
        }
    }
    return moons;
}

std::string MoonsTable(int32_t y)
{
    if (!IsTableYear(TableMode::Moons, y)) return "";
    YearMoonMoments moons = YearMoons(y);
    int32_t first = DateToDayNumber(y, 1, 1);
    // The kind that comes first in the year opens every line.
    bool newFirst = NewMoonMoment(first) < FullMoonMoment(first);
    struct Column {
        const char* word;
        const std::vector<double>* moments;
    };
    Column newMoons = {"朔日", &moons.newMoons};
    Column fullMoons = {"望日", &moons.fullMoons};
    Column& lead = newFirst ? newMoons : fullMoons;
    Column& trail = newFirst ? fullMoons : newMoons;
    size_t leadCount = lead.moments->size(), trailCount = trail.moments->size();

    std::vector<std::string> lines;
    lines.push_back("    公历 " + HeaderYear(y) + " 年共 " + std::to_string(leadCount) + " 次" + lead.word + " " +
                    std::to_string(trailCount) + " 次" + trail.word);
    // One line per event of the more frequent kind; a column stays blank
    // once its own events are used up.
    size_t lineCount = leadCount > trailCount ? leadCount : trailCount;
    for (size_t i = 0; i < lineCount; ++i) {
        std::string line = std::string(lead.word) + " " +
                           (i < leadCount ? MonthDayTime(MomentToText((*lead.moments)[i])) : "00月00日00:00:00");
        if (i >= leadCount) line.assign(line.size(), ' ');
        if (i < trailCount)
            line += "         " + std::string(trail.word) + " " + MonthDayTime(MomentToText((*trail.moments)[i]));
        lines.push_back(line);
    }
    return JoinLines(lines);
}

std::vector<SunTimesOfDay> YearSunTimes(int32_t y, int32_t cityCode, bool twilight)
{
    if (!IsTableYear(TableMode::SunTimes, y) || cityCode < 1 || cityCode > CityCount()) return {};
    // The chosen city is the current place only while the times are computed.
    int32_t ownCity = CurrentPlace.cityCode;
    SelectCity(cityCode);
    const int firstKind = twilight ? Dawn : Sunrise;
    const int secondKind = twilight ? Dusk : Sunset;
    std::vector<SunTimesOfDay> days;
    // Day numbers run on without a gap even across the ten days dropped in
    // October 1582, so the year's days are its first day plus 0..n-1.
    int32_t first = DateToDayNumber(y, 1, 1);
    for (int32_t day = first; day < first + DaysInYear(y); ++day)
        days.push_back({day, SunTimeHere(day, firstKind),
                        SunTimeHere(day, secondKind)});
    SelectCity(ownCity);
    return days;
}

std::string SunTimesTable(int32_t y, int32_t cityCode, bool twilight)
{
    std::vector<SunTimesOfDay> days = YearSunTimes(y, cityCode, twilight);
    if (days.empty()) return "";
    const char* firstWord = twilight ? " 天亮时刻" : " 日出时刻";
    const char* secondWord = twilight ? " 天黑时刻" : " 日落时刻";
    std::vector<std::string> lines;
    lines.push_back("    公历 " + HeaderYear(y) + " 年 " + BuiltInCity(cityCode).name +
                    (twilight ? " 天亮天黑时刻" : " 日出日落时刻"));
    for (const SunTimesOfDay& day : days)
        lines.push_back(Chars(DayNumberToText(day.dayNumber), 2, 5) + firstWord + day.first + secondWord + day.second);
    return JoinLines(lines);
}
