#include "converter.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <iterator>

#include "calendar_flags.h"
#include "calendar_names.h"
#include "condition_query.h"
#include "date_bounds.h"
#include "date_text.h"
#include "festivals.h"
#include "gbk_text.h"
#include "hijri_calendar.h"
#include "historical_calendar.h"
#include "lunar_year.h"
#include "seasonal_periods.h"
#include "sexagenary_cycle.h"
#include "stem_branch_days.h"
#include "weekday_zodiac.h"

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Value of the digits of text[pos, pos + count); -1 when one is no digit.
int64_t DigitsValue(const std::string& text, size_t pos, size_t count)
{
    if (pos + count > text.size()) return -1;
    int64_t value = 0;
    for (size_t i = pos; i < pos + count; ++i) {
        if (!IsDigit(text[i])) return -1;
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

bool InToolSpan(int64_t j) { return j >= FirstJulianDay && j <= LastJulianDay; }

}  // namespace

std::string ConverterTitle(int mode)
{
    switch (mode) {
    case JulianDayMode: return "计算儒略日";
    case IntervalMode: return "计算间隔日";
    case StemBranchMode: return "计算干支历";
    case ConversionMode: return "公历农历回历互转";
    default: return "";
    }
}

std::string ResultCaption(int mode)
{
    switch (mode) {
    case JulianDayMode: return "儒略日数";
    case IntervalMode: return "间隔日数";
    case StemBranchMode: return "干支历";
    default: return "";
    }
}

std::string ActionButtonText(int mode) { return mode == ConversionMode ? "转换" : "计算"; }

DateField InitialDateField(const CalendarDate& shown)
{
    bool beforeYearOne = shown.year <= 0;
    int64_t typedYear = beforeYearOne ? 1 - int64_t(shown.year) : shown.year;
    return {ZeroPadded(shown.month, 2) + "-" + ZeroPadded(shown.day, 2) + "-" + ZeroPadded(typedYear, 4),
            FieldCalendar::Gregorian, beforeYearOne};
}

int32_t ReadDateField(const DateField& field)
{
    // The normalised text is always "MM-DD-YYYY", all digits, none zero.
    std::string typed = NormaliseTypedDate(field.text);
    if (typed.empty()) return NoDayNumber;
    int month = int(DigitsValue(typed, 0, 2)), day = int(DigitsValue(typed, 3, 2));
    int32_t year = int32_t(DigitsValue(typed, 6, 4));
    if (month < 0 || day < 0 || year < 0) return NoDayNumber;
    if (field.beforeYearOne) year = 1 - year;

    int32_t j = NoDayNumber;
    switch (field.calendar) {
    case FieldCalendar::Gregorian: j = DateToDayNumber(year, month, day); break;
    case FieldCalendar::Lunar: j = DayOfLunarDate(LunarDate{year, month, day}); break;
    case FieldCalendar::Hijri: j = HijriToDayNumber(year, month, day); break;
    }
    return j != NoDayNumber && InToolSpan(j) ? j : NoDayNumber;
}

std::string DayInCalendar(int32_t j, FieldCalendar calendar)
{
    if (!InToolSpan(j)) return "";
    std::optional<CalendarDate> date = DayNumberToDate(j);
    if (!date) return "";
    switch (calendar) {
    case FieldCalendar::Lunar: return SolarToLunar(date->year, date->month, date->day);
    case FieldCalendar::Hijri: return SolarToHijriText(date->year, date->month, date->day);
    default: return DateToText(*date);
    }
}

std::string DayInWords(int32_t j, FieldCalendar calendar)
{
    std::optional<CalendarDate> date = DayNumberToDate(j);
    if (!date) return "";
    std::string words;
    if (calendar == FieldCalendar::Lunar) {
        std::optional<LunarDate> lunar = LunarDateOfDay(j);
        if (!lunar) return "";
        std::string month = LunarMonthName(lunar->month, 1);
        month.resize(month.size() - 2);  // without the 大/小 of its length
        words = TrimBlanks(ChineseYearText(lunar->year)) + "年" + month + LunarDayName(lunar->day);
    } else if (calendar == FieldCalendar::Hijri) {
        std::optional<HijriDate> hijri = HijriDateOfDay(j);
        if (!hijri) return "";
        words = TrimBlanks(HijriYearText(hijri->year)) + "年" + std::to_string(hijri->month) + "月" +
                std::to_string(hijri->day) + "日";
    } else {
        words = TrimBlanks(YearText(date->year)) + "年" + std::to_string(date->month) + "月" +
                std::to_string(date->day) + "日 " + WeekdayName(date->year, date->month, date->day);
    }
    std::string cycle = CycleDateText(date->year, date->month, date->day, GanZhiFromChunjieFlag);
    return cycle.empty() ? words : words + " " + cycle;
}

std::optional<int64_t> ReadIntervalDays(const std::string& text)
{
    if (!ConsistsOnlyOf(text, "1234567890-")) return std::nullopt;
    bool negative = !text.empty() && text[0] == '-';
    size_t from = negative ? 1 : 0;
    // No digits at all (an empty field, a lone "-") is no number of days,
    // rather than zero days.
    if (text.size() == from || text.find('-', from) != std::string::npos) return std::nullopt;
    // Beyond twelve digits every interval leaves the span; stop counting
    // there so that no digit string can overflow.
    int64_t value = 0;
    for (size_t i = from; i < text.size(); ++i) value = std::min<int64_t>(value * 10 + (text[i] - '0'), 999999999999);
    return negative ? -value : value;
}

ConverterFields JulianDayAction(ConverterFields fields)
{
    int32_t j = ReadDateField(fields.first);
    if (j == NoDayNumber) fields.first.text.clear();
    fields.result = j == NoDayNumber ? "" : std::to_string(j);
    return fields;
}

ConverterFields IntervalAction(ConverterFields fields)
{
    int32_t j1 = ReadDateField(fields.first), j2 = ReadDateField(fields.second);
    if (j1 == NoDayNumber) fields.first.text.clear();
    if (j2 == NoDayNumber) fields.second.text.clear();
    fields.result = j1 == NoDayNumber || j2 == NoDayNumber ? "" : std::to_string(int64_t(j2) - j1);
    return fields;
}

ConverterFields IntervalDateAction(ConverterFields fields)
{
    int32_t j1 = ReadDateField(fields.first);
    std::optional<int64_t> days = ReadIntervalDays(fields.result);
    std::string second;
    if (j1 != NoDayNumber && days && InToolSpan(j1 + *days))
        second = DayInCalendar(int32_t(j1 + *days), fields.second.calendar);
    if (j1 == NoDayNumber) fields.first.text.clear();
    fields.second.text = second;
    return fields;
}

ConverterFields StemBranchAction(ConverterFields fields)
{
    int32_t j = ReadDateField(fields.first);
    std::optional<CalendarDate> date = DayNumberToDate(j);
    if (j == NoDayNumber) fields.first.text.clear();
    fields.result = date ? CycleDateText(date->year, date->month, date->day, GanZhiFromChunjieFlag) : "";
    return fields;
}

ConverterFields ConversionAction(ConverterFields fields)
{
    int32_t j = ReadDateField(fields.first);
    if (j == NoDayNumber) fields.first.text.clear();
    fields.second.text = DayInCalendar(j, fields.second.calendar);
    return fields;
}

ConverterFields ConverterAction(int mode, bool intervalToDate, ConverterFields fields)
{
    switch (mode) {
    case JulianDayMode: return JulianDayAction(std::move(fields));
    case IntervalMode:
        return intervalToDate ? IntervalDateAction(std::move(fields)) : IntervalAction(std::move(fields));
    case StemBranchMode: return StemBranchAction(std::move(fields));
    case ConversionMode: return ConversionAction(std::move(fields));
    default: return fields;
    }
}

// The day export.

namespace {

// Appends the day's export line to `line`, which the export reuses from one
// day to the next.
void AppendExportLine(std::string& line, int32_t j, const CalendarDate& date, const std::string& cycle,
                      const std::string& term, char separator)
{
    std::optional<LunarDate> lunar = LunarDateOf(date);
    std::optional<HijriDate> hijri = HijriDateOfDay(j);
    AppendIsoDateText(line, date);
    line += separator;
    AppendDateText(line, date);
    line += separator;
    AppendLunarDateText(line, lunar);
    line += separator;
    AppendHijriDateText(line, hijri);
    line += separator;
    line += cycle;
    line += separator;
    line += WeekdayNameOfDay(j);
    line += separator;
    line += DayFestivalText(date, lunar);
    line += separator;
    line += term;
}

}  // namespace

std::string DayExportLine(int32_t j, char separator)
{
    std::optional<CalendarDate> date = DayNumberToDate(j);
    if (!date) return "";
    std::string line;
    AppendExportLine(line, j, *date, CycleDateText(date->year, date->month, date->day, GanZhiFromChunjieFlag),
                     SolarTermOfDay(date->year, date->month, date->day), separator);
    return line;
}

void ExportDayLines(int32_t first, int32_t last, char separator,
                    const std::function<void(const std::string&)>& write)
{
    // The term texts are asked only on the term days, and the stem-branch
    // texts keep their year and month part between the days it may change on.
    const int mode = GanZhiFromChunjieFlag;
    TermDayMemo terms;
    StemBranchDays cycles;
    std::string cycle, line;
    for (int64_t k = first; k <= last; ++k) {
        int32_t j = int32_t(k);
        std::optional<CalendarDate> date = DayNumberToDate(j);
        if (!date) continue;
        std::string term;
        if (terms.IsTermDay(j))
            if (int n = SolarTermOnDay(j)) term = SolarTermNames[n];
        cycle.clear();
        cycles.Append(cycle, j, *date, mode, terms);
        line.clear();
        AppendExportLine(line, j, *date, cycle, term, separator);
        write(line);
    }
}
