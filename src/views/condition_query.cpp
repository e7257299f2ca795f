#include "condition_query.h"

#include <cmath>
#include <optional>
#include <vector>

#include "calendar_flags.h"
#include "calendar_names.h"
#include "civil_calendar.h"
#include "date_text.h"
#include "day_card.h"
#include "festivals.h"
#include "gbk_text.h"
#include "hijri_calendar.h"
#include "historical_calendar.h"
#include "lunar_year.h"
#include "seasonal_periods.h"
#include "sexagenary_cycle.h"
#include "stem_branch_days.h"
#include "weekday_zodiac.h"
#include "yearly_tables.h"

namespace {

const char LineBreak[] = "\r\n";

// "AD2020", "BC0104": the era tag and the four-digit year of a lunar year.
std::string EraYear(int32_t y) { return y >= 1 ? "AD" + ZeroPadded(y, 4) : "BC" + ZeroPadded(1 - int64_t(y), 4); }


// "正月" .. "腊月": the month's name without its length mark.
std::string PlainMonthName(int month)
{
    std::string name = LunarMonthName(month, 0);
    return LeftBytes(name, name.size() >= 2 ? name.size() - 2 : 0);
}

// The percentage done in hundredths (decimals 2) or tenths (1) of a per
// cent, halves to even.
int64_t ScaledPercent(int64_t done, int64_t total, int decimals)
{
    int64_t scale = decimals == 2 ? 100 : 10;
    if (total <= 0) total = 1;
    int64_t numerator = done * 100 * scale;
    int64_t q = numerator / total, r = numerator % total;
    if (2 * r > total || (2 * r == total && q % 2 == 1)) ++q;
    return q;
}

// Reports progress and asks for the stop after each step; the status line
// changes only when the shown percentage does. The text is made only then:
// a search of days takes millions of steps.
struct StepReporter {
    const QueryHooks& hooks;
    int64_t total;
    int decimals;
    std::string status;
    int64_t shown = -1;

    // True when the search must end here.
    bool AfterStep(int32_t step, int64_t done)
    {
        if (hooks.progress) {
            int64_t percent = ScaledPercent(done, total, decimals);
            bool changed = percent != shown;
            if (changed) {
                int64_t scale = decimals == 2 ? 100 : 10;
                shown = percent;
                status = "    正在查询，已完成 " + std::to_string(percent / scale) + "." +
                         ZeroPadded(percent % scale, decimals) + "%...";
            }
            hooks.progress(QueryProgress{step, status, changed});
        }
        return hooks.stopRequested && hooks.stopRequested();
    }
};

// The text of a result list, built as it grows: lines separated by "\r\n".
// A search of days lists millions of lines.
struct ListText {
    std::string text;
    bool any = false;  // a line has been started, maybe an empty one

