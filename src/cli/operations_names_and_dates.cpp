// Operations of the calendar's names and numerals, era names, the Hijri
// calendar, weekdays and zodiac signs.
#include "operation.h"

namespace {

const Operation Operations[] = {
    {"NamesPending", "", "", [](const Arguments&) { return std::string(); }},
};

}  // namespace

const std::span<const Operation> NamesAndDatesOperations(Operations);
