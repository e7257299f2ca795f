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

std::string TrimBlanks(const std::string& text)
{
    size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) return "";
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

bool ContainsText(const std::string& text, const std::string& part)
{
    if (part.empty()) return true;
    for (size_t at = 0; at + part.size() <= text.size(); at += GbkCharLength(text, at))
        if (text.compare(at, part.size(), part) == 0) return true;
    return false;
}

size_t AfterLastOf(const std::string& text, const char* separators)
{
    size_t after = 0;
    for (size_t pos = 0; pos < text.size(); pos += GbkCharLength(text, pos))
        if (GbkCharLength(text, pos) == 1 && std::string(separators).find(text[pos]) != std::string::npos)
            after = pos + 1;
    return after;
}

bool HasEmptyPart(const std::string& text, char separator)
{
    size_t partStart = 0;
    for (size_t pos = 0; pos < text.size(); pos += GbkCharLength(text, pos)) {
        if (!IsSingleByte(text, pos, separator)) continue;
        if (pos == partStart) return true;
        partStart = pos + 1;
    }
    return partStart == text.size();
}

size_t LastCharacterStart(const std::string& text)
{
    size_t last = 0;
    for (size_t pos = 0; pos < text.size(); pos += GbkCharLength(text, pos)) last = pos;
    return last;
}

std::string AsciiLowered(const std::string& text)
{
    std::string lowered = text;
    for (size_t pos = 0; pos < lowered.size(); pos += GbkCharLength(lowered, pos))
        if (lowered[pos] >= 'A' && lowered[pos] <= 'Z') lowered[pos] = char(lowered[pos] - 'A' + 'a');
    return lowered;
}

std::string ReplacedSingleBytes(const std::string& text, char from, char to)
{
    std::string out = text;
    for (size_t pos = 0; pos < out.size(); pos += GbkCharLength(out, pos))
        if (IsSingleByte(out, pos, from)) out[pos] = to;
    return out;
}

size_t EndOfRun(const std::string& text, size_t pos)
{
    bool ascii = static_cast<unsigned char>(text[pos]) < 0x80;
    while (pos < text.size() && (static_cast<unsigned char>(text[pos]) < 0x80) == ascii)
        pos += GbkCharLength(text, pos);
    return pos;
}

int ConsistsOnlyOf(const std::string& text, const std::string& set)
{
    for (size_t pos = 0; pos < text.size();) {
        size_t len = GbkCharLength(text, pos);
        std::string ch = text.substr(pos, len);
        if (ch != "0") {
            bool found = false;
            for (size_t q = 0; q < set.size() && !found; q += GbkCharLength(set, q))
                found = set.compare(q, GbkCharLength(set, q), ch) == 0;
            if (!found) return 0;
        }
        pos += len;
    }
    return 1;
}

int CountOfCharacter(const std::string& text, const std::string& ch)
{
    if (text.empty() || ch.empty()) return 0;
    std::string first = ch.substr(0, GbkCharLength(ch, 0));
    int count = 0;
    for (size_t pos = 0; pos < text.size(); pos += GbkCharLength(text, pos))
        count += text.compare(pos, first.size(), first) == 0;
    return count;
}

std::string Centred(const std::string& gbk, size_t width)
{
    std::string text = LeftBytes(gbk, width);
    size_t left = (width - text.size()) / 2;
    return std::string(left, ' ') + text + std::string(width - text.size() - left, ' ');
}