    // Starts a line; the caller appends its text.
    std::string& Line()
    {
        if (any) text += LineBreak;
        any = true;
        return text;
    }
    void Add(const std::string& line) { Line() += line; }
};

QueryResult Finished(const std::string& statusLine, int count, ListText& list)
{
    QueryResult result;
    result.searched = true;
    result.count = count;
    result.status = statusLine;
    result.text.reserve(statusLine.size() + 2 + list.text.size());
    result.text = statusLine;
    if (list.any) result.text.append(LineBreak).append(list.text);
    result.found = std::move(list.text);
    return result;
}

QueryResult Stopped(int count, ListText& list)
{
    QueryResult result;
    result.searched = true;
    result.stopped = true;
    result.count = count;
    result.found = std::move(list.text);
    return result;
}

// The civil days of a lunar month in the tool's form "AD04-23-2020 ～ AD05-22-2020".
std::string MonthDays(int32_t y, int code, bool isLong)
{
    return LunarToSolar(y, code, 1) + " ～ " + LunarToSolar(y, code, isLong ? 30 : 29);
}

QueryResult SearchLeapMonths(const MonthQuery& query, int32_t years, const QueryHooks& hooks)
{
    StepReporter reporter{hooks, years, 1, ""};
    ListText list;
    int count = 0;
    for (int32_t i = 0; i < years; ++i) {
        int32_t y = query.firstYear + i;
        auto shape = LunarYearShapeOf(y);
        int leap = shape ? shape->leapMonth : 0;
        if (leap != 0 && (query.leapMonth == 0 || leap == query.leapMonth)) {
            bool isLong = shape->leapMonthDays == 30;
            list.Add(EraYear(y) + LunarMonthName(leap + 12, isLong ? 1 : 0) + "    " + MonthDays(y, leap + 12, isLong));
            ++count;
        }
        if (reporter.AfterStep(y, i)) return Stopped(count, list);
    }
    std::string what = query.leapMonth == 0 ? " 个农历闰月" : " 个农历闰" + PlainMonthName(query.leapMonth);
    return Finished("    共找到 " + std::to_string(count) + what, count, list);
}

QueryResult SearchMonthRuns(const MonthQuery& query, int32_t years, const QueryHooks& hooks)
{
    bool wantLong = query.search != MonthSearch::ThreeShort;
    size_t runLength = query.search == MonthSearch::FourLong ? 4 : 3;
    std::string kind = query.search == MonthSearch::FourLong  ? "组四连大月"
                       : query.search == MonthSearch::ThreeLong ? "组三连大月"
                                                                : "组三连小月";
    StepReporter reporter{hooks, years, 1, ""};
    ListText list;
    MonthRunFinder finder{wantLong, runLength, {}};
    int count = 0;
    for (int32_t i = 0; i < years; ++i) {
        int32_t y = query.firstYear + i;
        auto shape = LunarYearShapeOf(y);
        // The months in calendar order; a run goes on into the next year.
        int months = !shape ? 0 : shape->leapMonth ? 13 : 12;
        for (int ordinal = 1; ordinal <= months; ++ordinal) {
            int code = LunarMonthFromOrdinal(y, ordinal);
            std::vector<RunMonth> group = finder.Add({y, code}, LunarMonthLength(y, code) == 30);
            if (group.empty()) continue;
            list.Add("");
            list.Add("第" + std::to_string(++count) + kind + "：");
            for (const RunMonth& month : group)
                list.Add("    " + EraYear(month.year) + LunarMonthName(month.code, wantLong ? 1 : 0) + "→" +
                         MonthDays(month.year, month.code, wantLong));
        }
        if (reporter.AfterStep(y, i)) return Stopped(count, list);
    }
    return Finished("    共找到 " + std::to_string(count) + " " + kind, count, list);
}

// The values of a function of the day over a block of days in which a value,
// once left, never comes back: where both ends of a stretch agree, every day
// between them agrees too, so a block is filled by halving it. A block is
// filled only while days are asked one after the other; single days are
// simply computed.
struct RunMemo {
    int32_t first = 0;
    std::vector<int> values;
    int32_t lastAsked = NoDayNumber;

    template <class F>
    int Value(int32_t j, int32_t blockFirst, int32_t blockLast, F f)
    {
        bool walking = lastAsked == j - 1;
        lastAsked = j;
        if (!values.empty() && j >= first && int64_t(j) - first < int64_t(values.size()))
            return values[size_t(j - first)];
        if (!walking || j < blockFirst || j > blockLast) return f(j);
        first = blockFirst;
        values.assign(size_t(blockLast - blockFirst) + 1, 0);
        Fill(0, values.size() - 1, f(blockFirst), f(blockLast), f);
        return values[size_t(j - first)];
    }

    template <class F>
    void Fill(size_t lo, size_t hi, int atLo, int atHi, F f)
    {
        if (atLo == atHi || hi - lo <= 1) {
            for (size_t n = lo; n <= hi; ++n) values[n] = n == hi ? atHi : atLo;
            return;
        }
        size_t mid = lo + (hi - lo) / 2;
        int atMid = f(first + int32_t(mid));
        Fill(lo, mid, atLo, atMid, f);
        Fill(mid, hi, atMid, atHi, f);
    }
};

// The searched days ask the same slow astronomical questions again and
// again: the next solar term and the stem-branch year and month of mode 0,
// each an iterative computation. They change only on term days, so each
// answer is kept for the stretch of days that share it.
struct DayMemo {
    TermDayMemo terms;
    int32_t NextTermDay(int32_t j) { return terms.NextTermDay(j); }
    bool IsTermDay(int32_t j) { return terms.IsTermDay(j); }

    // Within a Gregorian year the mode 0 year index moves at most twice, at
    // 立春, and never back.
    RunMemo yearIndices;
    int YearIndex(const CalendarDate& date, int mode)
    {
        if (mode != 0) return YearCycleIndex(date.year, date.month, date.day, mode);
        return yearIndices.Value(DateToDayNumber(date), DateToDayNumber(date.year, 1, 1),
                                 DateToDayNumber(date.year, 12, 31), [](int32_t j) {
                                     auto day = DayNumberToDate(j);
                                     return day ? YearCycleIndex(day->year, day->month, day->day, 0) : 0;
                                 });
    }

