#include "condition_query.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "calendar_flags.h"
#include "civil_calendar.h"
#include "date_text.h"
#include "festivals.h"
#include "gbk_text.h"
#include "hijri_calendar.h"
#include "lunar_year.h"
#include "seasonal_periods.h"
#include "sexagenary_cycle.h"
#include "weekday_zodiac.h"
#include "window_lines.h"

namespace {

// The tagged Gregorian dates of the days a search listed.
std::vector<std::string> ListedDays(const QueryResult& result)
{
    const std::string mark = "    对应公历→";
    std::vector<std::string> days;
    for (const std::string& line : WindowLines(result.found))
        if (line.compare(0, mark.size(), mark) == 0) days.push_back(line.substr(mark.size()));
    return days;
}

// The first line in which two texts differ, with its number; "" when they
// are the same.
std::string FirstDifference(const std::string& got, const std::string& want)
{
    std::vector<std::string> a = WindowLines(got), b = WindowLines(want);
    for (size_t i = 0; i < std::max(a.size(), b.size()); ++i) {
        std::string x = i < a.size() ? a[i] : "(none)", y = i < b.size() ? b[i] : "(none)";
        if (x != y) return "line " + std::to_string(i + 1) + ": " + x + " | want " + y;
    }
    return "";
}

MonthQuery Months(MonthSearch search, int32_t first, int32_t years, int leapMonth = 0)
{
    MonthQuery query;
    query.search = search;
    query.firstYear = first;
    query.years = years;
    query.leapMonth = leapMonth;
    return query;
}

// Everything the days mode compares, computed for every day the plain way.
struct DayFacts {
    int32_t j;
    CalendarDate date;
    int lunarMonth, lunarDay, hijriMonth, hijriDay;
    int yearCycle[2], monthCycle[2], dayCycle;
    std::string weekday, term, festival;
};

int TextNumber(const std::string& text, size_t at) { return text.size() == 12 ? std::stoi(text.substr(at, 2)) : 0; }

std::vector<DayFacts> FactsOfYears(int32_t first, int32_t years)
{
    std::vector<DayFacts> facts;
    for (int32_t j = DateToDayNumber(first, 1, 1); j <= DateToDayNumber(first + years - 1, 12, 31); ++j) {
        CalendarDate d = *DayNumberToDate(j);
        std::string lunar = SolarToLunar(d.year, d.month, d.day), hijri = SolarToHijriText(d.year, d.month, d.day);
        std::string lunarFestival = LunarFestivalText(
            lunar.empty() ? 0 : (lunar[0] == 'B' ? 1 - std::stoi(lunar.substr(8)) : std::stoi(lunar.substr(8))),
            TextNumber(lunar, 2), TextNumber(lunar, 5));
        std::string gregorian = GregorianFestivalText(d.year, d.month, d.day, 1);
        std::string festival = lunarFestival.empty() ? gregorian
                               : gregorian.empty()   ? lunarFestival
                                                     : lunarFestival + " " + gregorian;
        facts.push_back({j, d, TextNumber(lunar, 2), TextNumber(lunar, 5), TextNumber(hijri, 2),
                         TextNumber(hijri, 5),
                         {YearCycleIndex(d.year, d.month, d.day, 0), YearCycleIndex(d.year, d.month, d.day, 1)},
                         {MonthCycleIndex(d.year, d.month, d.day, 0), MonthCycleIndex(d.year, d.month, d.day, 1)},
                         DayCycleIndex(d.year, d.month, d.day), WeekdayName(d.year, d.month, d.day),
                         NextSolarTermText(d.year, d.month, d.day), festival});
    }
    return facts;
}

// The days a query must find, testing every criterion on every day.
std::vector<std::string> PlainSearch(const std::vector<DayFacts>& facts, const DayQuery& q, int mode)
{
    std::vector<std::string> days;
    for (const DayFacts& f : facts) {
        bool found = (!q.gregorianMonth || q.gregorianMonth == f.date.month) &&
                     (!q.gregorianDay || q.gregorianDay == f.date.day) &&
                     (!q.lunarMonth || q.lunarMonth == f.lunarMonth) && (!q.lunarDay || q.lunarDay == f.lunarDay) &&
                     (!q.hijriMonth || q.hijriMonth == f.hijriMonth) && (!q.hijriDay || q.hijriDay == f.hijriDay) &&
                     (!q.yearCycle || q.yearCycle == f.yearCycle[mode]) &&
                     (!q.monthCycle || q.monthCycle == f.monthCycle[mode]) &&
                     (!q.dayCycle || q.dayCycle == f.dayCycle) && (q.weekday.empty() || q.weekday == f.weekday) &&
                     (q.term.empty() || f.term.find("今日" + q.term) != std::string::npos) &&
                     (q.festival.empty() || f.festival.find(q.festival) != std::string::npos);
        if (found) days.push_back(DayNumberToText(f.j));
    }
    return days;
}

// Runs the body with GanZhiFromChunjieFlag set and restores it.
struct ChunjieSetting {
    explicit ChunjieSetting(int flag) { GanZhiFromChunjieFlag = flag; }
    ~ChunjieSetting() { GanZhiFromChunjieFlag = 0; }
};

}  // namespace

