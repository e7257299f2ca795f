#include "date_text.h"

#include <array>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "gbk_text.h"

namespace {

// "00", "01", .. "99" one after the other: the date texts write their
// numbers two digits at a time.
constexpr auto TwoDigits = [] {
    std::array<char, 200> digits{};
    for (int i = 0; i < 100; ++i) {
        digits[size_t(2 * i)] = char('0' + i / 10);
        digits[size_t(2 * i + 1)] = char('0' + i % 10);
    }
    return digits;
}();

// Writes 0..99 as two digits at `to`.
void PutTwoDigits(char* to, int value) { std::memcpy(to, &TwoDigits[size_t(2 * value)], 2); }

}  // namespace

std::string ZeroPadded(int64_t value, int width)
{
    // As printf's "%0*lld": the sign counts in the width. Written by hand,
    // since the day export formats several numbers on each of its lines.
    char digits[20];
    int count = 0;
    uint64_t rest = value < 0 ? 0 - uint64_t(value) : uint64_t(value);
    do {
        digits[count++] = char('0' + rest % 10);
        rest /= 10;
    } while (rest != 0);
    std::string text = value < 0 ? "-" : "";
    if (width > count + int(text.size())) text.append(size_t(width - count - int(text.size())), '0');
    while (count > 0) text += digits[--count];
    return text;
}

void AppendDateText(std::string& text, const CalendarDate& date)
{
    // Written in place for the usual dates: the day export and the lunar
    // conversions ask for several on every day.
    int64_t shown = date.year > 0 ? date.year : 1 - int64_t(date.year);
    if (shown <= 9999 && date.month >= 0 && date.month <= 99 && date.day >= 0 && date.day <= 99) {
        char digits[12] = {date.year > 0 ? 'A' : 'B', date.year > 0 ? 'D' : 'C', 0, 0, '-', 0, 0, '-'};
        PutTwoDigits(digits + 2, date.month);
        PutTwoDigits(digits + 5, date.day);
        PutTwoDigits(digits + 8, int(shown / 100));
        PutTwoDigits(digits + 10, int(shown % 100));
        text.append(digits, sizeof digits);
        return;
    }
    bool ad = date.year > 0;
    text += std::string(ad ? "AD" : "BC") + ZeroPadded(date.month, 2) + "-" + ZeroPadded(date.day, 2) + "-" +
            ZeroPadded(ad ? date.year : 1 - int64_t(date.year), 4);
}

std::string DateToText(const CalendarDate& date)
{
    std::string text;
    AppendDateText(text, date);
    return text;
}

std::string DayNumberToText(int32_t dayNumber)
{
    auto date = DayNumberToDate(dayNumber);
    return date ? DateToText(*date) : std::string();
}

std::string DayOfYearToText(int32_t year, int ordinal)
{
    auto date = DayOfYearToDate(year, ordinal);
    return date ? DateToText(*date) : std::string();
}

MomentFields MomentToFields(double moment)
{
    // The negated test also turns NaN away.
    if (!(moment >= FirstDayNumber && moment < LastDayNumber + 1.0)) return {false, 0, 0, 0, 0};
    double z = std::floor(moment);
    double h = 24 * (moment - z);
    double hh = std::floor(h);
    double m = 60 * (h - hh);
    double mm = std::floor(m);
    double ss = std::floor(60 * (m - mm));
    return {true, int32_t(z), int(hh), int(mm), int(ss)};
}

bool MomentFieldsSettled(double moment, double margin)
{
    // The fields never decrease with the moment, so the two ends decide.
    MomentFields a = MomentToFields(moment - margin), b = MomentToFields(moment + margin);
    return a.valid && b.valid && a.dayNumber == b.dayNumber && a.hour == b.hour && a.minute == b.minute &&
           a.second == b.second;
}

std::string MomentToText(double moment)
{
    MomentFields f = MomentToFields(moment);
    if (!f.valid) return "";
    return DayNumberToText(f.dayNumber) + " " + ZeroPadded(f.hour, 2) + ":" + ZeroPadded(f.minute, 2) + ":" +
           ZeroPadded(f.second, 2);
}

void AppendIsoDateText(std::string& text, const CalendarDate& date)
{
    if (!IsValidDate(date.year, date.month, date.day)) return;
    // Written in place for four-digit years, as the day export asks for one
    // on every line.
    if (date.year > -10000 && date.year < 10000) {
        char digits[11] = {'-'};
        char* at = date.year < 0 ? digits + 1 : digits;
        int year = std::abs(date.year);
        PutTwoDigits(at, year / 100);
        PutTwoDigits(at + 2, year % 100);
        at[4] = '-';
        PutTwoDigits(at + 5, date.month);
        at[7] = '-';
        PutTwoDigits(at + 8, date.day);
        text.append(digits, size_t(at + 10 - digits));
        return;
    }
    if (date.year < 0) text += '-';
    text += ZeroPadded(std::abs(int64_t(date.year)), 4);
    text += '-';
    text += ZeroPadded(date.month, 2);
    text += '-';
    text += ZeroPadded(date.day, 2);
}

std::string IsoDateText(const CalendarDate& date)
{
    std::string text;
    AppendIsoDateText(text, date);
    return text;
}

std::string NormaliseTypedDate(const std::string& s)
{
    size_t len = s.size();
    if (len < 5 || len > 10) return "";
    if (!ConsistsOnlyOf(s, "1234567890-")) return "";
    // 1-based dash positions, 0 for none, as the shape rules count them.
    size_t p1 = s.find('-') + 1, p2 = 0, p3 = 0;
    if (p1 > 0) p2 = s.find('-', p1) + 1;
    if (p2 > 0) p3 = s.find('-', p2) + 1;
    if (p1 < 2 || p1 > 3) return "";
    if (p2 < p1 + 2 || p2 > p1 + 3) return "";
    if (len - p2 < 1 || len - p2 > 4) return "";
    if (p3 != 0) return "";
    int month = std::stoi(s.substr(0, p1 - 1));
    int day = std::stoi(s.substr(p1, p2 - p1 - 1));
    int year = std::stoi(s.substr(p2));
    if (month == 0 || day == 0 || year == 0) return "";
    return ZeroPadded(month, 2) + "-" + ZeroPadded(day, 2) + "-" + ZeroPadded(year, 4);
}

std::optional<CalendarDate> ReadTaggedDate(const std::string& tagged)
{
    if (tagged.size() != 12 || (tagged.compare(0, 2, "AD") != 0 && tagged.compare(0, 2, "BC") != 0) ||
        tagged[4] != '-' || tagged[7] != '-')
        return std::nullopt;
    for (size_t i : {2, 3, 5, 6, 8, 9, 10, 11})
        if (tagged[i] < '0' || tagged[i] > '9') return std::nullopt;
    auto number = [&tagged](size_t at, size_t digits) {
        int value = 0;
        for (size_t i = at; i < at + digits; ++i) value = 10 * value + (tagged[i] - '0');
        return value;
    };
    int32_t shownYear = number(8, 4);
    return CalendarDate{tagged[0] == 'B' ? 1 - shownYear : shownYear, number(2, 2), number(5, 2)};
}

std::optional<long> ParseWholeNumber(const std::string& text, long lo, long hi)
{
    size_t digits = text.size() > 0 && (text[0] == '-' || text[0] == '+') ? 1 : 0;
    if (text.size() == digits || text.find_first_not_of("0123456789", digits) != std::string::npos)
        return std::nullopt;
    errno = 0;
    long v = std::strtol(text.c_str(), nullptr, 10);
    if (errno || v < lo || v > hi) return std::nullopt;
    return v;
}