    // Mode 0 month index: a function of the year index and the current term,
    // which stays the same from one term day to the day before the next.
    int32_t monthTermDay = 0, monthNextTerm = 0;
    int monthYearIndex = -1, monthIndex = 0;
    int MonthIndex(int32_t j, const CalendarDate& date, int mode)
    {
        if (mode != 0) return MonthCycleIndex(date.year, date.month, date.day, mode);
        int32_t termDay = NextTermDay(j);
        int32_t nextTerm = termDay == j ? NextTermDay(j + 1) : termDay;
        int yearIndex = YearIndex(date, mode);
        if (termDay != monthTermDay || nextTerm != monthNextTerm || yearIndex != monthYearIndex) {
            monthTermDay = termDay;
            monthNextTerm = nextTerm;
            monthYearIndex = yearIndex;
            monthIndex = MonthCycleIndex(date.year, date.month, date.day, 0);
        }
        return monthIndex;
    }

    // The stem-branch texts of the listed days, which come in order.
    StemBranchDays cycles;
    void AppendCycleText(std::string& text, int32_t j, const CalendarDate& date, int mode)
    {
        cycles.Append(text, j, date, mode, terms);
    }
};

// The number 1..24 of a solar term's name, 0 for any other text.
int TermNamed(const std::string& name)
{
    for (int k = 1; k <= 24; ++k)
        if (name == SolarTermNames[k]) return k;
    return 0;
}

bool IsDayFound(const DayQuery& query, int32_t j, const CalendarDate& date, int mode, DayMemo& memo)
{
    // The cheap tests first: every test is a pure function of the day, so
    // the order changes only how soon a day is rejected.
    if (query.gregorianMonth && query.gregorianMonth != date.month) return false;
    if (query.gregorianDay && query.gregorianDay != date.day) return false;
    if (!query.weekday.empty() && WeekdayNameOfDay(j) != query.weekday) return false;
    if (query.dayCycle && DayCycleIndex(date.year, date.month, date.day) != query.dayCycle) return false;
    if (query.hijriMonth || query.hijriDay) {
        auto hijri = HijriDateOfDay(j);
        int month = hijri ? hijri->month : 0, day = hijri ? hijri->day : 0;
        if ((query.hijriMonth && query.hijriMonth != month) || (query.hijriDay && query.hijriDay != day))
            return false;
    }
    // The lunar date, found once for the lunar criteria and the festivals.
    std::optional<LunarDate> lunarOfDay;
    bool lunarKnown = false;
    auto lunarDate = [&]() -> const std::optional<LunarDate>& {
        if (!lunarKnown) lunarOfDay = LunarDateOf(date);
        lunarKnown = true;
        return lunarOfDay;
    };
    if (query.lunarMonth || query.lunarDay) {
        const std::optional<LunarDate>& lunar = lunarDate();
        int month = lunar ? lunar->month : 0, day = lunar ? lunar->day : 0;
        if ((query.lunarMonth && query.lunarMonth != month) || (query.lunarDay && query.lunarDay != day))
            return false;
    }
    if (query.yearCycle && memo.YearIndex(date, mode) != query.yearCycle) return false;
    // Only a term day's text says "今日", followed by the name of the term
    // that TermNumber gives; the text itself decides.
    if (!query.term.empty()) {
        if (!memo.IsTermDay(j)) return false;
        int named = TermNamed(query.term);
        if (named && TermNumber(j) != named) return false;
        // "今日" opens the text and comes nowhere else in it, so a match
        // starts there; a criterion no longer than the name is matched
        // against the name without the time.
        std::string name = SolarTermOfDay(date.year, date.month, date.day);
        std::string text = query.term.size() <= name.size() ? "今日" + name
                                                           : NextSolarTermText(date.year, date.month, date.day);
        if (!ContainsText(text, "今日" + query.term)) return false;
    }
    if (!query.festival.empty() && !ContainsText(DayFestivalText(date, lunarDate()), query.festival)) return false;
    if (query.monthCycle && memo.MonthIndex(j, date, mode) != query.monthCycle) return false;
    return true;
}

// Appends one listed day to the list.
void ListDay(int count, int32_t j, const CalendarDate& date, int mode, DayMemo& memo, ListText& list)
{
    // Asked before the stem-branch text, which looks for the next terms
    // from the day on.
    bool termDay = memo.IsTermDay(j);
    std::optional<LunarDate> lunar = LunarDateOf(date);
    list.Add("");
    list.Line().append("第").append(std::to_string(count)).append("个条件日：");
    AppendDateText(list.Line().append("    对应公历→"), date);
    AppendLunarDateText(list.Line().append("    对应农历→"), lunar);
    AppendHijriDateText(list.Line().append("    对应回历→"), HijriDateOfDay(j));
    list.Line().append("    对应星期→").append(WeekdayNameOfDay(j));
    memo.AppendCycleText(list.Line().append("    对应干支→"), j, date, mode);
    if (termDay) {
        // On a term day the text is "今日" with the term's name and time.
        std::string term = NextSolarTermText(date.year, date.month, date.day);
        if (!term.empty()) list.Line().append("    对应节气→").append(term);
    }
    std::string festivals = DayFestivalText(date, lunar);
    if (!festivals.empty()) list.Line().append("    对应节日→").append(festivals);
}

}  // namespace

