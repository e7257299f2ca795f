#include "day_card.h"

#include <algorithm>
#include <vector>

#include "calendar_flags.h"
#include "calendar_names.h"
#include "era_names.h"
#include "festivals.h"
#include "gbk_text.h"
#include "lunar_year.h"
#include "places.h"
#include "seasonal_periods.h"
#include "sexagenary_cycle.h"
#include "stored_days.h"
#include "sun_events.h"
#include "time_scales.h"
#include "weekday_zodiac.h"

namespace {

void AddItem(SelectorList& list, const std::string& item, int32_t value, bool shown)
{
    if (shown) list.selected = int(list.items.size());
    list.items.push_back(item);
    list.values.push_back(value);
}

std::string GregorianYearItem(int32_t y) { return YearText(y) + "年"; }
std::string EraYearItem(int32_t y) { return EraYearText(y) + "年"; }
std::string ChineseYearItem(int32_t y) { return ChineseYearText(y) + "年"; }
std::string HijriYearItem(int32_t y) { return HijriYearText(y) + "年"; }

// The list of the years first..last with `shown` selected. The thousands of
// year texts depend only on the range and their kind, so each list is made
// once and copied for every day shown.
SelectorList YearList(int32_t first, int32_t last, int32_t shown, std::string (*item)(int32_t))
{
    struct Made {
        int32_t first, last;
        std::string (*item)(int32_t);
        SelectorList list;
    };
    static std::vector<Made> made;
    auto it = std::find_if(made.begin(), made.end(),
                           [&](const Made& m) { return m.first == first && m.last == last && m.item == item; });
    if (it == made.end()) {
        if (made.size() >= 8) made.clear();
        SelectorList list;
        for (int32_t y = first; y <= last; ++y) AddItem(list, item(y), y, false);
        made.push_back({first, last, item, std::move(list)});
        it = made.end() - 1;
    }
    SelectorList list = it->list;
    if (shown >= first && shown <= last) list.selected = int(shown - first);
    return list;
}

void FillGregorianLists(const CalendarDate& shown, DayCardLists& lists)
{
    lists.gregorianYear = GregorianYearList(shown.year);
    lists.gregorianMonth = GregorianMonthList(shown.month);
    // The validity test leaves out the ten days October 1582 never had.
    for (int d = 1; d <= 31; ++d)
        if (IsValidDate(shown.year, shown.month, d))
            AddItem(lists.gregorianDay, RightAligned(d, 2) + "日", d, d == shown.day);
}

void FillLunarLists(const LunarDate& shown, const DateBounds& bounds, int showDynasty, DayCardLists& lists)
{
    const LunarDate& first = bounds.firstLunar;
    const LunarDate& last = bounds.lastLunar;
    lists.lunarYear = YearList(first.year, last.year, shown.year, showDynasty == 1 ? EraYearItem : ChineseYearItem);

    // Months are compared by their place in the year, where a leap month
    // sits right after the month it repeats.
    int shownOrdinal = LunarMonthOrdinal(shown.year, shown.month);
    int firstOrdinal = shown.year == first.year ? LunarMonthOrdinal(first.year, first.month) : 1;
    int lastOrdinal = shown.year == last.year ? LunarMonthOrdinal(last.year, last.month) : 13;
    for (int k = firstOrdinal; k <= lastOrdinal; ++k) {
        int m = LunarMonthFromOrdinal(shown.year, k);
        if (m == 0) break;
        AddItem(lists.lunarMonth, LunarMonthName(m, LunarMonthLength(shown.year, m) == 30 ? 1 : 0), m,
                k == shownOrdinal);
    }

    bool firstMonth = shown.year == first.year && shown.month == first.month;
    bool lastMonth = shown.year == last.year && shown.month == last.month;
    int lastDay = lastMonth ? last.day : LunarMonthLength(shown.year, shown.month);
    for (int d = firstMonth ? first.day : 1; d <= lastDay; ++d)
        AddItem(lists.lunarDay, LunarDayName(d), d, d == shown.day);
}

void FillHijriLists(const HijriDate& shown, const DateBounds& bounds, DayCardLists& lists)
{
    const HijriDate& first = bounds.firstHijri;
    const HijriDate& last = bounds.lastHijri;
    lists.hijriYear = YearList(first.year, last.year, shown.year, HijriYearItem);

    int lastMonth = shown.year == last.year ? last.month : 12;
    for (int m = shown.year == first.year ? first.month : 1; m <= lastMonth; ++m)
        AddItem(lists.hijriMonth, RightAligned(m, 4) + "月", m, m == shown.month);

    bool inFirstMonth = shown.year == first.year && shown.month == first.month;
    bool inLastMonth = shown.year == last.year && shown.month == last.month;
    int lastDay = inLastMonth ? last.day : HijriMonthLength(shown.year, shown.month);
    for (int d = inFirstMonth ? first.day : 1; d <= lastDay; ++d)
        AddItem(lists.hijriDay, RightAligned(d, 2) + "日", d, d == shown.day);
}

// Line 2 in its festival kind: the day's festivals, then where the day stands
// in the solar year.
std::string FestivalLine(const CalendarDate& date)
{
    std::string festivals = DayFestivalText(date.year, date.month, date.day);
    std::string seasons = NextSolarTermText(date.year, date.month, date.day);
    for (const std::string& period : {NineNinesText(date.year, date.month, date.day),
                                      DogDaysText(date.year, date.month, date.day),
                                      PlumRainText(date.year, date.month, date.day)})
        if (!period.empty()) seasons += " " + period;
    return TrimBlanks(festivals + " " + seasons);
}

std::string SunTime(const CalendarDate& date, int kind) { return SunTimeHere(DateToDayNumber(date), kind); }

}  // namespace

