#include "font_text.h"

#include <charconv>
#include <vector>

std::optional<FontText> ParseFontText(const std::string& text)
{
    std::vector<std::string> fields;
    size_t start = 0;
    for (;;) {
        size_t comma = text.find(',', start);
        fields.push_back(text.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    // A logical font's face name holds 31 bytes and its terminator.
    if (fields.size() != 14 || fields[0].empty() || fields[0].size() > 31) return std::nullopt;
    FontText font;
    font.face = fields[0];
    int* numbers[13] = {&font.height,  &font.width,        &font.escapement,    &font.orientation, &font.weight,
                        &font.italic,  &font.underline,    &font.strikeOut,     &font.charSet,     &font.outPrecision,
                        &font.clipPrecision, &font.quality, &font.pitchAndFamily};
    for (int i = 0; i < 13; ++i) {
        const std::string& field = fields[size_t(i) + 1];
        const char* end = field.data() + field.size();
        auto [stop, error] = std::from_chars(field.data(), end, *numbers[i]);
        if (field.empty() || error != std::errc() || stop != end) return std::nullopt;
    }
    return font;
}