std::vector<RunMonth> MonthRunFinder::Add(const RunMonth& month, bool isLong)
{
    if (isLong != wantLong) {
        run.clear();
        return {};
    }
    run.push_back(month);
    if (run.size() < size) return {};
    // The group's months start no other group.
    std::vector<RunMonth> group;
    group.swap(run);
    return group;
}

std::string QueryTitle(QueryMode mode) { return mode == QueryMode::Months ? "查询条件月" : "查询条件日"; }

int32_t FirstQueryYear(QueryMode mode)
{
    return mode == QueryMode::Months ? ComputeDateBounds().firstLunar.year : MinShownYear;
}

bool IsQueryStartYear(QueryMode mode, int32_t year) { return year >= FirstQueryYear(mode) && year <= ToolMaxYear; }

int32_t QueryYearsWithinTools(int32_t firstYear, int32_t years)
{
    if (years <= 0 || firstYear > ToolMaxYear) return 0;
    return int64_t(firstYear) + years - 1 > ToolMaxYear ? ToolMaxYear - firstYear + 1 : years;
}

bool HasAnyCriterion(const DayQuery& q)
{
    return q.gregorianMonth || q.gregorianDay || q.lunarMonth || q.lunarDay || q.hijriMonth || q.hijriDay ||
           q.yearCycle || q.monthCycle || q.dayCycle || !q.weekday.empty() || !q.term.empty() ||
           !q.festival.empty();
}

QueryResult SearchConditionMonths(const MonthQuery& query, const QueryHooks& hooks)
{
    int32_t years = QueryYearsWithinTools(query.firstYear, query.years);
    if (!IsQueryStartYear(QueryMode::Months, query.firstYear) || years <= 0) return {};
    if (query.search == MonthSearch::LeapMonths) {
        if (query.leapMonth < 0 || query.leapMonth > 12) return {};
        return SearchLeapMonths(query, years, hooks);
    }
    return SearchMonthRuns(query, years, hooks);
}

QueryResult SearchConditionDays(const DayQuery& query, const QueryHooks& hooks)
{
    int32_t years = QueryYearsWithinTools(query.firstYear, query.years);
    if (!IsQueryStartYear(QueryMode::Days, query.firstYear) || years <= 0 || !HasAnyCriterion(query)) return {};
    int32_t first = DateToDayNumber(query.firstYear, 1, 1);
    int32_t last = DateToDayNumber(query.firstYear + years - 1, 12, 31);
    int mode = GanZhiFromChunjieFlag;
    StepReporter reporter{hooks, int64_t(last) - first + 1, 2, ""};
    DayMemo memo;
    ListText list;
    int count = 0;
    for (int32_t j = first; j <= last; ++j) {
        auto date = DayNumberToDate(j);
        if (date && IsDayFound(query, j, *date, mode, memo)) ListDay(++count, j, *date, mode, memo, list);
        if (reporter.AfterStep(j, int64_t(j) - first)) return Stopped(count, list);
    }
    return Finished("    共找到 " + std::to_string(count) + " 个条件日", count, list);
}


