#include "convert_command.h"

#include <cerrno>
#include <cstdlib>
#include <optional>

#include "civil_calendar.h"
#include "converter.h"
#include "date_text.h"
#include "hijri_calendar.h"
#include "lunar_year.h"

namespace {

struct Date {
    int32_t year;
    int month, day;
};

ConvertResult Refuse(const std::string& message) { return {2, {message}}; }

bool ParseNumber(const std::string& text, long lo, long hi, long& out)
{
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos) return false;
    errno = 0;
    long v = std::strtol(text.c_str(), nullptr, 10);
    if (errno || v < lo || v > hi) return false;
    out = v;
    return true;
}

// "YYYY-MM-DD" with an astronomical year ("-0103-02-01" is 104 BC). A lunar
// leap month may be written as month + 12, "L4" or "闰4".
bool ParseDate(std::string text, bool lunar, Date& date)
{
    bool negative = !text.empty() && text[0] == '-';
    if (negative) text.erase(0, 1);
    size_t dash1 = text.find('-'), dash2 = dash1 == std::string::npos ? dash1 : text.find('-', dash1 + 1);
    if (dash2 == std::string::npos || text.find('-', dash2 + 1) != std::string::npos) return false;
    std::string month = text.substr(dash1 + 1, dash2 - dash1 - 1);
    int leap = 0;
    for (const char* prefix : {"L", "l", "闰"}) {
        std::string p = prefix;
        if (lunar && month.compare(0, p.size(), p) == 0) {
            month.erase(0, p.size());
            leap = 12;
            break;
        }
    }
    long y, m, d;
    if (!ParseNumber(text.substr(0, dash1), 0, 99999, y) || !ParseNumber(month, 1, 24 - leap, m) ||
        !ParseNumber(text.substr(dash2 + 1), 1, 31, d))
        return false;
    date = {int32_t(negative ? -y : y), int(m + leap), int(d)};
    return true;
}

}  // namespace

ConvertResult Convert(const std::vector<std::string>& args)
{
    std::string from = "gregorian", to, dateText;
    for (size_t i = 0; i < args.size(); ++i) {
        if ((args[i] == "--from" || args[i] == "--to") && i + 1 < args.size()) {
            std::string& option = args[i] == "--from" ? from : to;
            option = args[++i];
        }
        else if (dateText.empty())
            dateText = args[i];
        else
            return Refuse("convert: unexpected argument '" + args[i] + "'");
    }
    auto known = [](const std::string& c) { return c == "gregorian" || c == "lunar" || c == "hijri"; };
    if (dateText.empty() || !known(from) || !known(to))
        return Refuse("usage: lumora-cli convert YYYY-MM-DD [--from gregorian|lunar|hijri] --to lunar|hijri|gregorian");
    Date date;
    if (!ParseDate(dateText, from == "lunar", date))
        return Refuse("convert: '" + dateText + "' is not a date of the form YYYY-MM-DD");

    // Every conversion goes through the civil day.
    int32_t j = from == "gregorian" ? DateToDayNumber(date.year, date.month, date.day)
                : from == "lunar"   ? DayOfLunarDate(LunarDate{date.year, date.month, date.day})
                                    : HijriToDayNumber(date.year, date.month, date.day);
    std::optional<CalendarDate> civil = DayNumberToDate(j);
    if (!civil) return Refuse("convert: " + dateText + " is not a " + from + " date in the calendar's range");
    std::optional<Date> result;
    if (to == "gregorian") {
        result = Date{civil->year, civil->month, civil->day};
    } else if (to == "lunar") {
        if (auto lunar = LunarDateOfDay(j)) result = Date{lunar->year, lunar->month, lunar->day};
    } else if (auto hijri = HijriDateOfDay(j)) {
        result = Date{hijri->year, hijri->month, hijri->day};
    }
    if (!result) return Refuse("convert: " + dateText + " has no " + to + " date in the calendar's range");
    std::string resultText = DateToText(CalendarDate{result->year, result->month, result->day});
    FieldCalendar calendar = to == "gregorian" ? FieldCalendar::Gregorian
                             : to == "lunar"   ? FieldCalendar::Lunar
                                               : FieldCalendar::Hijri;
    return {0, {resultText, DayInWords(j, calendar)}};
}