TEST(ConditionQueryMonths, LeapMonthsFollowTheYearRecords)
{
    QueryResult result = SearchConditionMonths(Months(MonthSearch::LeapMonths, 2000, 31));
    ASSERT_TRUE(result.searched);
    std::vector<std::string> lines = WindowLines(result.text);
    ASSERT_EQ(lines.size(), 12u);
    EXPECT_EQ(lines[0], "    共找到 11 个农历闰月");
    // Each listed year is one whose record names a leap month, in order.
    size_t next = 1;
    for (int32_t y = 2000; y <= 2030; ++y) {
        std::string record = GetLunarYearRecord(y);
        if (record[12] == '0') continue;
        ASSERT_LT(next, lines.size());
        EXPECT_EQ(lines[next].substr(0, 6), "AD" + std::to_string(y));
        ++next;
    }
    EXPECT_EQ(lines[1], "AD2001闰四月小    AD05-23-2001 ～ AD06-20-2001");
    EXPECT_EQ(lines[7], "AD2017闰六月大    AD07-23-2017 ～ AD08-21-2017");
    EXPECT_EQ(lines[11], "AD2028闰五月小    AD06-23-2028 ～ AD07-21-2028");
}

TEST(ConditionQueryMonths, ChosenLeapMonthsAndEmptySpans)
{
    QueryResult fourth = SearchConditionMonths(Months(MonthSearch::LeapMonths, 2000, 31, 4));
    EXPECT_EQ(WindowLines(fourth.text)[0], "    共找到 3 个农历闰四月");
    EXPECT_EQ(fourth.count, 3);
    EXPECT_EQ(SearchConditionMonths(Months(MonthSearch::LeapMonths, 2021, 2)).text, "    共找到 0 个农历闰月");
    EXPECT_EQ(SearchConditionMonths(Months(MonthSearch::LeapMonths, 2021, 2, 12)).text, "    共找到 0 个农历闰腊月");
    // The record writes a leap 11th month as the digit "B".
    EXPECT_EQ(SearchConditionMonths(Months(MonthSearch::LeapMonths, 2033, 1, 11)).text,
              "    共找到 1 个农历闰冬月\r\nAD2033闰冬月小    AD12-22-2033 ～ AD01-19-2034");
    // Years before the common era carry the tag BC and the year 1 - y.
    EXPECT_EQ(WindowLines(SearchConditionMonths(Months(MonthSearch::LeapMonths, -104, 1)).text)[1],
              "BC0105闰七月小    BC08-28-0105 ～ BC09-25-0105");
}

TEST(ConditionQueryMonths, RunsAreCutIntoGroupsThatShareNoMonth)
{
    auto feed = [](MonthRunFinder finder, const std::string& lengths) {
        std::vector<std::vector<RunMonth>> groups;
        int code = 0;
        for (char c : lengths) {
            auto group = finder.Add({2000, ++code}, c == 'L');
            if (!group.empty()) groups.push_back(group);
        }
        return groups;
    };
    auto six = feed({true, 3, {}}, "LLLLLL");
    ASSERT_EQ(six.size(), 2u);
    EXPECT_EQ(six[0].front().code, 1);
    EXPECT_EQ(six[1].front().code, 4);
    auto broken = feed({true, 3, {}}, "LSLLL");
    ASSERT_EQ(broken.size(), 1u);
    EXPECT_EQ(broken[0].front().code, 3);
    EXPECT_EQ(feed({true, 4, {}}, "LLLLLLL").size(), 1u);
    EXPECT_EQ(feed({false, 3, {}}, "SSLSSS").size(), 1u);
}

