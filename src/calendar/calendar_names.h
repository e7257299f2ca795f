// Names and numerals of the Chinese calendar, 1-based as the calendar counts
// them; the name functions give "" for an argument out of range.
#pragma once
#include <cstdint>
#include <string>

extern const char* const StemNames[11];        // 1 甲 .. 10 癸
extern const char* const BranchNames[13];      // 1 子 .. 12 亥
extern const char* const AnimalNames[13];      // 1 鼠 .. 12 猪
// The 24 solar terms from 小寒 (1, 285 degrees) to 冬至 (24, 270 degrees).
extern const char* const SolarTermNames[25];

// "一".."九" for 1..9.
std::string ChineseDigit(int n);
// "    2026", "     前1": right-aligned in 8 bytes.
std::string YearText(int32_t y);
// "  回历1447", "   回历前1": right-aligned in 10 bytes.
std::string HijriYearText(int32_t y);
// "  二○二六", "      前一": right-aligned in 10 bytes.
std::string ChineseYearText(int32_t y);
// "闰四月小", "腊月大": month 1..24 (leap months + 12), big = 1 for 30 days.
std::string LunarMonthName(int m, int big);
// "初一" .. "三十".
std::string LunarDayName(int d);
