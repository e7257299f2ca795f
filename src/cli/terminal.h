// What every lumora-cli command shares: printing program text (GBK) to the
// UTF-8 terminal, turning typed arguments into program text, and reading
// dates and years from the command line.
#pragma once
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "date_text.h"

// Writes one line of program text (GBK) as UTF-8.
void PrintLine(FILE* stream, const std::string& gbk);
// Writes a window's multi-line text ("\r\n" between lines) line by line,
// the empty lines included: they separate the groups of a table or a query.
void PrintWindowText(FILE* stream, const std::string& gbk);
// Converts arguments from..end from UTF-8 to GBK; false (after a message on
// standard error) when one is not valid text.
bool ArgumentsToGbk(const std::vector<std::string>& args, size_t from, std::vector<std::string>& gbkArgs);

// A civil date typed as ISO "YYYY-MM-DD" with an astronomical year
// ("-0103-02-01" is 104 BC) or, with bc = true for years before 1, as the
// program's own "MM-DD-YYYY" (year 1 - y). nullopt when it is no valid date.
std::optional<CalendarDate> ParseDateArgument(const std::string& text, bool bc = false);
// Whether standard output is a terminal (not a pipe or a file): only then
// do month and year mark today with the escapes of reverse video.
bool StdoutIsTerminal();
// Today's civil date from the local clock.
CalendarDate Today();
