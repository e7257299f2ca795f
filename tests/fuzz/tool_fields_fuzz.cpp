// The typed number fields of the tools: the converter's interval in days,
// the yearly tables' year field with its "纪元前" box, and the condition
// query's start year and span, as numbers and as the two typed fields. The
// first byte picks the field (and the mode), the rest is what was typed.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "condition_query.h"
#include "converter.h"
#include "yearly_tables.h"

namespace {

void IntervalField(const std::string& typed, int calendar)
{
    auto days = ReadIntervalDays(typed);
    if (days && (typed.empty() || typed.find_first_not_of("-0123456789") != std::string::npos)) std::abort();
    ConverterFields fields;
    fields.first = {"01-01-2000", FieldCalendar::Gregorian, false};
    fields.second.calendar = FieldCalendar(calendar % 3);
    fields.result = typed;
    ConverterFields after = IntervalDateAction(fields);
    // A second date appears only for a number of days that reaches a day of the tools.
    if (!after.second.text.empty()) {
        if (!days) std::abort();
        int64_t j = int64_t(DateToDayNumber(2000, 1, 1)) + *days;
        if (j < FirstJulianDay || j > LastJulianDay || after.second.text != DayInCalendar(int32_t(j), fields.second.calendar))
            std::abort();
    }
}

void TableYearFieldCheck(const std::string& typed, int mode, bool beforeYearOne)
{
    TableMode table = TableMode(mode % 4 + 1);
    YearFieldResult read = ReadTableYearField(table, typed, beforeYearOne);
    if (read.check != YearFieldCheck::Accepted) return;
    if (!IsTableYear(table, read.year)) std::abort();
    // The field as the tool writes the year back reads as the same year.
    YearField shown = TableYearField(read.year);
    YearFieldResult again = ReadTableYearField(table, shown.text, shown.beforeYearOne);
    if (again.check != YearFieldCheck::Accepted || again.year != read.year) std::abort();
    for (int step : {-1, 1})
        if (auto next = StepTableYear(table, read.year, step); next && !IsTableYear(table, *next)) std::abort();
}

void QuerySpanNumbers(const std::string& typed, int mode)
{
    int32_t numbers[2] = {};
    std::memcpy(numbers, typed.data(), std::min(typed.size(), sizeof numbers));
    int32_t first = numbers[0], years = numbers[1];
    QueryMode query = QueryMode(mode % 2 + 1);
    bool start = IsQueryStartYear(query, first);
    if (start && (first < FirstQueryYear(query) || first > ToolMaxYear)) std::abort();
    int32_t searched = QueryYearsWithinTools(first, years);
    // Never more years than asked for, never past the tools' last year.
    if (searched < 0 || searched > std::max(years, 0)) std::abort();
    if (searched > 0 && int64_t(first) + searched - 1 > ToolMaxYear) std::abort();
    if (start && years > 0 && searched == 0) std::abort();
}

// The two span fields as typed: the start year up to the first '|', the
// span after it.
void QuerySpanText(const std::string& typed, int mode)
{
    size_t bar = typed.find('|');
    QuerySpanFields fields{typed.substr(0, bar), (mode & 4) != 0,
                           bar == std::string::npos ? "" : typed.substr(bar + 1)};
    QueryMode query = QueryMode(mode % 2 + 1);
    QuerySpan span = ReadQuerySpan(query, fields);
    if (!span.ok) return;
    if (span.years <= 0 || int64_t(span.firstYear) + span.years - 1 > ToolMaxYear) std::abort();
    // What the window writes back reads as the same span.
    QuerySpan again = ReadQuerySpan(query, span.fields);
    if (!again.ok || again.firstYear != span.firstYear || again.years != span.years) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0) return 0;
    std::string typed(reinterpret_cast<const char*>(data) + 1, size - 1);
    int choice = data[0] >> 4, option = data[0] & 15;
    switch (choice % 4) {
    case 0: IntervalField(typed, option); break;
    case 1: TableYearFieldCheck(typed, option, (option & 8) != 0); break;
    case 2: QuerySpanNumbers(typed, option); break;
    case 3: QuerySpanText(typed, option); break;
    }
    return 0;
}
