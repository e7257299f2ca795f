// The seam between the portable core and the operating system: one header,
// one implementation per platform (posix/ or win32/), chosen at link time.
#pragma once
#include <optional>
#include <string>
#include <vector>

// Text conversion between the program's code page 936 and UTF-8; nullopt
// when the input is not valid in its encoding.
std::optional<std::string> GbkToUtf8(const std::string& gbk);
std::optional<std::string> Utf8ToGbk(const std::string& utf8);

// The program's command-line arguments (without the program name) in UTF-8.
std::vector<std::string> Utf8Arguments(int argc, char** argv);

struct LocalDateTime {
    int year, month, day, hour, minute, second;
};
// The computer's local clock.
LocalDateTime LocalNow();
