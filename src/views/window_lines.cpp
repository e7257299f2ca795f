#include "window_lines.h"

std::vector<std::string> WindowLines(const std::string& text)
{
    std::vector<std::string> lines;
    for (size_t start = 0; start <= text.size();) {
        size_t end = text.find("\r\n", start);
        if (end == std::string::npos) end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}
