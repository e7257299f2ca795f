#include "json_text.h"

#include "date_text.h"
#include "platform.h"

std::string JsonString(const std::string& utf8)
{
    static const char hex[] = "0123456789abcdef";
    std::string out = "\"";
    for (char c : utf8) {
        unsigned char b = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\t') {
            out += "\\t";
        } else if (b < 0x20) {
            out += std::string("\\u00") + hex[b >> 4] + hex[b & 15];
        } else {
            out += c;
        }
    }
    return out + "\"";
}

std::string JsonText(const std::string& gbk) { return JsonString(GbkToUtf8(gbk).value_or("")); }

std::string JsonDate(const CalendarDate& date)
{
    std::string text = IsoDateText(date);
    return text.empty() ? "null" : JsonString(text);
}

std::string JsonMoment(double moment)
{
    MomentFields f = MomentToFields(moment);
    auto date = f.valid ? DayNumberToDate(f.dayNumber) : std::nullopt;
    if (!date) return "null";
    return JsonString(IsoDateText(*date) + "T" + ZeroPadded(f.hour, 2) + ":" + ZeroPadded(f.minute, 2) + ":" +
                      ZeroPadded(f.second, 2) + "+08:00");
}

std::string JsonObject(const JsonMembers& members)
{
    std::string out = "{";
    for (size_t i = 0; i < members.size(); ++i)
        out += (i ? ", " : "") + JsonString(members[i].first) + ": " + members[i].second;
    return out + "}";
}

std::string JsonArray(const std::vector<std::string>& values)
{
    std::string out = "[";
    for (size_t i = 0; i < values.size(); ++i) out += (i ? ", " : "") + values[i];
    return out + "]";
}
