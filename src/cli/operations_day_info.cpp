// Operations of the day information: festivals and seasonal periods.
#include "operation.h"

namespace {

const Operation Operations[] = {
    {"DayInfoPending", "", "", [](const Arguments&) { return std::string(); }},
};

}  // namespace

const std::span<const Operation> DayInfoOperations(Operations);