QuerySpan ReadQuerySpan(QueryMode mode, const QuerySpanFields& fields)
{
    QuerySpan span;
    span.fields = fields;
    YearFieldResult start = ReadYearField(fields.startYear, fields.beforeYearOne, FirstQueryYear(mode), ToolMaxYear);
    if (start.check == YearFieldCheck::NotDigits || start.check == YearFieldCheck::OutOfRange)
        span.fields.startYear = "";
    // The span is any number of years: a longer field than the range is cut.
    YearFieldResult years = ReadYearField(fields.years, false, 0, 999999999);
    int32_t count = years.check == YearFieldCheck::Accepted     ? years.year
                    : years.check == YearFieldCheck::OutOfRange ? 999999999
                                                                : 0;
    if (years.check == YearFieldCheck::NotDigits) span.fields.years = "";
    if (start.check != YearFieldCheck::Accepted || count <= 0) return span;
    span.firstYear = start.year;
    span.years = QueryYearsWithinTools(start.year, count);
    if (span.years != count) span.fields.years = std::to_string(span.years);
    span.ok = span.years > 0;
    return span;
}

std::vector<std::string> LeapMonthItems()
{
    std::vector<std::string> items{""};
    for (int m = 1; m <= 12; ++m) items.push_back(std::to_string(m));
    return items;
}

std::string DayCriterionLabel(DayCriterion criterion)
{
    static const char* const labels[DayCriterionCount] = {"公历月", "公历日", "农历月", "农历日", "回历月", "回历日",
                                                          "干支年", "干支月", "干支日", "星期",   "节气",   "节日"};
    return labels[int(criterion)];
}

std::vector<std::string> DayCriterionNames(DayCriterion criterion)
{
    std::vector<std::string> names;
    switch (criterion) {
    case DayCriterion::YearCycle:
    case DayCriterion::MonthCycle:
    case DayCriterion::DayCycle:
        for (int i = 1; i <= 60; ++i) names.push_back(CycleName(i));
        break;
    case DayCriterion::Weekday:
        for (int n = 1; n <= 7; ++n) names.push_back(WeekdayNameOf(n));
        break;
    case DayCriterion::Term: names.assign(SolarTermNames + 1, SolarTermNames + 25); break;
    default: break;
    }
    return names;
}

std::vector<std::string> DayCriterionItems(DayCriterion criterion)
{
    std::vector<std::string> items{""};
    auto numbers = [&items](int last, const char* unit) {
        for (int n = 1; n <= last; ++n) items.push_back(std::to_string(n) + unit);
    };
    auto named = [&items, criterion](const char* unit) {
        for (const std::string& name : DayCriterionNames(criterion)) items.push_back(name + unit);
    };
    switch (criterion) {
    case DayCriterion::GregorianMonth: numbers(12, "月"); break;
    case DayCriterion::GregorianDay: numbers(31, "日"); break;
    case DayCriterion::LunarMonth:
        for (int code = 1; code <= 24; ++code) items.push_back((code > 12 ? "闰" : "") + PlainMonthName((code - 1) % 12 + 1));
        break;
    case DayCriterion::LunarDay:
        for (int d = 1; d <= 30; ++d) items.push_back(LunarDayName(d));
        break;
    case DayCriterion::HijriMonth: numbers(12, "月"); break;
    case DayCriterion::HijriDay: numbers(30, "日"); break;
    case DayCriterion::YearCycle: named("年"); break;
    case DayCriterion::MonthCycle: named("月"); break;
    case DayCriterion::DayCycle: named("日"); break;
    case DayCriterion::Weekday:
    case DayCriterion::Term: named(""); break;
    case DayCriterion::Festival: items.insert(items.end(), {"复活节", "母亲节", "父亲节", "感恩节"}); break;
    }
    return items;
}

void SetDayCriterion(DayQuery& query, DayCriterion criterion, int item, const std::string& text)
{
    int* const numbers[] = {&query.gregorianMonth, &query.gregorianDay, &query.lunarMonth, &query.lunarDay,
                            &query.hijriMonth,     &query.hijriDay,     &query.yearCycle,  &query.monthCycle,
                            &query.dayCycle};
    int at = int(criterion);
    if (at < 9) {
        int count = int(DayCriterionItems(criterion).size());
        *numbers[at] = item > 0 && item < count ? item : 0;
        return;
    }
    if (criterion == DayCriterion::Festival) {
        query.festival = TrimBlanks(text);
        return;
    }
    std::vector<std::string> items = DayCriterionItems(criterion);
    (criterion == DayCriterion::Weekday ? query.weekday : query.term) =
        item > 0 && item < int(items.size()) ? items[size_t(item)] : "";
}
