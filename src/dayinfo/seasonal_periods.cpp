#include "seasonal_periods.h"

#include <algorithm>
#include <cmath>

#include "calendar_names.h"
#include "civil_calendar.h"
#include "date_text.h"
#include "historical_calendar.h"
#include "lunar_year.h"

namespace {

// The day number of a valid date in the seasonal texts' range, else
// NoDayNumber.
int32_t DayOf(int32_t y, int m, int d)
{
    if (y < FirstConversionYear || y > LastConversionYear) return NoDayNumber;
    return DateToDayNumber(y, m, d);
}

// The day of the first solar term n whose day is `from` or later.
int32_t TermDay(int32_t from, int n) { return TermDayOnOrAfter(from, n); }

// The first day on or after `day` whose stem (period 10) or branch (period
// 12) has the given remainder of the day number.
int32_t FirstCycleDay(int32_t day, int period, int remainder)
{
    return day + int32_t(FloorMod(int64_t(remainder) - day, period));
}

constexpr int GengRemainder = 7;  // 庚 days: J mod 10 = 7
constexpr int BingRemainder = 3;  // 丙 days: J mod 10 = 3
constexpr int WeiRemainder = 6;   // 未 days: J mod 12 = 6

}  // namespace

std::string NextSolarTermText(int32_t y, int m, int d)
{
    int32_t j = DayOf(y, m, d);
    if (j == NoDayNumber) return "";
    int k = TermNumber(j);
    // Only the texts of the term's day and of the day before show its
    // time; for any other day the term's day is all the text needs.
    int32_t termDay = TermMomentDay(j, 0);
    double moment = termDay - int64_t(j) <= 1 ? TermMomentToTheSecond(j, 0) : double(termDay);
    std::string text = MomentToText(moment);
    if (text.size() != 21 || k < 1 || k > 24) return "";
    std::string name = SolarTermNames[k];
    int32_t day = int32_t(std::floor(moment));
    if (day == j) return "今日" + name + " " + text.substr(13);
    if (day - 1 == j) return "明日" + name + " " + text.substr(13);
    auto date = DayNumberToDate(MomentToFields(moment).dayNumber);
    if (!date) return "";
    std::string monthDay = std::to_string(date->month) + "月" + std::to_string(date->day) + "日" + name;
    if (date->year == y) return monthDay;
    bool bc = date->year <= 0;
    return (bc ? "公元前" : "") + std::to_string(bc ? 1 - int64_t(date->year) : date->year) + "年" + monthDay;
}

std::string SolarTermOfDay(int32_t y, int m, int d)
{
    int32_t j = DayOf(y, m, d);
    int k = j == NoDayNumber ? 0 : SolarTermOnDay(j);
    return k != 0 ? SolarTermNames[k] : "";
}

std::string NineNinesText(int32_t y, int m, int d)
{
    int32_t j = DayOf(y, m, d);
    if (j == NoDayNumber) return "";
    int32_t n = j - TermDay(j - 90, 24);
    if (n < 0 || n > 80) return "";
    int i = n + 1;  // the winter solstice is the first day of the first nine
    if (i % 9 == 0) return ChineseDigit(i / 9) + "九第9天";
    return ChineseDigit(i / 9 + 1) + "九第" + std::to_string(i % 9) + "天";
}

std::string DogDaysText(int32_t y, int m, int d)
{
    int32_t j = DayOf(y, m, d);
    if (j == NoDayNumber) return "";
    int32_t summerSolstice = TermDay(j - 90, 12);
    int32_t autumnStart = TermDay(summerSolstice + 30, 15);
    // The first period opens on the third 庚 day from the summer solstice,
    // the last on the first 庚 day from 立秋.
    int32_t first = FirstCycleDay(summerSolstice, 10, GengRemainder) + 20;
    int32_t second = first + 10;
    int32_t last = FirstCycleDay(autumnStart, 10, GengRemainder);
    if (j >= first && j < second) return "初伏第" + std::to_string(j - first + 1) + "天";
    if (j >= second && j < last) return "中伏第" + std::to_string(j - second + 1) + "天";
    if (j >= last && j < last + 10) return "末伏第" + std::to_string(j - last + 1) + "天";
    return "";
}

std::string PlumRainText(int32_t y, int m, int d)
{
    int32_t j = DayOf(y, m, d);
    if (j == NoDayNumber) return "";
    int32_t graininEar = TermDay(j - 15, 11), minorHeat = TermDay(j - 15, 13);
    // The plum rain begins on the first 丙 day from 芒种 and ends on the
    // first 未 day from 小暑.
    if (j >= minorHeat) return FirstCycleDay(minorHeat, 12, WeiRemainder) == j ? "出梅" : "";
    if (j >= graininEar) return FirstCycleDay(graininEar, 10, BingRemainder) == j ? "入梅" : "";
    return "";
}

std::string SeasonalPeriodStart(int32_t y, int m, int d)
{
    // A nine or a dog-days period opens on its "第1天"; what precedes that
    // is the period's name.
    const std::string firstDay = "第1天";
    for (const std::string& text : {NineNinesText(y, m, d), DogDaysText(y, m, d)}) {
        size_t at = text.size() - std::min(text.size(), firstDay.size());
        if (at > 0 && text.compare(at, firstDay.size(), firstDay) == 0) return text.substr(0, at);
    }
    return PlumRainText(y, m, d);
}
