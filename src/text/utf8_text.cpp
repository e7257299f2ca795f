#include "utf8_text.h"

std::string Utf8AsciiLowered(const std::string& text)
{
    std::string lowered = text;
    for (char& c : lowered)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    return lowered;
}
