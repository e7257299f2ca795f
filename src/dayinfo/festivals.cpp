#include "festivals.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <iterator>
#include <optional>
#include <vector>

#include "calendar_flags.h"
#include "civil_calendar.h"
#include "historical_calendar.h"
#include "lunar_year.h"

namespace {

// A festival on a fixed Gregorian date. The full name replaces the short one
// when all festivals are asked for, from the year `fullFrom` on.
struct FixedFestival {
    int month, day;
    const char* name;
    int32_t from;  // first year it is kept
    bool commemorative;  // shown only when all festivals are asked for
    const char* fullName = nullptr;
    int32_t fullFrom = INT32_MIN;
};

constexpr int32_t Always = INT32_MIN;

// In date order, at most one a day.
constexpr FixedFestival FixedFestivals[] = {
    {1, 1, "元旦节", Always, false},
    {2, 2, "世界湿地日", 1997, true},
    {2, 10, "国际气象节", 1991, true},
    {2, 14, "情人节", Always, false},
    {3, 1, "国际海豹节", 1983, true},
    {3, 3, "爱耳日", 2000, true},
    {3, 5, "学雷锋纪念日", 1963, true},
    {3, 8, "妇女节", 1911, false, "国际妇女节", 1911},
    {3, 12, "植树节", 1979, true},
    {3, 14, "国际警察节", 2004, true},
    {3, 15, "国际消费者权益日", 1983, true},
    {3, 21, "世界森林日", 1972, true},
    {3, 22, "世界水日", 1993, true},
    {3, 23, "世界气象日", 1960, true},
    {4, 1, "愚人节", 1564, false},
    {4, 7, "世界卫生日", 1950, true},
    {4, 22, "世界地球日", 1970, true},
    {5, 1, "劳动节", 1889, false, "国际劳动节", 1889},
    {5, 4, "青年节", 1939, false},
    {5, 8, "世界红十字日", 1948, true},
    {5, 12, "国际护士节", 1912, true},
    {5, 15, "国际家庭日", 1994, true},
    {5, 17, "世界电信日", 1969, true},
    {5, 19, "中国旅游日", 2011, true},
    {5, 31, "世界无烟日", 1988, true},
    {6, 1, "儿童节", 1949, false, "国际儿童节", 1949},
    {6, 5, "世界环境保护日", 1974, true},
    {6, 6, "爱眼日", 1996, true},
    {6, 23, "国际奥林匹克日", 1948, true},
    {6, 25, "土地日", 1991, true},
    {6, 26, "国际禁毒日", 1987, true},
    {7, 1, "建党节", 1921, false, "建党节 香港回归纪念日", 1999},
    {7, 11, "世界人口日", 1987, true},
    {8, 1, "建军节", 1927, false},
    {8, 8, "男子节", 1988, true},
    {8, 12, "国际青年日", 2000, true},
    {9, 8, "世界扫盲日", 1966, true},
    {9, 10, "教师节", 1985, false},
    {9, 20, "爱牙日", 1989, true},
    {9, 27, "世界旅游日", 1980, true},
    {10, 1, "国庆节", 1949, false},
    {10, 4, "世界动物日", 1949, true},
    {10, 5, "世界教师日", 1944, true},
    {10, 9, "世界邮政日", 1969, true},
    {10, 12, "世界60亿人口日", 1999, true},
    {10, 14, "世界标准日", 1969, true},
    {10, 15, "国际盲人节", 1984, true},
    {10, 16, "世界粮食日", 1979, true},
    {10, 24, "联合国日", 1948, true},
    {10, 31, "万圣节", Always, true},
    {11, 10, "世界青年日", 1946, true},
    {11, 11, "光棍节", 1901, true},
    {11, 16, "国际宽容日", 1996, true},
    {11, 20, "世界儿童日", 1986, true},
    {11, 21, "世界电视日", 1996, true},
    {12, 1, "世界艾滋病日", 1988, true},
    {12, 3, "世界残疾人日", 1992, true},
    {12, 10, "世界人权日", 1950, true},
    {12, 20, "澳门回归纪念日", 1999, true},
    {12, 21, "国际篮球日", 1891, true},
    {12, 24, "平安夜", 440, false},
    {12, 25, "圣诞节", 440, false},
};

// The place of each day's festival in FixedFestivals by 32 * month + day,
// -1 for none: asked on every day shown.
constexpr auto FixedFestivalPlaces = [] {
    std::array<int8_t, 13 * 32> places{};
    for (int8_t& place : places) place = -1;
    for (size_t i = 0; i < std::size(FixedFestivals); ++i)
        places[size_t(32 * FixedFestivals[i].month + FixedFestivals[i].day)] = int8_t(i);
    return places;
}();
static_assert(std::size(FixedFestivals) < 128);
static_assert(std::adjacent_find(std::begin(FixedFestivals), std::end(FixedFestivals), [](auto& a, auto& b) {
                  return a.month > b.month || (a.month == b.month && a.day >= b.day);
              }) == std::end(FixedFestivals));

// Festivals that fall on the n-th weekday of a month.
struct WeekdayFestival {
    int month, n, weekday;
    const char* name;
    int32_t from;
};

const WeekdayFestival WeekdayFestivals[] = {
    {5, 2, 0, "母亲节", 1913},
    {6, 3, 0, "父亲节", 1934},
    {11, 4, 4, "感恩节", 1863},
};

void AddName(std::string& text, const char* name)
{
    if (!text.empty()) text += " ";
    text += name;
}

bool IsSunday(int64_t dayNumber) { return FloorMod(dayNumber, 7) == 6; }

// Easter: the first Sunday after the first full moon on or after the vernal
// equinox, both as the calendar computes them. The days depend on the year
// and the calendar setting only, and are kept per year.
struct EasterDays {
    int32_t equinox, easter;
};

EasterDays ComputeEaster(int32_t y)
{
    int32_t equinox = TermDayOnOrAfter(DateToDayNumber(y, 1, 1), 6);
    int32_t fullMoon = FullMoonDay(equinox);
    int64_t weekday = FloorMod(fullMoon, 7);
    return {equinox, fullMoon + int32_t(weekday == 6 ? 7 : 6 - weekday)};
}

bool IsEaster(int32_t y, int32_t j)
{
    if (y < 325 || y > LastConversionYear || !IsSunday(j)) return false;
    static std::vector<std::optional<EasterDays>> known[2];
    auto& years = known[ModernCalculateAncientFlag == 1];
    if (years.empty()) years.resize(size_t(LastConversionYear - 325 + 1));
    std::optional<EasterDays>& days = years[size_t(y - 325)];
    if (!days) days = ComputeEaster(y);
    return days->equinox < j && j == days->easter;
}

}  // namespace

