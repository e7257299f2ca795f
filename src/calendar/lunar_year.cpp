#include "lunar_year.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "calendar_flags.h"
#include "civil_calendar.h"
#include "date_text.h"
#include "historical_calendar.h"
#include "solver.h"

namespace {

// The leap-month rule of the calendars of 104 BC .. AD 665: a cycle of N
// years holding M months from epoch year E, New Years counted in mean
// months of F days from epoch day A.
struct CycleRule {
    int32_t firstYear, lastYear;
    double month;  // F
    double epochYear;  // E
    int years;  // N
    int months;  // M
    double epochDay;  // A
};

const CycleRule CycleRules[] = {
    {-103, 84, 2392.0 / 81, -103 - 1.0 / 6, 19, 235, 1683431},
    {85, 237, 27759.0 / 940, -160 - 1.0 / 6, 19, 235, 1662611},
    {238, 444, 134630.0 / 4559, -3808 - 1.0 / 6, 19, 235, 330191},
    {445, 509, 22207.0 / 752, 212, 19, 235, 1798541},
    {510, 589, 116321.0 / 3939, -51476 - 1.0 / 6, 391, 4836, -17080189},
    {590, 596, 5372209.0 / 181920, -4128416 - 1.0 / 6 - 1.0 / 12, 429, 5306,
     -1506155749 - 5372209.0 / 181920},
    {597, 618, 33783.0 / 1144, -1427036 - 1.0 / 6, 410, 5071, -519493909},
    {645, 665, 384075.0 / 13006, -163722 - 1.0 / 6, 676, 8361, -58077529},
};

const CycleRule* FindCycleRule(int32_t y)
{
    if (ModernCalculateAncientFlag == 1) return nullptr;
    for (const CycleRule& r : CycleRules)
        if (y >= r.firstYear && y <= r.lastYear) return &r;
    return nullptr;
}

struct YearStart {
    int leapCode;
    int32_t newYear;
    int32_t searchedFrom;  // the solstice rule's search for New Year's new moon; 0 for the cycle
};

// The mean new moon that opens year y: whole mean months counted from the
// epoch, as many as the cycle holds up to the year.
double CycleNewYearMoment(const CycleRule& r, int32_t y)
{
    double k = std::floor((y - r.epochYear) * r.months / r.years);
    return r.epochDay + k * r.month;
}

YearStart CycleYearStart(const CycleRule& r, int32_t y)
{
    double t = (y - r.epochYear) * r.months;
    double rest = std::floor(t - r.years * std::floor(t / r.years));
    int code = r.years - (r.months % r.years) <= rest ? 1 : 0;
    return {code, int32_t(std::floor(CycleNewYearMoment(r, y))), 0};
}

// Days of the historical spans on which TermOnOrAfter hands a modern term
// on to the calendar then in force.
bool InHistoricalTermDays(int32_t day) { return day >= 1683438 && day <= 2410263; }

// The term of the calendar in force near the modern term of `day`, on or
// after x.
double TermInForce(int32_t x, int32_t day)
{
    double u = TermMoment(day - 5, 0);
    if (std::floor(u) < x) u = TermMoment(int32_t(std::floor(u)) + 360, 0);
    return u;
}

}  // namespace

int32_t TermDayOnOrAfter(int32_t x, int n)
{
    if (ModernCalculateAncientFlag == 1) return AstroTermDayOnOrAfter(x, n, 0);
    int32_t day = AstroTermDayOnOrAfter(x, n, 1);
    return InHistoricalTermDays(day) ? int32_t(std::floor(TermInForce(x, day))) : day;
}

