// Text of code page 936 (GBK): a byte from 0x81 to 0xFE opens a two-byte
// character whose trail byte may look like ASCII (even "\"), so every walk
// over such text steps whole characters.
#pragma once
#include <cstddef>
#include <string>

inline bool IsGbkLeadByte(unsigned char b) { return b >= 0x81 && b <= 0xFE; }

// Length in bytes of the character that starts at pos (1 or 2; 1 for a
// lead byte with nothing after it).
inline size_t GbkCharLength(const std::string& text, size_t pos)
{
    return IsGbkLeadByte(static_cast<unsigned char>(text[pos])) && pos + 1 < text.size() ? 2 : 1;
}

// The longest prefix of at most maxBytes bytes that does not split a
// two-byte character. Inline, so the platform seam below the core can use it.
inline std::string LeftBytes(const std::string& text, size_t maxBytes)
{
    size_t pos = 0;
    while (pos < text.size()) {
        size_t len = GbkCharLength(text, pos);
        if (pos + len > maxBytes) break;
        pos += len;
    }
    return text.substr(0, pos);
}