int NthWeekdayOfMonth(int32_t y, int m, int n, int w)
{
    // No month holds a sixth weekday of a kind.
    if (!IsValidDate(y, m, 1) || n < 1 || n > 5 || w < 0 || w > 6) return 0;
    int firstWeekday = WeekdayOfDayNumber(DateToDayNumber(y, m, 1));
    int k = w - firstWeekday;
    if (k < 0) k += 7;
    int day = 1 + 7 * (n - 1) + k;
    if (y == 1582 && m == 10 && day > 4) day += 10;
    return IsValidDate(y, m, day) ? day : 0;
}

std::string GregorianFestivalText(int32_t y, int m, int d, int allFestivals)
{
    if (y < FirstConversionYear || y > LastConversionYear || !IsValidDate(y, m, d)) return "";
    std::string text;
    if (int place = FixedFestivalPlaces[size_t(32 * m + d)]; place >= 0) {
        const FixedFestival& f = FixedFestivals[place];
        if (y >= f.from && (!f.commemorative || allFestivals))
            text = allFestivals && f.fullName && y >= f.fullFrom ? f.fullName : f.name;
    }
    for (const WeekdayFestival& f : WeekdayFestivals)
        if (m == f.month && y >= f.from && d == NthWeekdayOfMonth(y, m, f.n, f.weekday)) AddName(text, f.name);
    // Easter comes within 37 days after the March equinox, which falls from
    // 11 to 23 March (Julian dates before 1582) all through the range.
    if ((m == 3 || m == 4) && IsEaster(y, DateToDayNumber(y, m, d))) AddName(text, "复活节");
    return text;
}

std::string DayFestivalText(int32_t y, int m, int d)
{
    return DayFestivalText(CalendarDate{y, m, d}, LunarDateOf(CalendarDate{y, m, d}));
}

std::string DayFestivalText(const CalendarDate& date, const std::optional<LunarDate>& lunar)
{
    std::string text;
    if (lunar) text = LunarFestivalText(lunar->year, lunar->month, lunar->day);
    std::string gregorian = GregorianFestivalText(date.year, date.month, date.day, 1);
    if (!gregorian.empty()) text += (text.empty() ? "" : " ") + gregorian;
    return text;
}

std::string LunarFestivalText(int32_t ly, int lm, int ld)
{
    if (ly < FirstConversionYear || ly > LastConversionYear) return "";
    // When a festival is kept; asked only of the festival of the date.
    enum Rule { Always, From277BC, NoLeapTwelfth, LastOfShortTwelfth, LastOfShortLeapTwelfth };
    struct LunarFestival {
        int month, day;
        const char* name;
        Rule rule;
    };
    static constexpr LunarFestival festivals[] = {
        {1, 1, "春节", Always},
        {1, 15, "元宵节", Always},
        {2, 2, "春龙节", Always},
        {5, 5, "端午节", From277BC},
        {6, 24, "火把节", Always},
        {7, 7, "七夕节", Always},
        {7, 15, "中元节", Always},
        {8, 15, "中秋节", Always},
        {9, 9, "重阳节", Always},
        {10, 1, "祭祖节", Always},
        {12, 8, "腊八节", Always},
        // The last days of the year fall in the leap twelfth month when there is one.
        {12, 23, "小年", NoLeapTwelfth},
        {12, 29, "除夕", LastOfShortTwelfth},
        {12, 30, "除夕", NoLeapTwelfth},
        {24, 23, "小年", Always},
        {24, 29, "除夕", LastOfShortLeapTwelfth},
        {24, 30, "除夕", Always},
    };
    auto applies = [ly](Rule rule) {
        switch (rule) {
        case Always: return true;
        case From277BC: return ly >= -277;
        case NoLeapTwelfth: return !IsValidLunarDate(ly, 24, 1);
        case LastOfShortTwelfth: return !IsValidLunarDate(ly, 24, 1) && !IsValidLunarDate(ly, 12, 30);
        case LastOfShortLeapTwelfth: return !IsValidLunarDate(ly, 24, 30);
        }
        return false;
    };
    // Most days of a month hold no festival and are turned away at once;
    // the date is checked only when a festival matches.
    constexpr uint32_t festivalDays = [] {
        uint32_t days = 0;
        for (const LunarFestival& f : festivals) days |= uint32_t(1) << f.day;
        return days;
    }();
    if (ld < 1 || ld > 30 || (festivalDays >> ld & 1) == 0) return "";
    for (const LunarFestival& f : festivals)
        if (f.month == lm && f.day == ld && IsValidLunarDate(ly, lm, ld) && applies(f.rule)) return f.name;
    return "";
}
