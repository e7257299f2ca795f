#include "text_conversion.h"

#include <iconv.h>

#include <cerrno>
#include <cstdint>
#include <cstring>

#include "platform.h"

std::optional<std::string> ConvertText(const char* to, const char* from, const std::string& in)
{
    iconv_t cd = iconv_open(to, from);
    if (cd == iconv_t(-1)) return std::nullopt;
    std::string out(in.size() * 2 + 8, '\0');
    char* src = const_cast<char*>(in.data());
    size_t srcLeft = in.size();
    char* dst = out.data();
    size_t dstLeft = out.size();
    bool ok = true;
    while (srcLeft > 0) {
        if (iconv(cd, &src, &srcLeft, &dst, &dstLeft) != size_t(-1)) continue;
        if (errno != E2BIG) {
            ok = false;
            break;
        }
        size_t used = out.size() - dstLeft;
        out.resize(out.size() * 2);
        dst = out.data() + used;
        dstLeft = out.size() - used;
    }
    iconv_close(cd);
    if (!ok) return std::nullopt;
    out.resize(out.size() - dstLeft);
    return out;
}

namespace {

// The UTF-8 of one two-byte GBK character (lead byte 0x81..0xFE), asked of
// iconv once and kept: the day export converts megabytes made of a few
// hundred characters. Its length, 0 when iconv does not turn the two bytes
// into exactly one character.
struct Utf8Character {
    unsigned char length;
    char bytes[4];
};

Utf8Character known[1 << 16];
bool asked[1 << 16];

Utf8Character& AskIconv(unsigned code)
{
    static iconv_t cd = iconv_open("UTF-8", "GBK");
    Utf8Character& entry = known[code];
    asked[code] = true;
    if (cd == iconv_t(-1)) return entry;
    char two[2] = {char(code >> 8), char(code & 0xFF)};
    char* src = two;
    size_t srcLeft = 2;
    char* dst = entry.bytes;
    size_t dstLeft = sizeof entry.bytes;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    if (iconv(cd, &src, &srcLeft, &dst, &dstLeft) == size_t(-1) || srcLeft != 0) return entry;
    size_t size = sizeof entry.bytes - dstLeft;
    // One character: a lead byte and as many continuation bytes as it says.
    unsigned char lead = size == 0 ? 0 : static_cast<unsigned char>(entry.bytes[0]);
    size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
    if (length != 0 && size == length) entry.length = static_cast<unsigned char>(length);
    return entry;
}

inline const Utf8Character& CharacterToUtf8(unsigned code)
{
    return asked[code] ? known[code] : AskIconv(code);
}

}  // namespace

std::optional<std::string> GbkToUtf8(const std::string& gbk)
{
    // ASCII stands for itself and GBK holds no state from one character to
    // the next, so the text converts character by character; anything else
    // goes to iconv whole, as it comes. Two bytes give at most four; each
    // character is copied as four bytes and the end moved by its length.
    std::string out(2 * gbk.size() + 4, '\0');
    char* to = out.data();
    const unsigned char* from = reinterpret_cast<const unsigned char*>(gbk.data());
    const unsigned char* end = from + gbk.size();
    while (from < end) {
        if (*from < 0x80) {
            // A run of ASCII, eight bytes at a time while it lasts: most of
            // an exported line is digits.
            for (uint64_t eight; end - from >= 8; from += 8, to += 8) {
                std::memcpy(&eight, from, 8);
                if ((eight & 0x8080808080808080u) != 0) break;
                std::memcpy(to, from, 8);
            }
            while (from < end && *from < 0x80) *to++ = char(*from++);
            continue;
        }
        if (*from == 0x80 || *from == 0xFF || from + 1 == end) return ConvertText("UTF-8", "GBK", gbk);
        const Utf8Character& utf8 = CharacterToUtf8(unsigned(from[0]) << 8 | from[1]);
        if (utf8.length == 0) return ConvertText("UTF-8", "GBK", gbk);
        std::memcpy(to, utf8.bytes, sizeof utf8.bytes);
        to += utf8.length;
        from += 2;
    }
    out.resize(size_t(to - out.data()));
    return out;
}

std::optional<std::string> Utf8ToGbk(const std::string& utf8) { return ConvertText("GBK", "UTF-8", utf8); }
