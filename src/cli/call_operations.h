// `lumora-cli call <Operation> <args...>`: one named operation of the core,
// its arguments parsed strictly, its result printed on one line.
#pragma once
#include <string>
#include <vector>

struct CallResult {
    int status;          // 0 done, 2 bad call
    std::string output;  // the result line (GBK) or the error message
};

// args[0] is the operation name; texts in args are GBK.
CallResult CallOperation(const std::vector<std::string>& args);
// The names of all operations with their argument lists, one per line.
std::string OperationList();
