// Solar term days and stem-branch texts for days asked in ascending order,
// as the day export and the condition-day list go through their days.
#pragma once
#include <cstdint>
#include <string>

#include "civil_calendar.h"

// The day of the first solar term on or after a day (the floor of the term
// moment finder's answer), which is the same for every day up to it. Two
// stretches of days are kept: a term day's month also asks about the
// stretch after it.
struct TermDayMemo {
    // The term's day, or j - 1 (not a term day; asked again) where the finder
    // gives nothing usable.
    int32_t NextTermDay(int32_t j);
    bool IsTermDay(int32_t j) { return NextTermDay(j) == j; }

private:
    struct Stretch {
        int32_t from = 1, termDay = 0;
    } stretches[2];
};

// "甲子(鼠)年丙寅月戊午日" (CycleDateText) of days asked in ascending order.
// Counted from 立春, the year and month part stays the same up to the day
// before the next day on which it may change: 1 January, or the day of an
// odd-numbered term (节) or of a term without a number. Up to there only the
// day's own stem and branch are new.
struct StemBranchDays {
    void Append(std::string& text, int32_t j, const CalendarDate& date, int mode, TermDayMemo& terms);

private:
    int32_t LastDayOfYearMonth(int32_t j, int32_t year, TermDayMemo& terms);
    std::string yearMonth;  // "" when the next text is made in full
    int32_t from = 0, last = 0;
};
