// The condition query tool (LUMORA_SFORM): it searches a span of years for
// lunar months (leap months, runs of long or short months) or for civil days
// that meet chosen conditions, and lists what it finds as the text of its
// read-only result field (lines separated by "\r\n"). The searches are long,
// so they report progress once per step and can be stopped between steps;
// the window dispatches its messages in the progress hook and answers the
// stop hook from its "取消" button, lumora-cli from Ctrl+C.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// The two modes, numbered as the menu opens them.
enum class QueryMode { Months = 1, Days = 2 };

// "查询条件月", "查询条件日".
std::string QueryTitle(QueryMode mode);
// Lowest start year: the lunar year that holds 1 January MinShownYear for the
// months, MinShownYear for the days. The highest is ToolMaxYear for both.
int32_t FirstQueryYear(QueryMode mode);
bool IsQueryStartYear(QueryMode mode, int32_t year);
// The number of years actually searched: a span that would run past
// ToolMaxYear ends there (the window writes the shortened number back).
int32_t QueryYearsWithinTools(int32_t firstYear, int32_t years);

// The option buttons of the months mode: "农历闰月", "三连大月", "三连小月",
// "四连大月".
enum class MonthSearch { LeapMonths, ThreeLong, ThreeShort, FourLong };

struct MonthQuery {
    MonthSearch search = MonthSearch::LeapMonths;
    int leapMonth = 0;  // leap months only: 1..12 the month the leap month follows, 0 any
    int32_t firstYear = 0;  // lunar year
    int32_t years = 0;
};

// The criteria of the days mode. A number 0 and an empty text mean "any".
struct DayQuery {
    int gregorianMonth = 0;  // 1..12
    int gregorianDay = 0;    // 1..31
    int lunarMonth = 0;      // 1..12, 13..24 the leap month after month - 12
    int lunarDay = 0;        // 1..30
    int hijriMonth = 0;      // 1..12
    int hijriDay = 0;        // 1..30
    int yearCycle = 0;       // stem-branch indices 1..60 (1 甲子)
    int monthCycle = 0;
    int dayCycle = 0;
    std::string weekday;   // "星期一" .. "星期日"
    std::string term;      // a solar term's name: the day must be that term's day
    std::string festival;  // a name that the day's festival text must contain
    int32_t firstYear = 0;  // civil year
    int32_t years = 0;
};
bool HasAnyCriterion(const DayQuery& query);

struct QueryProgress {
    int32_t step;            // the lunar year or the day number just searched
    const std::string& statusLine;  // "    正在查询，已完成 12.3%...", valid during the call
    bool statusChanged;      // the percentage text differs from the last one shown
};
struct QueryHooks {
    // Called after every step; may be empty.
    std::function<void(const QueryProgress&)> progress;
    // Asked after every step; true ends the search there. May be empty.
    std::function<bool()> stopRequested;
};

struct QueryResult {
    bool searched = false;  // false: bad start year, empty span or no criterion
    bool stopped = false;   // the stop hook ended the search
    int count = 0;          // months, groups or days found (before the stop)
    // The window's status line at the end ("    共找到 3 个农历闰月"); "" when
    // stopped or not searched.
    std::string status;
    // What the result field shows when the search ends: the status line
    // ("    共找到 ...") followed by the list; "" when stopped or not searched.
    std::string text;
    // The lines listed for what was found, also those found before a stop
    // (the window shows none of them then; lumora-cli prints them).
    std::string found;
};

// A lunar month and the lunar year it belongs to.
struct RunMonth {
    int32_t year;
    int code;  // 1..12, 13..24 the leap month after month - 12
};
// Finds groups of `size` months of one length in a row, fed month by month
// in calendar order (across year ends). Groups do not overlap: six long
// months in a row are two groups of three.
struct MonthRunFinder {
    bool wantLong;
    size_t size;
    std::vector<RunMonth> run;
    // The group that this month completes, or nothing.
    std::vector<RunMonth> Add(const RunMonth& month, bool isLong);
};

QueryResult SearchConditionMonths(const MonthQuery& query, const QueryHooks& hooks = {});
QueryResult SearchConditionDays(const DayQuery& query, const QueryHooks& hooks = {});

// The span fields of the window: "起始年份" with "纪元前", and "查询范围".
struct QuerySpanFields {
    std::string startYear;
    bool beforeYearOne = false;
    std::string years;
};
// What "查询" makes of them. A field holding anything but digits is emptied,
// and so is a start year outside its bounds; an empty field or a span of 0
// searches nothing. A span running past ToolMaxYear is cut to end there and
// the shortened number written back. `fields` is what the fields hold
// afterwards; the span is searched only when `ok`.
struct QuerySpan {
    bool ok = false;
    int32_t firstYear = 0;
    int32_t years = 0;
    QuerySpanFields fields;
};
QuerySpan ReadQuerySpan(QueryMode mode, const QuerySpanFields& fields);

// The leap-month list of the months mode: "" (any), then "1" .. "12".
std::vector<std::string> LeapMonthItems();

// The twelve criteria of the days mode, in the order the window shows them.
enum class DayCriterion {
    GregorianMonth, GregorianDay, LunarMonth, LunarDay, HijriMonth, HijriDay,
    YearCycle, MonthCycle, DayCycle, Weekday, Term, Festival,
};
constexpr int DayCriterionCount = 12;
// "公历月" .. "节日".
std::string DayCriterionLabel(DayCriterion criterion);
// The items of a criterion's list, the first one "" (any). The festival
// list also takes a typed name.
std::vector<std::string> DayCriterionItems(DayCriterion criterion);
// The names of a criterion's values, value n at n - 1: the 60 stem-branch
// names (甲子 .. 癸亥) of the three cycles, the weekdays ("星期一" first) and
// the 24 solar terms ("小寒" first); none for the other criteria. lumora-cli
// takes a value by its name or its number.
std::vector<std::string> DayCriterionNames(DayCriterion criterion);
// Sets a criterion of query from its list: item is the chosen position (0
// any); the festival criterion takes the field's text instead.
void SetDayCriterion(DayQuery& query, DayCriterion criterion, int item, const std::string& text);

