// The weekday (星期一..星期日) and Western zodiac sign (星座) of a civil
// date; "" for an invalid date or a year outside -8999..9000.
#pragma once
#include <cstdint>
#include <string>

std::string WeekdayName(int32_t y, int m, int d);
// The weekday of a day number, as WeekdayName names its date.
std::string WeekdayNameOfDay(int32_t dayNumber);
std::string ZodiacSignName(int32_t y, int m, int d);
// "星期一" (1) .. "星期日" (7), "" otherwise.
std::string WeekdayNameOf(int n);
