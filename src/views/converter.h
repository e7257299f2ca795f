// The conversion tool (LUMORA_JFORM): from typed dates it computes the
// Julian day number, the days between two dates or the date some days away,
// the stem-branch (干支) text of a date, or the same day in another of the
// three calendars. Every function here maps what the fields hold when the
// action button is pressed to what they hold afterwards; the window only
// copies texts in and out. Also here: the day export of lumora-cli, which
// lists the tool's conversions for every day of a span.
#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "civil_calendar.h"

// The day numbers of the first and last days the tools accept: 1 January
// MinShownYear (-103) and 31 December ToolMaxYear (5000).
constexpr int32_t FirstJulianDay = 1683438;
constexpr int32_t LastJulianDay = 3547637;

// The option group beside a date field: "公历日期", "农历日期", "回历日期".
enum class FieldCalendar { Gregorian, Lunar, Hijri };

// A date field: its "MM-DD-YYYY" text as typed (lunar leap months as month
// + 12), its option group and its "纪元前" check box (the typed year n then
// means the year 1 - n).
struct DateField {
    std::string text;
    FieldCalendar calendar = FieldCalendar::Gregorian;
    bool beforeYearOne = false;
};

// The modes the menu opens the tool in.
enum ConverterMode { JulianDayMode = 1, IntervalMode = 2, StemBranchMode = 3, ConversionMode = 4 };

// Everything the action button reads and writes. `result` is the result
// field of modes 1-3; in the interval mode's second arrangement it holds the
// typed number of days instead. "" in a field means the field is emptied.
struct ConverterFields {
    DateField first;
    DateField second;
    std::string result;
};

// The window's title, the caption of its result field ("" in mode 4, whose
// second date field shows the result) and the text of its action button.
std::string ConverterTitle(int mode);
std::string ResultCaption(int mode);
std::string ActionButtonText(int mode);

// A date field as the window first fills it: the shown civil day as
// "MM-DD-YYYY", with "纪元前" ticked and the year written 1 - y for y <= 0.
DateField InitialDateField(const CalendarDate& shown);

// The civil day number of a date field, or NoDayNumber when its text has the
// wrong shape, the date does not exist in its calendar, or the day lies
// outside FirstJulianDay..LastJulianDay.
int32_t ReadDateField(const DateField& field);

// Day number j as the chosen calendar writes it: the tagged Gregorian,
// lunar or Hijri date text; "" when j lies outside the tools' span.
std::string DayInCalendar(int32_t j, FieldCalendar calendar);

// Day number j in words in the chosen calendar, then its stem-branch date:
// "2024年2月10日 星期六 甲辰(龙)年丙寅月甲辰日", "二○二四年正月初一 ...",
// as lumora-cli convert prints them under the tagged text. Any day of the
// conversions' range, not only of the tools' span; "" when the calendar
// has no date for j.
std::string DayInWords(int32_t j, FieldCalendar calendar);

// The typed number of days of the interval mode's second arrangement:
// digits with at most one "-", and that only in front. nullopt otherwise.
std::optional<int64_t> ReadIntervalDays(const std::string& text);

// The action button, one function per mode (and per arrangement of the
// interval mode): the fields afterwards. A field whose date cannot be read
// is emptied, and so is the field that would show a result that cannot be
// computed.
ConverterFields JulianDayAction(ConverterFields fields);
ConverterFields IntervalAction(ConverterFields fields);      // two dates -> days between
ConverterFields IntervalDateAction(ConverterFields fields);  // date + days -> second date
ConverterFields StemBranchAction(ConverterFields fields);    // uses GanZhiFromChunjieFlag
ConverterFields ConversionAction(ConverterFields fields);
// Dispatches on the mode; intervalToDate selects the second arrangement.
ConverterFields ConverterAction(int mode, bool intervalToDate, ConverterFields fields);

// The day export: one line per civil day, the fields joined by separator:
// ISO date (astronomical year, "-0103-02-01"), tagged Gregorian text, lunar
// text, Hijri text, stem-branch text, weekday, the festivals as the day
// window joins them, and the name of the solar term that falls on the day.
std::string DayExportLine(int32_t j, char separator);
// The lines of days first..last, handed to `write` in order. Gives the same
// lines as DayExportLine, but finds the solar terms once per term instead of
// once per day.
void ExportDayLines(int32_t first, int32_t last, char separator,
                    const std::function<void(const std::string&)>& write);