namespace {

// From winter solstice to winter solstice: the 11th month holds the
// solstice, and the first month without a principal term is the leap month.
YearStart AstronomicalYearStart(int32_t y)
{
    int32_t j = DateToDayNumber(y, 1, 1);
    int32_t w1 = TermDayOnOrAfter(j - 180, 24);
    int32_t w2 = TermDayOnOrAfter(w1 + 300, 24);
    int32_t w3 = TermDayOnOrAfter(w2 + 300, 24);
    int32_t m1 = NewMoonOnOrBefore(w1), m2 = NewMoonOnOrBefore(w2), m3 = NewMoonOnOrBefore(w3);
    YearStart start{0, 0, m1 + 50};
    if (m2 - m1 < 360) {
        if (m3 - m2 >= 360) {
            int32_t a1 = NewMoonOnOrAfter(m2 + 20), a2 = NewMoonOnOrAfter(a1 + 20),
                    a3 = NewMoonOnOrAfter(a2 + 20);
            start.leapCode = HasPrincipalTerm(a1, a2 - 1) && HasPrincipalTerm(a2, a3 - 1) ? 0 : 2;
        }
        start.newYear = NewMoonOnOrAfter(m1 + 50);
    } else {
        int32_t a1 = NewMoonOnOrAfter(m1 + 20), a2 = NewMoonOnOrAfter(a1 + 20),
                a3 = NewMoonOnOrAfter(a2 + 20);
        if (HasPrincipalTerm(a1, a2 - 1) && HasPrincipalTerm(a2, a3 - 1))
            start = {1, a2, a1 + 20};
        else
            start = {0, a3, a2 + 20};
    }
    // The year's start is handed on as its month and day in year y, as the
    // record keeps it.
    auto date = DayNumberToDate(start.newYear);
    if (date) start.newYear = DateToDayNumber(y, date->month % 10, date->day);
    return start;
}

YearStart ComputeYearStart(int32_t y)
{
    const CycleRule* rule = FindCycleRule(y);
    return rule ? CycleYearStart(*rule, y) : AstronomicalYearStart(y);
}

using Record = std::array<char, 17>;

// What is kept of lunar year FirstRecordYear + i: its record, built on first
// use (an empty record holds '\0' in its first character) together with its
// decoded shape, and its start, which YearLeapCode, LunarNewYear and the
// record share.
struct YearSlot {
    Record record;
    LunarYearShape shape;
    int32_t newYearDay;  // the day number of the shape's New Year's day
    YearStart start;
    bool hasStart;
};

std::vector<YearSlot>& Cache()
{
    static std::vector<YearSlot> cache(size_t(LastRecordYear - FirstRecordYear + 1), YearSlot{});
    return cache;
}

bool InRecordRange(int32_t y) { return y >= FirstRecordYear && y <= LastRecordYear; }

YearStart LunarYearStart(int32_t y)
{
    if (!InRecordRange(y)) return ComputeYearStart(y);
    YearSlot& slot = Cache()[size_t(y - FirstRecordYear)];
    if (!slot.hasStart) {
        slot.start = ComputeYearStart(y);
        slot.hasStart = true;
    }
    return slot.start;
}

Record BuildRecord(int32_t y)
{
    YearStart start = LunarYearStart(y);
    LunationList lunations{};
    lunations.newMoons[1] = start.newYear;
    int count = start.leapCode == 0 ? 12 : 13;
    for (int i = 2; i <= count + 1; ++i) lunations.newMoons[i] = NewMoonOnOrAfter(lunations.newMoons[i - 1] + 20);
    for (int i = 1; i <= count; ++i)
        lunations.holdsPrincipalTerm[i] =
            HasPrincipalTerm(lunations.newMoons[i], lunations.newMoons[i + 1] - 1);
    std::string months = MonthCharacters(start.leapCode, lunations);
    Record record{};
    for (size_t i = 0; i < 14 && i < months.size(); ++i) record[i] = months[i];
    // New Year's day as the last digit of its month and its two-digit day.
    if (auto newYear = DayNumberToDate(start.newYear)) {
        record[14] = char('0' + newYear->month % 10);
        record[15] = char('0' + newYear->day / 10);
        record[16] = char('0' + newYear->day % 10);
    }
    return record;
}

// The only reading of a record's characters.
LunarYearShape DecodeRecord(const Record& r)
{
    LunarYearShape shape{};
    for (int m = 1; m <= 12; ++m) shape.monthDays[m] = r[size_t(m - 1)] == '1' ? 30 : 29;
    char leap = r[12];
    shape.leapMonth = leap >= 'A' ? leap - 'A' + 10 : leap - '0';
    shape.leapMonthDays = shape.leapMonth == 0 ? 0 : r[13] == '1' ? 30 : 29;
    shape.newYearMonth = r[14] - '0';
    shape.newYearDay = (r[15] - '0') * 10 + (r[16] - '0');
    return shape;
}

// The slot of lunar year y with its record built, or nullptr outside the
// record range.
const YearSlot* BuiltSlot(int32_t y)
{
    if (!InRecordRange(y)) return nullptr;
    YearSlot& slot = Cache()[size_t(y - FirstRecordYear)];
    if (slot.record[0] == '\0') {
        slot.record = BuildRecord(y);
        slot.shape = DecodeRecord(slot.record);
        slot.newYearDay = DateToDayNumber(y, slot.shape.newYearMonth, slot.shape.newYearDay);
    }
    return &slot;
}

const LunarYearShape* ShapeOf(int32_t y)
{
    const YearSlot* slot = BuiltSlot(y);
    return slot ? &slot->shape : nullptr;
}


bool InConversionRange(int32_t y) { return y >= FirstConversionYear && y <= LastConversionYear; }

// The date of day `ordinal` (1 = New Year's day) of a year whose shape is at hand.
std::optional<LunarDate> DateOfOrdinal(int32_t y, const LunarYearShape& shape, int ordinal)
{
    if (ordinal <= 0) return std::nullopt;
    int rest = ordinal;
    for (int m = 1; m <= 12; ++m) {
        if (rest <= shape.monthDays[m]) return LunarDate{y, m, rest};
        rest -= shape.monthDays[m];
        if (m == shape.leapMonth) {
            if (rest <= shape.leapMonthDays) return LunarDate{y, m + 12, rest};
            rest -= shape.leapMonthDays;
        }
    }
    return std::nullopt;
}

// The lunar date of day j of civil year y (a year of the conversion range).
std::optional<LunarDate> LunarDateInYear(int32_t y, int32_t j)
{
    const YearSlot* slot = BuiltSlot(y);
    if (j < slot->newYearDay) slot = BuiltSlot(--y);
    return DateOfOrdinal(y, slot->shape, j - slot->newYearDay + 1);
}

// TermOnOrAfter answers kept by setting, x and n: the stem-branch year asks
// for the same 立春 on every day of a civil year.
std::unordered_map<uint64_t, double>& TermMemo(int flag)
{
    static std::unordered_map<uint64_t, double> memo[2];
    return memo[flag == 1];
}

}  // namespace

