// Operations of the Chinese calendar: the Qing methods, the historical
// dispatcher, lunar years and the sexagenary cycle.
#include "operation.h"

namespace {

const Operation Operations[] = {
    {"ChineseCalendarPending", "", "", [](const Arguments&) { return std::string(); }},
};

}  // namespace

const std::span<const Operation> ChineseCalendarOperations(Operations);
