#include "icalendar.h"

#include "date_text.h"
#include "platform.h"
#include "time_scales.h"

namespace {

std::string Utf8(const std::string& gbk) { return GbkToUtf8(gbk).value_or(""); }

// "20250129", the DATE form.
std::string DateValue(const CalendarDate& date)
{
    return ZeroPadded(date.year, 4) + ZeroPadded(date.month, 2) + ZeroPadded(date.day, 2);
}

// "20241221T092028Z", the DATE-TIME form in UTC.
std::string UtcValue(const UtcTime& t)
{
    return DateValue(t.date) + "T" + ZeroPadded(t.hour, 2) + ZeroPadded(t.minute, 2) + ZeroPadded(t.second, 2) + "Z";
}

// "2024-12-21 17:20:28", the moment as the program lists it (UTC+8).
std::string LocalMomentText(double moment)
{
    MomentFields f = MomentToFields(moment);
    auto date = f.valid ? DayNumberToDate(f.dayNumber) : std::nullopt;
    if (!date) return "";
    return IsoDateText(*date) + " " + ZeroPadded(f.hour, 2) + ":" + ZeroPadded(f.minute, 2) + ":" +
           ZeroPadded(f.second, 2);
}

void Add(std::string& out, const std::string& line) { out += FoldContentLine(line); }

}  // namespace

std::optional<UtcTime> UtcOfMoment(double moment)
{
    MomentFields f = MomentToFields(moment);
    if (!f.valid) return std::nullopt;
    int seconds = f.hour * 3600 + f.minute * 60 + f.second - CalcZone * 3600;
    int32_t day = f.dayNumber;
    if (seconds < 0) {
        seconds += 86400;
        --day;
    }
    auto date = DayNumberToDate(day);
    if (!date) return std::nullopt;
    return UtcTime{*date, seconds / 3600, seconds / 60 % 60, seconds % 60};
}

std::string EscapeICalendarText(const std::string& utf8)
{
    std::string out;
    for (char c : utf8) {
        if (c == '\\' || c == ';' || c == ',') {
            out += '\\';
            out += c;
        } else if (c == '\n') {
            out += "\\n";
        } else if ((unsigned char)c >= 0x20 && c != 0x7F) {
            out += c;
        }
    }
    return out;
}

std::string FoldContentLine(const std::string& utf8)
{
    std::string out;
    size_t start = 0;
    size_t room = 75;  // a continuation line's leading blank takes one octet
    while (utf8.size() - start > room) {
        size_t end = start + room;
        // Back up to the first byte of a character: never 10xxxxxx.
        while (end > start && (static_cast<unsigned char>(utf8[end]) & 0xC0) == 0x80) --end;
        if (end == start) end = start + room;  // not UTF-8 at all; cut where it must be
        out += utf8.substr(start, end - start) + "\r\n ";
        start = end;
        room = 74;
    }
    return out + utf8.substr(start) + "\r\n";
}

std::string ICalendarOfEvents(const std::vector<CalendarEvent>& events, const UtcTime& stamp)
{
    std::string out;
    Add(out, "BEGIN:VCALENDAR");
    Add(out, "VERSION:2.0");
    Add(out, "PRODID:-//Lumora//lumora-cli//ZH");
    Add(out, "CALSCALE:GREGORIAN");
    Add(out, "METHOD:PUBLISH");
    Add(out, "X-WR-CALNAME:" + EscapeICalendarText(Utf8("岚舟万年历")));
    const std::string dtstamp = "DTSTAMP:" + UtcValue(stamp);
    for (const CalendarEvent& event : events) {
        std::string start, end, description;
        if (event.timed) {
            auto utc = UtcOfMoment(event.moment);
            if (!utc) continue;
            start = "DTSTART:" + UtcValue(*utc);
            description = LocalMomentText(event.moment) + " (UTC+8)";
        } else {
            // An all-day event ends, exclusively, on the next day.
            auto next = DayNumberToDate(DateToDayNumber(event.date) + 1);
            if (!next) continue;
            start = "DTSTART;VALUE=DATE:" + DateValue(event.date);
            end = "DTEND;VALUE=DATE:" + DateValue(*next);
        }
        Add(out, "BEGIN:VEVENT");
        Add(out, "UID:" + event.key + "@lumora");
        Add(out, dtstamp);
        Add(out, start);
        if (!end.empty()) Add(out, end);
        Add(out, "SUMMARY:" + EscapeICalendarText(Utf8(event.name)));
        Add(out, "CATEGORIES:" + EscapeICalendarText(Utf8(event.category)));
        if (!description.empty()) Add(out, "DESCRIPTION:" + EscapeICalendarText(description));
        Add(out, "TRANSP:TRANSPARENT");
        Add(out, "END:VEVENT");
    }
    Add(out, "END:VCALENDAR");
    return out;
}