std::string MonthCharacters(int leapCode, const LunationList& lunations)
{
    // A lunation is long exactly when the next new moon comes 30 days later.
    auto length = [&](int i) {
        return lunations.newMoons[i + 1] - lunations.newMoons[i] == 30 ? '1' : '0';
    };
    std::string months, leap = "00";
    if (leapCode == 0) {
        for (int i = 1; i <= 12; ++i) months += length(i);
    } else if (leapCode == 2) {
        // A leap 11th or 12th month ends the year.
        for (int i = 1; i <= 11; ++i) months += length(i);
        if (lunations.holdsPrincipalTerm[12]) {
            months += length(12);
            leap = {'C', length(13)};
        } else {
            leap = {'B', length(12)};
            months += length(13);
        }
    } else {
        // The first lunation without a principal term is the leap month.
        bool found = false;
        for (int i = 1; i <= 13; ++i) {
            if (!found && !lunations.holdsPrincipalTerm[i]) {
                found = true;
                leap = {"0123456789ABC"[i - 1], length(i)};
            } else {
                months += length(i);
            }
        }
        // A leap year of the cycle rule whose thirteen lunations all hold a
        // principal term: the thirteenth counts as a leap 12th month.
        if (!found) {
            months.pop_back();
            leap = {'C', length(13)};
        }
    }
    return months + leap;
}

double TermOnOrAfter(int32_t x, int n)
{
    auto& memo = TermMemo(ModernCalculateAncientFlag);
    uint64_t key = uint64_t(uint32_t(x)) << 32 | uint32_t(n);
    if (auto it = memo.find(key); it != memo.end()) return it->second;
    double t;
    if (ModernCalculateAncientFlag == 1) {
        t = AstroTermOnOrAfter(x, n, 0);
    } else {
        // Inside the historical spans the term is the one the calendar in
        // force placed near the modern term, whose day is enough to know.
        int32_t day = AstroTermDayOnOrAfter(x, n, 1);
        t = InHistoricalTermDays(day) ? TermInForce(x, day) : AstroTermOnOrAfter(x, n, 1);
    }
    if (memo.size() >= 1 << 16) memo.clear();
    return memo[key] = t;
}

int32_t NewMoonOnOrAfter(int32_t x) { return NewMoonDay(x); }

int32_t NewMoonOnOrBefore(int32_t x)
{
    int32_t s = NewMoonOnOrAfter(x - 10);
    return s <= x ? s : NewMoonOnOrAfter(s - 40);
}

int HasPrincipalTerm(int32_t a, int32_t b) { return TermWithin(a, 1, b); }

int YearLeapCode(int32_t y) { return LunarYearStart(y).leapCode; }

NewYearOrigin LunarNewYearOrigin(int32_t y)
{
    NewYearOrigin origin{};
    if (const CycleRule* r = FindCycleRule(y)) {
        origin.cycle = LeapCycle{r->firstYear, r->lastYear, r->years, r->months, r->month};
        origin.meanNewMoon = CycleNewYearMoment(*r, y);
    } else {
        origin.searchedFrom = LunarYearStart(y).searchedFrom;
    }
    return origin;
}

