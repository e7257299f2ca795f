// What `lumora-cli why` and `lumora-cli uncertain` show: where each lunar
// month comes from, in the program's Chinese, or one TAB-separated line per
// month for scripts. Texts are program text (GBK).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "month_source.h"

// The month that holds civil day `day` under the current setting, and under
// the other setting too when that gives another month (its first day, length
// or number); the setting is restored afterwards, and the lunar years built
// so far are dropped on each change. Empty for a day outside
// the lunar conversions' years.
std::vector<std::string> WhyDayLines(int32_t day, bool tsv);
// One line per month of lunar year y with its first day and its source,
// after a heading line (without it in TSV form). Empty outside the years.
std::vector<std::string> WhyYearLines(int32_t lunarYear, bool tsv);
// The TSV line of one month; the columns are listed in the README.
std::string MonthSourceTsv(const LunarMonthSource& month);

// Every month start and principal-term day of the months that begin in civil
// years first..last whose deciding modern moment lies within the margin:
// date, event, moment, seconds to the deciding instant, margin in seconds.
std::vector<std::string> UncertainLines(int32_t firstYear, int32_t lastYear);
