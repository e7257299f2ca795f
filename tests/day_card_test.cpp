#include "day_card.h"

#include <gtest/gtest.h>

#include "calendar_flags.h"
#include "gbk_text.h"
#include "date_text.h"
#include "lunar_year.h"
#include "places.h"

namespace {

void UseDefaultCalendar()
{
    SetModernCalculateAncientFlag(0);
    GanZhiFromChunjieFlag = 0;
    SelectCity(1);  // 天安门
}

}  // namespace

TEST(DayCard, GregorianListsFollowTheCivilCalendar)
{
    UseDefaultCalendar();
    DayCardLists lists = FillDayCardLists({1582, 10, 15}, ComputeDateBounds(), 0);
    EXPECT_EQ(lists.gregorianYear.items.size(), size_t(MaxShownYear - MinShownYear + 1));
    EXPECT_EQ(lists.gregorianYear.items.front(), "   前104年");
    EXPECT_EQ(SelectedText(lists.gregorianYear), "    1582年");
    EXPECT_EQ(lists.gregorianYear.selected, 1582 - MinShownYear);
    EXPECT_EQ(lists.gregorianMonth.items.front(), "   1月");
    EXPECT_EQ(SelectedText(lists.gregorianMonth), "  10月");
    // October 1582 has 21 days: the 4th is followed by the 15th.
    const SelectorList& days = lists.gregorianDay;
    ASSERT_EQ(days.items.size(), 21u);
    EXPECT_EQ(days.items[3], " 4日");
    EXPECT_EQ(days.items[4], "15日");
    EXPECT_EQ(days.values[4], 15);
    EXPECT_EQ(days.selected, 4);

    EXPECT_EQ(FillDayCardLists({2024, 2, 29}, ComputeDateBounds(), 0).gregorianDay.items.size(), 29u);
    EXPECT_EQ(FillDayCardLists({1900, 2, 1}, ComputeDateBounds(), 0).gregorianDay.items.size(), 28u);
}

TEST(DayCard, BoundsAreTheFirstAndLastShownDays)
{
    UseDefaultCalendar();
    DateBounds bounds = ComputeDateBounds();
    // Read back through the conversions the other way round.
    EXPECT_EQ(LunarToSolar(bounds.firstLunar.year, bounds.firstLunar.month, bounds.firstLunar.day), "BC01-01-0104");
    EXPECT_EQ(LunarToSolar(bounds.lastLunar.year, bounds.lastLunar.month, bounds.lastLunar.day), "AD12-31-4103");
    EXPECT_EQ(HijriToSolarText(bounds.firstHijri.year, bounds.firstHijri.month, bounds.firstHijri.day),
              "BC01-01-0104");
    EXPECT_EQ(HijriToSolarText(bounds.lastHijri.year, bounds.lastHijri.month, bounds.lastHijri.day),
              "AD12-31-4103");
    EXPECT_EQ(bounds.firstLunar, (LunarDate{-104, 11, 9}));
    EXPECT_EQ(bounds.lastLunar, (LunarDate{4103, 11, 19}));
}