int32_t LunarNewYear(int32_t y) { return LunarYearStart(y).newYear; }

std::string GetLunarYearRecord(int32_t y)
{
    const YearSlot* slot = BuiltSlot(y);
    return slot ? std::string(slot->record.begin(), slot->record.end()) : std::string();
}

void EraseLunarYearCache()
{
    for (YearSlot& slot : Cache()) slot = YearSlot{};
    TermMemo(0).clear();
    TermMemo(1).clear();
    EraseDaySearches();
}

std::optional<LunarYearShape> LunarYearShapeOf(int32_t y)
{
    const LunarYearShape* shape = ShapeOf(y);
    return shape ? std::optional<LunarYearShape>(*shape) : std::nullopt;
}

int LunarMonthLength(int32_t y, int month)
{
    const LunarYearShape* shape = ShapeOf(y);
    if (!shape) return 0;
    if (month >= 1 && month <= 12) return shape->monthDays[month];
    if (month >= 13 && month <= 24 && shape->leapMonth == month - 12) return shape->leapMonthDays;
    return 0;
}

int LunarYearDays(int32_t y)
{
    const LunarYearShape* shape = ShapeOf(y);
    if (!shape) return 0;
    int days = 0;
    for (int m = 1; m <= 12; ++m) days += shape->monthDays[m];
    if (shape->leapMonth) days += shape->leapMonthDays;
    return days;
}

int IsValidLunarDate(int32_t y, int month, int day)
{
    return day >= 1 && day <= LunarMonthLength(y, month) ? 1 : 0;
}

int LunarMonthOrdinal(int32_t y, int month)
{
    if (!IsValidLunarDate(y, month, 1)) return 0;
    int leap = ShapeOf(y)->leapMonth;
    if (month > 12) return leap + 1;
    return leap && month > leap ? month + 1 : month;
}

int LunarMonthFromOrdinal(int32_t y, int ordinal)
{
    const LunarYearShape* shape = ShapeOf(y);
    if (!shape) return 0;
    int leap = shape->leapMonth;
    if (leap) {
        if (ordinal < 1 || ordinal > 13) return 0;
        if (ordinal <= leap) return ordinal;
        return ordinal == leap + 1 ? leap + 12 : ordinal - 1;
    }
    return ordinal >= 1 && ordinal <= 12 ? ordinal : 0;
}

int LunarDayOrdinal(int32_t y, int month, int day)
{
    if (!IsValidLunarDate(y, month, day)) return 0;
    const LunarYearShape& shape = *ShapeOf(y);
    int before = 0;
    int regularBefore = month > 12 ? month - 12 : month - 1;
    for (int m = 1; m <= regularBefore; ++m) {
        before += shape.monthDays[m];
        if (m == shape.leapMonth && month <= 12) before += shape.leapMonthDays;
    }
    return before + day;
}

std::string LunarDateFromOrdinal(int32_t y, int ordinal)
{
    const LunarYearShape* shape = ShapeOf(y);
    return shape ? LunarDateText(DateOfOrdinal(y, *shape, ordinal)) : "";
}

std::optional<LunarDate> LunarDateOfDay(int32_t dayNumber)
{
    auto date = DayNumberToDate(dayNumber);
    if (!date || !InConversionRange(date->year)) return std::nullopt;
    return LunarDateInYear(date->year, dayNumber);
}

std::optional<LunarDate> LunarDateOf(const CalendarDate& date)
{
    int32_t j = DateToDayNumber(date);
    if (!InConversionRange(date.year) || j == NoDayNumber) return std::nullopt;
    return LunarDateInYear(date.year, j);
}

int32_t DayOfLunarDate(const LunarDate& date)
{
    if (!InConversionRange(date.year) || !IsValidLunarDate(date.year, date.month, date.day)) return NoDayNumber;
    return BuiltSlot(date.year)->newYearDay + LunarDayOrdinal(date.year, date.month, date.day) - 1;
}

std::string LunarDateText(const std::optional<LunarDate>& date)
{
    std::string text;
    AppendLunarDateText(text, date);
    return text;
}

void AppendLunarDateText(std::string& text, const std::optional<LunarDate>& date)
{
    if (date) AppendDateText(text, CalendarDate{date->year, date->month, date->day});
}

std::string SolarToLunar(int32_t y, int month, int day)
{
    return LunarDateText(LunarDateOf(CalendarDate{y, month, day}));
}

std::string LunarToSolar(int32_t y, int month, int day)
{
    int32_t j = DayOfLunarDate(LunarDate{y, month, day});
    return j == NoDayNumber ? "" : DayNumberToText(j);
}
