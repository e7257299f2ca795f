#include "stem_branch_days.h"

#include "historical_calendar.h"
#include "sexagenary_cycle.h"

int32_t TermDayMemo::NextTermDay(int32_t j)
{
    for (const Stretch& s : stretches)
        if (j >= s.from && j <= s.termDay) return s.termDay;
    int32_t termDay = TermMomentDay(j, 0);
    int32_t day = termDay >= j && termDay - int64_t(j) < 366 ? termDay : j - 1;
    stretches[1] = stretches[0];
    stretches[0] = {j, day};
    return day;
}

void StemBranchDays::Append(std::string& text, int32_t j, const CalendarDate& date, int mode, TermDayMemo& terms)
{
    if (mode == 0 && !yearMonth.empty() && j > from && j <= last) {
        text += yearMonth;
        AppendCycleName(text, DayCycleIndexOfDay(j));
        text += "日";
        return;
    }
    std::string full = CycleDateText(date.year, date.month, date.day, mode);
    // The day part is the last three characters (six bytes).
    yearMonth = mode == 0 && full.size() > 6 ? full.substr(0, full.size() - 6) : "";
    from = j;
    if (!yearMonth.empty()) last = LastDayOfYearMonth(j, date.year, terms);
    text += full;
}

int32_t StemBranchDays::LastDayOfYearMonth(int32_t j, int32_t year, TermDayMemo& terms)
{
    int32_t yearEnd = DateToDayNumber(year, 12, 31);
    for (int32_t day = j + 1; day <= yearEnd;) {
        int32_t termDay = terms.NextTermDay(day);
        if (termDay < day) return day - 1;  // no answer: made in full from there
        if (termDay > yearEnd) break;
        // The term of the term day: TermNumber finds the first one from there.
        int n = TermNumber(termDay);
        if (n < 1 || n > 24 || n % 2 == 1) return termDay - 1;
        day = termDay + 1;
    }
    return yearEnd;
}