TEST(ConditionQueryMonths, RunsGoOnAcrossYearEnds)
{
    QueryResult result = SearchConditionMonths(Months(MonthSearch::ThreeLong, 1903, 2));
    EXPECT_EQ(result.text,
              "    共找到 1 组三连大月\r\n\r\n第1组三连大月：\r\n"
              "    AD1903腊月大→AD01-17-1904 ～ AD02-15-1904\r\n"
              "    AD1904正月大→AD02-16-1904 ～ AD03-16-1904\r\n"
              "    AD1904二月大→AD03-17-1904 ～ AD04-15-1904");
    // The same run is not found when the span starts after its first month.
    EXPECT_EQ(SearchConditionMonths(Months(MonthSearch::ThreeLong, 1904, 1)).text, "    共找到 0 组三连大月");
    QueryResult four = SearchConditionMonths(Months(MonthSearch::FourLong, 1920, 2));
    EXPECT_EQ(WindowLines(four.text)[0], "    共找到 1 组四连大月");
    EXPECT_EQ(WindowLines(four.text)[2], "第1组四连大月：");
    QueryResult shortRun = SearchConditionMonths(Months(MonthSearch::ThreeShort, 2089, 1));
    EXPECT_EQ(WindowLines(shortRun.text)[2], "第1组三连小月：");
    EXPECT_EQ(WindowLines(shortRun.text)[3], "    AD2089五月小→AD06-09-2089 ～ AD07-07-2089");
}

TEST(ConditionQuerySpan, BoundsOfTheStartYearAndTheSpan)
{
    EXPECT_EQ(FirstQueryYear(QueryMode::Months), -104);  // the lunar year holding 1 January -103
    EXPECT_EQ(FirstQueryYear(QueryMode::Days), -103);
    EXPECT_FALSE(IsQueryStartYear(QueryMode::Days, -104));
    EXPECT_TRUE(IsQueryStartYear(QueryMode::Days, 5000));
    EXPECT_FALSE(IsQueryStartYear(QueryMode::Months, 5001));
    EXPECT_EQ(QueryYearsWithinTools(4990, 20), 11);
    EXPECT_EQ(QueryYearsWithinTools(2000, 0), 0);
    EXPECT_FALSE(SearchConditionMonths(Months(MonthSearch::LeapMonths, -105, 3)).searched);
    DayQuery days;
    days.firstYear = 2000;
    days.years = 1;
    EXPECT_FALSE(SearchConditionDays(days).searched);  // no criterion: nothing is searched
    days.gregorianDay = 31;
    days.firstYear = -104;
    EXPECT_FALSE(SearchConditionDays(days).searched);
    days.firstYear = 5000;
    days.years = 3;  // cut to 5000 alone
    EXPECT_EQ(SearchConditionDays(days).count, 7);
}

TEST(ConditionQueryDays, LunarDayAndSolarTerm)
{
    DayQuery query;
    query.lunarMonth = 1;
    query.lunarDay = 1;
    query.term = "立春";
    query.firstYear = 2000;
    query.years = 100;
    QueryResult result = SearchConditionDays(query);
    std::vector<std::string> lines = WindowLines(result.text);
    ASSERT_EQ(lines.size(), 19u);
    EXPECT_EQ(lines[0], "    共找到 2 个条件日");
    EXPECT_EQ(lines[1], "");
    EXPECT_EQ(lines[2], "第1个条件日：");
    EXPECT_EQ(lines[3], "    对应公历→AD02-04-2038");
    EXPECT_EQ(lines[4], "    对应农历→AD01-01-2038");
    EXPECT_EQ(lines[5], "    对应回历→" + SolarToHijriText(2038, 2, 4));
    EXPECT_EQ(lines[6], "    对应星期→星期四");
    EXPECT_EQ(lines[7], "    对应干支→" + CycleDateText(2038, 2, 4, 0));
    EXPECT_EQ(lines[8], "    对应节气→" + NextSolarTermText(2038, 2, 4));
    EXPECT_EQ(lines[8].substr(0, 22), "    对应节气→今日立春");
    EXPECT_EQ(lines[9], "    对应节日→春节");
    EXPECT_EQ(lines[12], "    对应公历→AD02-03-2087");
}