SelectorList GregorianYearList(int32_t shownYear)
{
    return YearList(MinShownYear, MaxShownYear, shownYear, GregorianYearItem);
}

SelectorList GregorianMonthList(int shownMonth)
{
    SelectorList list;
    for (int m = 1; m <= 12; ++m) AddItem(list, RightAligned(m, 4) + "月", m, m == shownMonth);
    return list;
}

DayCardLists FillDayCardLists(const CalendarDate& shown, const DateBounds& bounds, int showDynasty)
{
    DayCardLists lists;
    FillGregorianLists(shown, lists);
    if (auto lunar = LunarDateOf(shown)) FillLunarLists(*lunar, bounds, showDynasty, lists);
    if (auto hijri = HijriDateOf(shown)) FillHijriLists(*hijri, bounds, lists);
    return lists;
}

std::string SelectedText(const SelectorList& list)
{
    if (list.selected < 0 || size_t(list.selected) >= list.items.size()) return "";
    return list.items[size_t(list.selected)];
}

DayInfo ComposeDayInfo(const CalendarDate& shown, int infoType)
{
    DayInfo info;
    info.line1 = WeekdayName(shown.year, shown.month, shown.day) + " " +
                 ZodiacSignName(shown.year, shown.month, shown.day) + "  " +
                 CycleDateText(shown.year, shown.month, shown.day, GanZhiFromChunjieFlag);
    if (infoType == 1)
        info.line2 = "日出时刻" + SunTime(shown, Sunrise) + "  日落时刻" + SunTime(shown, Sunset);
    else if (infoType == 2)
        info.line2 = "天亮时刻" + SunTime(shown, Dawn) + "  天黑时刻" + SunTime(shown, Dusk);
    else
        info.line2 = FestivalLine(shown);
    StoredDayEvents stored = StoredDayEventsOf(shown);
    info.reminder = JoinedEvents(stored, "   ");
    info.audioPath = stored.audioPath;
    return info;
}

std::string RightAligned(int value, size_t width)
{
    std::string digits = std::to_string(value);
    return digits.size() >= width ? digits : std::string(width - digits.size(), ' ') + digits;
}
