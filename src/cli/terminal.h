// What every lumora-cli command shares: the one place where the terminal's
// UTF-8 meets the program's text (GBK) both ways, and reading dates and
// years from the command line. Commands take their words as program text
// and print only through the functions here.
#pragma once
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "date_text.h"

// The program's arguments (without its name) as program text, converted
// once from what was typed. An argument that code page 936 cannot write is
// kept as typed and remembered: the commands that need program text refuse
// it (AreProgramText), and a message that quotes it shows it as typed.
std::vector<std::string> ProgramArguments(int argc, char** argv);
// False (after a message on standard error that names its place in args)
// when one of args[from..] could not be made program text.
bool AreProgramText(const std::vector<std::string>& args, size_t from);

// Program text as the terminal shows it: one line, or text as it stands
// (its own line ends, or none).
void PrintLine(FILE* stream, const std::string& gbk);
void PrintText(FILE* stream, const std::string& gbk);
// Text that is UTF-8 already (JSON, iCalendar), as it stands.
void PrintUtf8(FILE* stream, const std::string& utf8);
// Writes a window's multi-line text ("\r\n" between lines) line by line,
// the empty lines included: they separate the groups of a table or a query.
void PrintWindowText(FILE* stream, const std::string& gbk);

// A civil date typed as ISO "YYYY-MM-DD" with an astronomical year
// ("-0103-02-01" is 104 BC) or, with bc = true for years before 1, as the
// program's own "MM-DD-YYYY" (year 1 - y). nullopt when it is no valid date.
std::optional<CalendarDate> ParseDateArgument(const std::string& text, bool bc = false);
// Whether standard output is a terminal (not a pipe or a file): only then
// do month and year mark today with the escapes of reverse video.
bool StdoutIsTerminal();
// Today's civil date from the local clock.
CalendarDate Today();
