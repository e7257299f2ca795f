#include "calendar_names.h"

#include <climits>
#include <gtest/gtest.h>

// Fixed widths hold for every year in range; outside it there is no text.
TEST(CalendarNames, YearTextsKeepTheirWidthOverTheWholeRange)
{
    for (int32_t y = -9998; y <= 9999; ++y) {
        ASSERT_EQ(YearText(y).size(), 8u) << y;
        ASSERT_EQ(HijriYearText(y).size(), 10u) << y;
        ASSERT_EQ(ChineseYearText(y).size(), 10u) << y;
    }
    for (int32_t y : {-9999, 10000, INT32_MIN, INT32_MAX})
        EXPECT_EQ(YearText(y) + HijriYearText(y) + ChineseYearText(y), "") << y;
}

TEST(CalendarNames, YearTextsAroundYearOne)
{
    EXPECT_EQ(YearText(1), "       1");
    EXPECT_EQ(YearText(0), "     前1");
    EXPECT_EQ(YearText(-9998), "  前9999");
    EXPECT_EQ(HijriYearText(1447), "  回历1447");
    EXPECT_EQ(HijriYearText(0), "   回历前1");
    EXPECT_EQ(ChineseYearText(2000), "  二○○○");
    EXPECT_EQ(ChineseYearText(0), "      前一");
    EXPECT_EQ(ChineseYearText(-103), "  前一○四");
}

TEST(CalendarNames, DigitsMonthsAndDays)
{
    EXPECT_EQ(ChineseDigit(9), "九");
    EXPECT_EQ(ChineseDigit(0) + ChineseDigit(10), "");
    EXPECT_EQ(LunarMonthName(11, 0), "冬月小");
    EXPECT_EQ(LunarMonthName(13, 0), "闰正月小");
    EXPECT_EQ(LunarMonthName(24, 1), "闰腊月大");
    EXPECT_EQ(LunarMonthName(0, 1) + LunarMonthName(25, 1) + LunarMonthName(INT_MIN, 0), "");
    EXPECT_EQ(LunarDayName(10), "初十");
    EXPECT_EQ(LunarDayName(20), "二十");
    EXPECT_EQ(LunarDayName(21), "廿一");
    EXPECT_EQ(LunarDayName(0) + LunarDayName(31), "");
}
