// Pieces of a JSON document (RFC 8259) for the scripts that read what the
// calendar shows: strings from program text, objects and arrays from
// members already written. Output is UTF-8.
#pragma once
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "civil_calendar.h"

// A UTF-8 text as a JSON string: quotes, backslash and control characters
// escaped.
std::string JsonString(const std::string& utf8);
// Program text (GBK) as a JSON string; a text that does not convert is "".
std::string JsonText(const std::string& gbk);
// An ISO date ("2024-02-10", "-0103-02-01") as a JSON string, null for an
// invalid date.
std::string JsonDate(const CalendarDate& date);
// A moment (UTC+8) as "2024-12-21T17:20:28+08:00", to the second as the
// moment texts show it; null when it has no text.
std::string JsonMoment(double moment);
inline std::string JsonNumber(int64_t value) { return std::to_string(value); }
inline std::string JsonBool(bool value) { return value ? "true" : "false"; }

using JsonMembers = std::vector<std::pair<std::string, std::string>>;
// {"name": value, ...} from values that are JSON already.
std::string JsonObject(const JsonMembers& members);
// [value, ...] from values that are JSON already.
std::string JsonArray(const std::vector<std::string>& values);