TEST(DayCard, LunarAndHijriListsStopAtTheBounds)
{
    UseDefaultCalendar();
    DateBounds bounds = ComputeDateBounds();
    DayCardLists first = FillDayCardLists({MinShownYear, 1, 1}, bounds, 0);
    EXPECT_EQ(first.lunarYear.selected, 0);
    EXPECT_EQ(first.lunarMonth.items.front(), "冬月大");  // the year's earlier months are cut
    EXPECT_EQ(first.lunarMonth.selected, 0);
    EXPECT_EQ(first.lunarDay.items.front(), "初九");
    EXPECT_EQ(first.lunarDay.items.size(), 22u);
    EXPECT_EQ(first.lunarDay.selected, 0);
    EXPECT_EQ(first.hijriYear.items.front(), " 回历前748年");
    EXPECT_EQ(first.hijriMonth.items.front(), "   3月");
    EXPECT_EQ(first.hijriDay.items.front(), " 6日");
    EXPECT_EQ(first.hijriDay.selected, 0);

    DayCardLists last = FillDayCardLists({MaxShownYear, 12, 31}, bounds, 0);
    EXPECT_EQ(last.lunarYear.selected, int(last.lunarYear.items.size()) - 1);
    EXPECT_EQ(last.lunarMonth.items.back(), "冬月小");
    EXPECT_EQ(last.lunarDay.items.back(), "十九");
    EXPECT_EQ(last.lunarDay.selected, int(last.lunarDay.items.size()) - 1);
    EXPECT_EQ(last.hijriMonth.items.back(), "   4月");
    EXPECT_EQ(last.hijriDay.items.back(), "18日");

    // Inside the bounds the months of a year with a leap 4th month are all listed.
    DayCardLists leap = FillDayCardLists({2020, 5, 24}, bounds, 0);
    ASSERT_EQ(leap.lunarMonth.items.size(), 13u);
    EXPECT_EQ(leap.lunarMonth.items[4], "闰四月小");
    EXPECT_EQ(leap.lunarMonth.values[4], 16);
    EXPECT_EQ(SelectedText(leap.lunarMonth), "闰四月小");
    EXPECT_EQ(leap.lunarDay.items.size(), 29u);
    EXPECT_EQ(SelectedText(leap.lunarDay), "初二");
    EXPECT_EQ(SelectedText(leap.lunarYear), "  二○二○年");
    EXPECT_EQ(leap.hijriDay.items.size(), 29u);  // Hijri 1441-10, an even month
}

TEST(DayCard, LunarYearsInEraNamesOrChineseDigits)
{
    UseDefaultCalendar();
    DateBounds bounds = ComputeDateBounds();
    EXPECT_EQ(SelectedText(FillDayCardLists({1911, 6, 1}, bounds, 1).lunarYear), "清代宣统03年");
    EXPECT_EQ(SelectedText(FillDayCardLists({1911, 6, 1}, bounds, 0).lunarYear), "  一九一一年");
    // Before the lunar New Year a day belongs to the previous lunar year.
    EXPECT_EQ(SelectedText(FillDayCardLists({1912, 1, 1}, bounds, 1).lunarYear), "清代宣统03年");
}

TEST(DayCard, InfoLines)
{
    UseDefaultCalendar();
    // Lunar New Year 2024, a Saturday, day 51 after the winter solstice.
    DayInfo newYear = ComposeDayInfo({2024, 2, 10}, 0);
    EXPECT_EQ(newYear.line1, "星期六 水瓶座  甲辰(龙)年丙寅月甲辰日");
    EXPECT_EQ(newYear.line2, "春节 国际气象节 2月19日雨水 六九第6天");
    // Without festivals the line starts with the next term, not a blank.
    EXPECT_EQ(ComposeDayInfo({2024, 2, 11}, 0).line2, "2月19日雨水 六九第7天");
    EXPECT_EQ(ComposeDayInfo({2024, 2, 4}, 0).line2, "今日立春 16:27:02 五九第9天");
    // The summer solstice of 2024 at 天安门.
    EXPECT_EQ(ComposeDayInfo({2024, 6, 21}, 1).line2, "日出时刻04:46:10  日落时刻19:46:23");
    EXPECT_EQ(ComposeDayInfo({2024, 6, 21}, 2).line2, "天亮时刻04:13:22  天黑时刻20:19:11");
    GanZhiFromChunjieFlag = 1;
    EXPECT_EQ(ComposeDayInfo({2024, 2, 9}, 0).line1, "星期五 水瓶座  癸卯(兔)年乙丑月癸卯日");
    GanZhiFromChunjieFlag = 0;
}

TEST(DayCard, TaggedDatesAreReadSafely)
{
    EXPECT_EQ(ReadTaggedDate("BC01-01-0104"), (CalendarDate{-103, 1, 1}));
    EXPECT_EQ(ReadTaggedDate("AD16-02-2020"), (CalendarDate{2020, 16, 2}));
    for (const char* text : {"", "AD01-01-200", "XX01-01-2000", "AD1a-01-2000", "AD01-01-2000 12:00:00"})
        EXPECT_FALSE(ReadTaggedDate(text)) << text;
    EXPECT_FALSE(LunarDateOf({1582, 10, 10}));
    EXPECT_EQ(TrimBlanks("  春节  "), "春节");
    EXPECT_EQ(TrimBlanks("   "), "");
}
