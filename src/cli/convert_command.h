// `lumora-cli convert DATE [--from gregorian|lunar|hijri] --to lunar|hijri|gregorian`:
// a date of one calendar in another, as its tagged text and in readable
// Chinese.
#pragma once
#include <string>
#include <vector>

struct ConvertResult {
    int status;                      // 0 done, 2 bad request
    std::vector<std::string> lines;  // GBK; the error message when status is 2
};

// args are the words after "convert", in GBK.
ConvertResult Convert(const std::vector<std::string>& args);
