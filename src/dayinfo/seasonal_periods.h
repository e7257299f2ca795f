// Where a civil day stands in the solar year: the next solar term, the
// nine-nines after the winter solstice, the dog days and the plum rain.
// Each gives "" for an invalid date or a year outside -8999..9000.
#pragma once
#include <cstdint>
#include <string>

// "今日立春 16:42:07", "明日立春 16:42:07", "2月4日立春", "2027年1月5日小寒".
std::string NextSolarTermText(int32_t y, int m, int d);
// The name of the solar term that falls on the day ("立春"), else "".
std::string SolarTermOfDay(int32_t y, int m, int d);
// "一九第3天" .. "九九第9天"; "" outside the 81 days.
std::string NineNinesText(int32_t y, int m, int d);
// "初伏第N天", "中伏第N天", "末伏第N天"; "" outside the dog days.
std::string DogDaysText(int32_t y, int m, int d);
// "入梅" on the first day of the plum rain, "出梅" on its last, else "".
std::string PlumRainText(int32_t y, int m, int d);
// The period a civil day opens: "一九".."九九", "初伏", "中伏", "末伏",
// "入梅" or "出梅"; "" on any other day.
std::string SeasonalPeriodStart(int32_t y, int m, int d);