// The search keeps the slow answers (terms, stem-branch years and months)
// for stretches of days; what it finds must be what testing every day finds,
// under modern astronomy, the Qing methods and the mean calendars alike.
TEST(ConditionQueryDays, SameDaysAsTestingEveryDay)
{
    struct Span {
        int32_t first, years;
    };
    for (Span span : {Span{2023, 2}, Span{1700, 2}, Span{500, 2}}) {
        std::vector<DayFacts> facts = FactsOfYears(span.first, span.years);
        const DayFacts& spring = facts[40];  // early February, around 立春
        const DayFacts& summer = facts[200];
        for (int mode : {0, 1}) {
            ChunjieSetting chunjie(mode);
            std::vector<DayQuery> queries(7);
            queries[0].term = "立春";
            queries[1].term = "立";  // not a whole name: 立春, 立夏, 立秋 and 立冬
            queries[2].yearCycle = spring.yearCycle[mode];
            queries[3].monthCycle = spring.monthCycle[mode];
            queries[4].monthCycle = summer.monthCycle[mode];
            queries[4].dayCycle = summer.dayCycle;
            queries[5].festival = "节";
            queries[5].weekday = "星期日";
            queries[6].lunarDay = 1;
            queries[6].yearCycle = summer.yearCycle[mode];
            for (DayQuery& query : queries) {
                query.firstYear = span.first;
                query.years = span.years;
                std::vector<std::string> want = PlainSearch(facts, query, mode);
                SCOPED_TRACE("year " + std::to_string(span.first) + ", mode " + std::to_string(mode) + ", " +
                             std::to_string(&query - queries.data()));
                EXPECT_FALSE(want.empty());
                EXPECT_EQ(ListedDays(SearchConditionDays(query)), want);
            }
        }
    }
}

// Each listed day's texts are kept from day to day where they cannot
// change; each must read as the day's own. Seven weekdays list every day,
// across term days and year ends.
TEST(ConditionQueryDays, ListedTextsAreEachDaysOwn)
{
    for (int32_t first : {1911, 1644, -103}) {
        std::vector<DayFacts> facts = FactsOfYears(first, 2);
        for (int mode : {0, 1}) {
            ChunjieSetting chunjie(mode);
            for (int n = 1; n <= 7; ++n) {
                DayQuery query;
                query.weekday = WeekdayNameOf(n);
                query.firstYear = first;
                query.years = 2;
                std::string want;
                int count = 0;
                for (const DayFacts& f : facts) {
                    if (f.weekday != query.weekday) continue;
                    const CalendarDate& d = f.date;
                    want += (++count > 1 ? "\r\n\r\n第" : "\r\n第");
                    want += std::to_string(count) + "个条件日：" +
                            "\r\n    对应公历→" + DayNumberToText(f.j) +
                            "\r\n    对应农历→" + SolarToLunar(d.year, d.month, d.day) +
                            "\r\n    对应回历→" + SolarToHijriText(d.year, d.month, d.day) + "\r\n    对应星期→" +
                            f.weekday + "\r\n    对应干支→" + CycleDateText(d.year, d.month, d.day, mode);
                    if (f.term.compare(0, 4, "今日") == 0) want += "\r\n    对应节气→" + f.term;
                    if (!f.festival.empty()) want += "\r\n    对应节日→" + f.festival;
                }
                SCOPED_TRACE("year " + std::to_string(first) + ", mode " + std::to_string(mode) + ", weekday " +
                             std::to_string(n));
                QueryResult result = SearchConditionDays(query);
                EXPECT_EQ(FirstDifference(result.found, want), "");
                EXPECT_EQ(result.text, "    共找到 " + std::to_string(count) + " 个条件日\r\n" + result.found);
            }
        }
    }
}

