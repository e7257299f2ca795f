// UTF-8 text, in which the program spells what code page 936 cannot write
// (paths) and what the terminal shows.
#pragma once
#include <string>

// ASCII letters lowered; no byte of a longer character is below 0x80, so
// the others stay as they are.
std::string Utf8AsciiLowered(const std::string& text);
