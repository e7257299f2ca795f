// lumora-cli --json: the answers of day, month, terms, lunar-months, moons,
// sun, convert and query as one UTF-8 JSON document each (field names in
// the README). The commands read their arguments as always and hand what
// they found to these builders.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "civil_calendar.h"

struct QueryResult;

// Set by main when --json is given; the commands above then print JSON.
extern bool JsonOutput;

// Writes the document and a newline, byte for byte on every platform.
void PrintJson(const std::string& json);

// infoType chooses line2 as --info does (0 festivals, 1 sun, 2 twilight).
std::string DayJson(const CalendarDate& date, int infoType);
std::string MonthJson(int32_t year, int month, int today);
std::string TermsJson(int32_t year);
std::string LunarMonthsJson(int32_t lunarYear);
std::string MoonsJson(int32_t year);
std::string SunJson(int32_t year, int32_t cityCode, bool twilight);
// lines: the two lines of a conversion (tagged date text, then the words).
std::string ConvertJson(const std::string& from, const std::string& to, const std::vector<std::string>& lines);
std::string QueryJson(const char* search, const QueryResult& result);