TEST(ConditionQueryHooks, StopEndsTheSearchAndShowsNothing)
{
    int steps = 0;
    QueryHooks hooks;
    hooks.stopRequested = [&steps] { return ++steps == 11; };
    QueryResult months = SearchConditionMonths(Months(MonthSearch::LeapMonths, 2000, 31), hooks);
    EXPECT_TRUE(months.stopped);
    EXPECT_EQ(months.text, "");
    EXPECT_EQ(months.count, 4);  // 2001, 2004, 2006 and 2009, found before the stop after 2010
    EXPECT_EQ(WindowLines(months.found).back().substr(0, 6), "AD2009");

    steps = 0;
    DayQuery query;
    query.gregorianDay = 5;
    query.firstYear = 2000;
    query.years = 10;
    QueryResult days = SearchConditionDays(query, hooks);
    EXPECT_TRUE(days.stopped);
    EXPECT_EQ(days.text, "");
    EXPECT_EQ(ListedDays(days), std::vector<std::string>{"AD01-05-2000"});
}

TEST(ConditionQueryHooks, ProgressLineChangesWithThePercentage)
{
    std::vector<std::string> shown;
    int calls = 0;
    QueryHooks hooks;
    hooks.progress = [&](const QueryProgress& p) {
        ++calls;
        if (p.statusChanged) shown.push_back(p.statusLine);
    };
    SearchConditionMonths(Months(MonthSearch::LeapMonths, 2000, 4), hooks);
    EXPECT_EQ(shown, (std::vector<std::string>{"    正在查询，已完成 0.0%...", "    正在查询，已完成 25.0%...",
                                               "    正在查询，已完成 50.0%...", "    正在查询，已完成 75.0%..."}));
    shown.clear();
    calls = 0;
    DayQuery query;
    query.gregorianMonth = 2;
    query.firstYear = 2001;
    query.years = 3;  // 1095 days
    SearchConditionDays(query, hooks);
    EXPECT_EQ(calls, 1095);
    EXPECT_EQ(shown.front(), "    正在查询，已完成 0.00%...");
    EXPECT_EQ(shown[1], "    正在查询，已完成 0.09%...");
    EXPECT_EQ(shown.back(), "    正在查询，已完成 99.91%...");
}

TEST(ConditionQueryText, WholeCharacterMatches)
{
    // The second byte of 节 and the first of 日 spell 谌.
    EXPECT_FALSE(ContainsText("节日", "谌"));
    EXPECT_TRUE(ContainsText("世界红十字日 母亲节", "母亲节"));
    EXPECT_TRUE(ContainsText("春节", ""));
}

