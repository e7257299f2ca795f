#include "sexagenary_cycle.h"

#include "calendar_names.h"
#include "civil_calendar.h"
#include "historical_calendar.h"
#include "lunar_year.h"

namespace {

// Cycle index of a stem-branch year: 1984 is 甲子 (1).
int YearIndexOf(int64_t year) { return int(FloorMod(year + 12057 - 1, 60)) + 1; }

// Day of year of the first 立春 (term 3) at or after day j, counted from j.
int32_t SpringStartOrdinal(int32_t j, int32_t from)
{
    return TermDayOnOrAfter(from, 3) - j + 1;
}

// The month index of a day whose year index is already known.
int MonthIndexInYear(int yearIndex, int32_t y, int m, int d, int mode)
{
    if (yearIndex == 0) return 0;
    // Years whose stems pair as 甲己, 乙庚, 丙辛, 丁壬, 戊癸 share their months.
    int group = (yearIndex - 1) % 5 + 1;
    int month;
    if (mode == 1) {
        auto lunar = LunarDateOf(CalendarDate{y, m, d});
        if (!lunar) return 0;
        month = (lunar->month - 1) % 12 + 2;  // a leap month repeats the month it follows
    } else {
        int term = CurrentTermIndex(y, m, d);
        if (term == 0) return 0;
        int solarMonth = (term - 1) / 2 + 1;
        month = solarMonth == 1 ? 13 : solarMonth;
    }
    return ((group - 1) * 12 + month) % 60 + 1;
}

}  // namespace

int YearCycleIndex(int32_t y, int m, int d, int mode)
{
    if (!IsValidDate(y, m, d)) return 0;
    if (mode == 1) {
        auto shape = LunarYearShapeOf(y);
        if (!shape) return 0;
        bool beforeNewYear = m < shape->newYearMonth || (m == shape->newYearMonth && d < shape->newYearDay);
        return YearIndexOf(beforeNewYear ? int64_t(y) - 1 : y);
    }
    // The year begins at 立春. Far from the present the Julian calendar
    // drifts, so 立春 may fall late in the Gregorian year, or twice in it.
    int32_t j = DateToDayNumber(y, 1, 1);
    int32_t a = SpringStartOrdinal(j, j), b;
    if (a < 180) {
        b = a < 10 ? SpringStartOrdinal(j, j + 180) : 400;
    } else {
        b = a;
        a = -400;
    }
    int n = DayOfYear(y, m, d);
    int64_t year = n < a ? int64_t(y) - 1 : n < b ? y : int64_t(y) + 1;
    return YearIndexOf(year);
}

int YearAnimalIndex(int32_t y, int m, int d, int mode)
{
    int index = YearCycleIndex(y, m, d, mode);
    return index == 0 ? 0 : (index - 1) % 12 + 1;
}

int MonthCycleIndex(int32_t y, int m, int d, int mode)
{
    return MonthIndexInYear(YearCycleIndex(y, m, d, mode), y, m, d, mode);
}


int DayCycleIndex(int32_t y, int m, int d)
{
    int32_t j = DateToDayNumber(y, m, d);
    return j == NoDayNumber ? 0 : DayCycleIndexOfDay(j);
}

int DayCycleIndexOfDay(int32_t dayNumber) { return int(FloorMod(int64_t(dayNumber) - 11, 60)) + 1; }

int CurrentTermIndex(int32_t y, int m, int d)
{
    int32_t j = DateToDayNumber(y, m, d);
    if (j == NoDayNumber) return 0;
    int k = TermNumber(j);
    if (TermWithin(j, 0, j)) return k;
    return k == 1 ? 24 : k - 1;
}

std::string CycleDateText(int32_t y, int m, int d, int mode)
{
    if (y < FirstConversionYear || y > LastConversionYear) return "";
    int year = YearCycleIndex(y, m, d, mode);
    int month = MonthIndexInYear(year, y, m, d, mode);
    int day = DayCycleIndex(y, m, d);
    if (year == 0 || month == 0 || day == 0) return "";
    int animal = (year - 1) % 12 + 1;
    return CycleName(year) + "(" + AnimalNames[animal] + ")年" + CycleName(month) + "月" +
           CycleName(day) + "日";
}

std::string CycleName(int index)
{
    std::string name;
    AppendCycleName(name, index);
    return name;
}

void AppendCycleName(std::string& text, int index)
{
    if (index < 1 || index > 60) return;
    text += StemNames[(index - 1) % 10 + 1];
    text += BranchNames[(index - 1) % 12 + 1];
}
