#include "gbk_text.h"

std::string LeftBytes(const std::string& text, size_t maxBytes)
{
    size_t pos = 0;
    while (pos < text.size()) {
        size_t len = GbkCharLength(text, pos);
        if (pos + len > maxBytes) break;
        pos += len;
    }
    return text.substr(0, pos);
}
