// The windows' fonts are written as one text each, the fields of a logical
// font in order: face name, height, width, escapement, orientation, weight,
// italic, underline, strike-out, character set, output precision, clip
// precision, quality, pitch and family, e.g.
// "宋体,-14,0,0,0,400,0,0,0,134,3,2,1,2". Heights are pixels at 96 DPI.
#pragma once
#include <optional>
#include <string>

struct FontText {
    std::string face;
    int height = 0, width = 0, escapement = 0, orientation = 0, weight = 0;
    int italic = 0, underline = 0, strikeOut = 0;
    int charSet = 0, outPrecision = 0, clipPrecision = 0, quality = 0, pitchAndFamily = 0;
};

// nullopt unless the text has a face name of at most 31 bytes and exactly
// thirteen decimal numbers after it.
std::optional<FontText> ParseFontText(const std::string& text);
