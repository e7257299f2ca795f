#include "calendar_names.h"

const char* const StemNames[11] = {
    "", "甲", "乙", "丙", "丁", "戊", "己", "庚", "辛", "壬", "癸",
};
const char* const BranchNames[13] = {
    "", "子", "丑", "寅", "卯", "辰", "巳", "午", "未", "申", "酉", "戌", "亥",
};
// Entry i is the animal of branch i: 子 the rat .. 亥 the pig.
const char* const AnimalNames[13] = {
    "", "鼠", "牛", "虎", "兔", "龙", "蛇", "马", "羊", "猴", "鸡", "狗", "猪",
};

const char* const SolarTermNames[25] = {
    "",     "小寒", "大寒", "立春", "雨水", "惊蛰", "春分", "清明", "谷雨",
    "立夏", "小满", "芒种", "夏至", "小暑", "大暑", "立秋", "处暑", "白露",
    "秋分", "寒露", "霜降", "立冬", "小雪", "大雪", "冬至",
};

namespace {

// Years are written for -9998..9999; the widest bodies ("前9999",
// "回历前9999", "前九九九九") then still fit their fixed widths.
bool YearInRange(int32_t y) { return y >= -9998 && y <= 9999; }

// Digit words of a year in Chinese digits: 0 is "○", not "零".
constexpr const char* YearDigitWords[10] = {"○", "一", "二", "三", "四", "五", "六", "七", "八", "九"};

constexpr const char* MonthWords[13] = {
    "", "正月", "二月", "三月", "四月", "五月", "六月", "七月", "八月", "九月", "十月", "冬月", "腊月",
};

constexpr const char* DayWords[31] = {
    "",     "初一", "初二", "初三", "初四", "初五", "初六", "初七", "初八", "初九", "初十",
    "十一", "十二", "十三", "十四", "十五", "十六", "十七", "十八", "十九", "二十",
    "廿一", "廿二", "廿三", "廿四", "廿五", "廿六", "廿七", "廿八", "廿九", "三十",
};

// Blanks in front up to width bytes (GBK bytes, so a Chinese character
// counts two); a longer body is returned as it is.
std::string RightAligned(const std::string& body, size_t width)
{
    return body.size() >= width ? body : std::string(width - body.size(), ' ') + body;
}

// The year's number as shown: y itself from year 1 on, 1 - y before it
// (astronomical year 0 is 1 BC). Only called for years in range.
int32_t ShownYear(int32_t y) { return y >= 1 ? y : 1 - y; }

}  // namespace

std::string ChineseDigit(int n)
{
    if (n < 1 || n > 9) return "";
    return YearDigitWords[n];
}

std::string YearText(int32_t y)
{
    if (!YearInRange(y)) return "";
    std::string body = (y >= 1 ? "" : "前") + std::to_string(ShownYear(y));
    return RightAligned(body, 8);
}

std::string HijriYearText(int32_t y)
{
    if (!YearInRange(y)) return "";
    std::string body = (y >= 1 ? "回历" : "回历前") + std::to_string(ShownYear(y));
    return RightAligned(body, 10);
}

std::string ChineseYearText(int32_t y)
{
    if (!YearInRange(y)) return "";
    std::string body = y >= 1 ? "" : "前";
    for (char digit : std::to_string(ShownYear(y))) body += YearDigitWords[digit - '0'];
    return RightAligned(body, 10);
}

std::string LunarMonthName(int m, int big)
{
    if (m < 1 || m > 24) return "";
    // A leap month travels as the month it follows + 12.
    std::string name = m > 12 ? "闰" : "";
    name += MonthWords[(m - 1) % 12 + 1];
    name += big == 1 ? "大" : "小";
    return name;
}

std::string LunarDayName(int d)
{
    if (d < 1 || d > 30) return "";
    return DayWords[d];
}
