// The stem-branch (干支) year, month and day of a civil date and the animal
// of its year. Cycle index 1..60: 1 is 甲子, 60 is 癸亥; 0 means no value.
// mode is GanZhiFromChunjieFlag: 1 years begin at the lunar New Year and
// months follow the lunar months, 0 years begin at 立春 and months follow the
// solar terms.
#pragma once
#include <cstdint>
#include <string>

// "甲子" .. "癸亥" for 1..60, "" otherwise.
std::string CycleName(int index);
void AppendCycleName(std::string& text, int index);
int YearCycleIndex(int32_t y, int m, int d, int mode);
int YearAnimalIndex(int32_t y, int m, int d, int mode);
int MonthCycleIndex(int32_t y, int m, int d, int mode);
int DayCycleIndex(int32_t y, int m, int d);
int DayCycleIndexOfDay(int32_t dayNumber);
// Number 1..24 of the solar term whose period contains the day.
int CurrentTermIndex(int32_t y, int m, int d);
// "甲子(鼠)年丙寅月戊午日", or "" when any part is unavailable.
std::string CycleDateText(int32_t y, int m, int d, int mode);