TEST(ConditionQueryFields, SpanFieldsAsTheWindowReadsThem)
{
    struct Row {
        QueryMode mode;
        QuerySpanFields typed;
        bool ok;
        int32_t firstYear, years;
        QuerySpanFields after;
    };
    const Row rows[] = {
        {QueryMode::Days, {"2000", false, "10"}, true, 2000, 10, {"2000", false, "10"}},
        {QueryMode::Days, {"104", true, "3"}, true, -103, 3, {"104", true, "3"}},
        {QueryMode::Days, {"105", true, "3"}, false, 0, 0, {"", true, "3"}},       // before -103
        {QueryMode::Months, {"105", true, "3"}, true, -104, 3, {"105", true, "3"}},  // the lunar year -104 holds -103
        {QueryMode::Days, {"4990", false, "20"}, true, 4990, 11, {"4990", false, "11"}},  // cut, written back
        {QueryMode::Days, {"1", false, "12345678901"}, true, 1, 5000, {"1", false, "5000"}},
        {QueryMode::Days, {"20a0", false, "1x"}, false, 0, 0, {"", false, ""}},
        {QueryMode::Days, {"2000", false, ""}, false, 0, 0, {"2000", false, ""}},
        {QueryMode::Days, {"2000", false, "0"}, false, 0, 0, {"2000", false, "0"}},
        {QueryMode::Days, {"", false, "5"}, false, 0, 0, {"", false, "5"}},
        {QueryMode::Days, {"5001", false, "1"}, false, 0, 0, {"", false, "1"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.typed.startYear + (row.typed.beforeYearOne ? " BC, " : ", ") + row.typed.years);
        QuerySpan span = ReadQuerySpan(row.mode, row.typed);
        EXPECT_EQ(span.ok, row.ok);
        if (row.ok) {
            EXPECT_EQ(span.firstYear, row.firstYear);
            EXPECT_EQ(span.years, row.years);
        }
        EXPECT_EQ(span.fields.startYear, row.after.startYear);
        EXPECT_EQ(span.fields.beforeYearOne, row.after.beforeYearOne);
        EXPECT_EQ(span.fields.years, row.after.years);
    }
}

TEST(ConditionQueryFields, CriterionListsAndWhatTheirItemsSet)
{
    struct Row {
        DayCriterion criterion;
        const char* label;
        size_t count;
        int item;
        const char* itemText;
    };
    const Row rows[] = {
        {DayCriterion::GregorianMonth, "公历月", 13, 12, "12月"}, {DayCriterion::GregorianDay, "公历日", 32, 31, "31日"},
        {DayCriterion::LunarMonth, "农历月", 25, 13, "闰正月"},   {DayCriterion::LunarDay, "农历日", 31, 30, "三十"},
        {DayCriterion::HijriMonth, "回历月", 13, 9, "9月"},       {DayCriterion::HijriDay, "回历日", 31, 30, "30日"},
        {DayCriterion::YearCycle, "干支年", 61, 60, "癸亥年"},    {DayCriterion::MonthCycle, "干支月", 61, 3, "丙寅月"},
        {DayCriterion::DayCycle, "干支日", 61, 1, "甲子日"},      {DayCriterion::Weekday, "星期", 8, 7, "星期日"},
        {DayCriterion::Term, "节气", 25, 3, "立春"},              {DayCriterion::Festival, "节日", 5, 1, "复活节"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        EXPECT_EQ(DayCriterionLabel(row.criterion), row.label);
        std::vector<std::string> items = DayCriterionItems(row.criterion);
        ASSERT_EQ(items.size(), row.count);
        EXPECT_EQ(items[0], "");
        EXPECT_EQ(items[size_t(row.item)], row.itemText);
    }
    EXPECT_EQ(DayCriterionItems(DayCriterion::LunarMonth)[12], "腊月");
    EXPECT_EQ(DayCriterionItems(DayCriterion::LunarMonth)[24], "闰腊月");
    EXPECT_EQ(LeapMonthItems(), (std::vector<std::string>{"", "1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11",
                                                          "12"}));

    DayQuery query;
    SetDayCriterion(query, DayCriterion::LunarMonth, 13, "闰正月");
    SetDayCriterion(query, DayCriterion::YearCycle, 60, "癸亥年");
    SetDayCriterion(query, DayCriterion::Weekday, 7, "星期日");
    SetDayCriterion(query, DayCriterion::Term, 3, "立春");
    SetDayCriterion(query, DayCriterion::Festival, -1, " 国庆 ");
    EXPECT_EQ(query.lunarMonth, 13);
    EXPECT_EQ(query.yearCycle, 60);
    EXPECT_EQ(query.weekday, "星期日");
    EXPECT_EQ(query.term, "立春");
    EXPECT_EQ(query.festival, "国庆");
    SetDayCriterion(query, DayCriterion::LunarMonth, 0, "");
    SetDayCriterion(query, DayCriterion::Weekday, 0, "");
    SetDayCriterion(query, DayCriterion::GregorianDay, 99, "");
    EXPECT_EQ(query.lunarMonth, 0);
    EXPECT_EQ(query.weekday, "");
    EXPECT_EQ(query.gregorianDay, 0);
}

TEST(ConditionQueryFields, StatusLineApartFromTheList)
{
    QueryResult found = SearchConditionMonths(Months(MonthSearch::LeapMonths, 2000, 5));
    EXPECT_EQ(found.status, "    共找到 2 个农历闰月");
    EXPECT_EQ(found.text, found.status + "\r\n" + found.found);
    QueryResult none = SearchConditionMonths(Months(MonthSearch::LeapMonths, 2021, 2));
    EXPECT_EQ(none.status, "    共找到 0 个农历闰月");
    EXPECT_EQ(none.found, "");
}
