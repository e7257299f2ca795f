#include "weekday_zodiac.h"

#include "civil_calendar.h"

namespace {

bool InNameRange(int32_t y) { return y >= -8999 && y <= 9000; }

// Indexed by the day number mod 7: day numbers count from a Monday.
constexpr const char* WeekdayNames[7] = {
    "星期一", "星期二", "星期三", "星期四", "星期五", "星期六", "星期日",
};

// Per month: the last day of the sign the month starts in, that sign and
// the sign that follows. The limits are read on the date as given, Julian
// before 1582-10-15 as well.
struct ZodiacMonth {
    int limit;
    const char* upToLimit;
    const char* afterLimit;
};
constexpr ZodiacMonth ZodiacMonths[13] = {
    {0, "", ""},
    {19, "摩羯座", "水瓶座"}, {18, "水瓶座", "双鱼座"}, {20, "双鱼座", "白羊座"},
    {20, "白羊座", "金牛座"}, {20, "金牛座", "双子座"}, {21, "双子座", "巨蟹座"},
    {22, "巨蟹座", "狮子座"}, {22, "狮子座", "处女座"}, {22, "处女座", "天秤座"},
    {22, "天秤座", "天蝎座"}, {21, "天蝎座", "射手座"}, {21, "射手座", "摩羯座"},
};

}  // namespace

std::string WeekdayName(int32_t y, int m, int d) { return WeekdayNameOfDay(DateToDayNumber(y, m, d)); }

std::string WeekdayNameOfDay(int32_t dayNumber)
{
    static const int32_t first = DateToDayNumber(-8999, 1, 1), last = DateToDayNumber(9000, 12, 31);
    return dayNumber >= first && dayNumber <= last ? WeekdayNames[FloorMod(dayNumber, 7)] : "";
}

std::string WeekdayNameOf(int n) { return n >= 1 && n <= 7 ? WeekdayNames[n - 1] : ""; }

std::string ZodiacSignName(int32_t y, int m, int d)
{
    if (!InNameRange(y) || !IsValidDate(y, m, d)) return "";
    const ZodiacMonth& row = ZodiacMonths[m];
    return d <= row.limit ? row.upToLimit : row.afterLimit;
}
