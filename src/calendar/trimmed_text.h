// Text without the blanks at either end (a blank is never part of a
// two-byte character, so this is safe on GBK text).
#pragma once
#include <string>

inline std::string TrimBlanks(const std::string& text)
{
    size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) return "";
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}
