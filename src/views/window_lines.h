// The texts the windows show in their multi-line fields hold "\r\n" between
// lines; lumora-cli and the JSON answers take them apart line by line.
#pragma once
#include <string>
#include <vector>

// Every line of text, the empty ones included: "" is one empty line and a
// final "\r\n" ends with one.
std::vector<std::string> WindowLines(const std::string& text);
