// Text of code page 936 (GBK): a byte from 0x81 to 0xFE opens a two-byte
// character whose trail byte may look like ASCII (even "\"), so every walk
// over such text steps whole characters. The walks live here and nowhere
// else: a caller asks for a cut, a search or a separator, never for bytes.
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

// Whether the character at pos is the single byte c (not the trail byte of
// a two-byte character).
inline bool IsSingleByte(const std::string& text, size_t pos, char c)
{
    return text[pos] == c && GbkCharLength(text, pos) == 1;
}

// The longest prefix of at most maxBytes bytes that does not split a
// two-byte character.
std::string LeftBytes(const std::string& text, size_t maxBytes);
// The text cut as LeftBytes does and centred in `width` bytes with blanks,
// the odd blank on the right.
std::string Centred(const std::string& gbk, size_t width);
// The text without the blanks (" ") at either end.
std::string TrimBlanks(const std::string& text);
// Whether part occurs in text starting on a character: a trail byte followed
// by a lead byte can spell the bytes of an unrelated character.
bool ContainsText(const std::string& text, const std::string& part);
// The position after the last single-byte character of text that is one of
// separators, 0 when there is none.
size_t AfterLastOf(const std::string& text, const char* separators);
// Whether text, cut at every single-byte separator, has an empty part (""
// is one empty part).
bool HasEmptyPart(const std::string& text, char separator);
// The position of the last character, 0 for "".
size_t LastCharacterStart(const std::string& text);
// ASCII letters lowered; two-byte characters stay as they are (their trail
// byte may be a letter). Windows compares registry names and file
// extensions this way.
std::string AsciiLowered(const std::string& text);
// Every single-byte character from replaced by to.
std::string ReplacedSingleBytes(const std::string& text, char from, char to);
// The end of the run of characters that starts at pos: of ASCII characters
// when the one at pos is ASCII, else of two-byte characters and bytes that
// are no character.
size_t EndOfRun(const std::string& text, size_t pos);
// Calls visit with each character of text from..to (one or two bytes).
template <typename Visit>
void ForEachCharacter(const std::string& text, size_t from, size_t to, Visit visit)
{
    for (size_t pos = from; pos < to; pos += GbkCharLength(text, pos))
        visit(text.substr(pos, GbkCharLength(text, pos)));
}

// 1 when every character of text is "0" or one of the characters of set
// (an empty text passes), else 0.
int ConsistsOnlyOf(const std::string& text, const std::string& set);
// How often the first character of ch occurs in text, counted on character
// boundaries; 0 when either is empty.
int CountOfCharacter(const std::string& text, const std::string& ch);
