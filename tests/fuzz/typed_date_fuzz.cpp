// Typed dates: the shape check of a typed "MM-DD-YYYY" and the date fields
// of the tools in the three calendars, with and without "纪元前". The first
// byte picks the calendar and the box, the rest is the typed text.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "converter.h"
#include "date_text.h"
#include "gbk_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0) return 0;
    std::string typed(reinterpret_cast<const char*>(data) + 1, size - 1);

    // Nothing, or "MM-DD-YYYY" that the check gives back unchanged.
    std::string shape = NormaliseTypedDate(typed);
    if (!shape.empty() && (shape.size() != 10 || shape[2] != '-' || shape[5] != '-' ||
                           ConsistsOnlyOf(shape, "0123456789-") != 1 || NormaliseTypedDate(shape) != shape))
        std::abort();

    DateField field{typed, FieldCalendar(data[0] % 3), (data[0] & 4) != 0};
    int32_t j = ReadDateField(field);
    if (j == NoDayNumber) return 0;
    if (shape.empty() || j < FirstJulianDay || j > LastJulianDay) std::abort();
    // A day that was read can be written in its calendar and reads back the same.
    std::string written = DayInCalendar(j, field.calendar);
    if (written.size() != 12) std::abort();
    DateField again{written.substr(2), field.calendar, written.compare(0, 2, "BC") == 0};
    if (ReadDateField(again) != j) std::abort();
    return 0;
}
