// The conversions between civil dates, day numbers, lunar and Hijri dates,
// and the texts built from them, given arbitrary 32-bit numbers (and a
// moment from arbitrary bits): no undefined behaviour at the extremes, the
// sentinel result outside each range, and inside it a way back to where the
// conversion started.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "calendar_names.h"
#include "date_text.h"
#include "hijri_calendar.h"
#include "lunar_year.h"
#include "sexagenary_cycle.h"

namespace {

// The month, day and astronomical year of a tagged date text.
CalendarDate TaggedDate(const std::string& text)
{
    if (text.size() != 12) std::abort();
    int32_t shown = std::atoi(text.substr(8, 4).c_str());
    return {text.compare(0, 2, "BC") == 0 ? 1 - shown : shown, std::atoi(text.substr(2, 2).c_str()),
            std::atoi(text.substr(5, 2).c_str())};
}

void CivilDate(int32_t y, int32_t m, int32_t d)
{
    int32_t j = DateToDayNumber(y, int(m), int(d));
    bool valid = IsValidDate(y, int(m), int(d)) == 1;
    if (!valid) {
        if (j != NoDayNumber || DayOfYear(y, int(m), int(d)) != 0) std::abort();
        return;
    }
    if (j < FirstDayNumber || j > LastDayNumber) std::abort();
    if (DayNumberToDate(j) != CalendarDate{y, int(m), int(d)}) std::abort();
    if (TaggedDate(DateToText({y, int(m), int(d)})) != CalendarDate{y, int(m), int(d)}) std::abort();
    if (DayOfYearToDate(y, DayOfYear(y, int(m), int(d))) != CalendarDate{y, int(m), int(d)}) std::abort();

    std::string lunar = SolarToLunar(y, int(m), int(d));
    bool inSpan = y >= FirstConversionYear && y <= LastConversionYear;
    if (inSpan == lunar.empty()) std::abort();
    if (!lunar.empty()) {
        // The first days of the span's first year lie in the lunar year
        // before it, which the way back does not take.
        CalendarDate l = TaggedDate(lunar);
        if (IsValidLunarDate(l.year, l.month, l.day) != 1) std::abort();
        if (l.year >= FirstConversionYear && LunarToSolar(l.year, l.month, l.day) != DateToText({y, int(m), int(d)}))
            std::abort();
    }
    // The stem-branch text of every day of the span, in both year counts.
    for (int mode : {0, 1})
        if (CycleDateText(y, int(m), int(d), mode).empty() == inSpan) std::abort();
    std::string hijri = SolarToHijriText(y, int(m), int(d));
    if (!hijri.empty()) {
        CalendarDate h = TaggedDate(hijri);
        if (HijriToDayNumber(h.year, h.month, h.day) != j || HijriToSolarText(h.year, h.month, h.day) != DateToText({y, int(m), int(d)}))
            std::abort();
    }
}

void DayNumber(int32_t j)
{
    auto date = DayNumberToDate(j);
    std::string text = DayNumberToText(j);
    if ((j >= FirstDayNumber && j <= LastDayNumber) != date.has_value() || date.has_value() == text.empty())
        std::abort();
    if (date && (DateToDayNumber(*date) != j || TaggedDate(text) != *date)) std::abort();
    int weekday = WeekdayOfDayNumber(j);
    if (weekday < 0 || weekday > 6) std::abort();
}

void OtherCalendars(int32_t y, int32_t m, int32_t d)
{
    // Lunar and Hijri dates that do not exist give the sentinels.
    if (IsValidLunarDate(y, int(m), int(d)) != 1 && !LunarToSolar(y, int(m), int(d)).empty()) std::abort();
    int32_t j = HijriToDayNumber(y, int(m), int(d));
    if ((IsValidHijriDate(y, int(m), int(d)) != 1) != (j == NoDayNumber)) std::abort();
    std::string civil = HijriToSolarText(y, int(m), int(d));
    if (!civil.empty() && DateToDayNumber(TaggedDate(civil)) != j) std::abort();
    if (IsValidLunarDate(y, int(m), int(d)) == 1 && y >= FirstConversionYear && y <= LastConversionYear) {
        std::string solar = LunarToSolar(y, int(m), int(d));
        CalendarDate c = TaggedDate(solar);
        // The last lunar months of the span's last year end in the year
        // after it, which the way back does not take.
        if (c.year <= LastConversionYear && SolarToLunar(c.year, c.month, c.day) != DateToText({y, int(m), int(d)}))
            std::abort();
    }
}

void Texts(int32_t a, int32_t b, double moment)
{
    std::string text = MomentToText(moment);
    if (!text.empty() && text.size() != 21) std::abort();  // "AD01-01-2000 06:00:00"
    if (!(moment >= FirstDayNumber && moment < LastDayNumber + 1) != text.empty()) std::abort();
    std::string ordinal = DayOfYearToText(a, int(b));
    if (!ordinal.empty() && (TaggedDate(ordinal).year != a || DayOfYear(a, TaggedDate(ordinal).month, TaggedDate(ordinal).day) != b))
        std::abort();
    // The builders give "" or a text of their fixed width.
    for (const std::string& year : {YearText(a), HijriYearText(a), ChineseYearText(a)})
        if (!year.empty() && year.size() != 8 && year.size() != 10) std::abort();
    if (IsValidDate(a, int(b), 1) != 1 && !CycleDateText(a, int(b), 1, 0).empty()) std::abort();
    DateToText({a, int(b), int(b)});
    LunarMonthName(int(a), int(b));
    LunarDayName(int(a));
    ChineseDigit(int(a));
    int width = int(uint32_t(b) % 24);
    std::string padded = ZeroPadded(a, width);
    if (padded.size() < size_t(width) || std::strtoll(padded.c_str(), nullptr, 10) != a) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    int32_t n[3] = {};
    double moment = 0;
    if (size < 1 + sizeof n) return 0;
    std::memcpy(n, data + 1, sizeof n);
    if (size >= 1 + sizeof n + sizeof moment) std::memcpy(&moment, data + 1 + sizeof n, sizeof moment);
    switch (data[0] % 4) {
    case 0: CivilDate(n[0], n[1], n[2]); break;
    case 1: DayNumber(n[0]); break;
    case 2: OtherCalendars(n[0], n[1], n[2]); break;
    case 3: Texts(n[0], n[1], moment); break;
    }
    return 0;
}
