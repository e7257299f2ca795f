#include "seasonal_periods.h"

#include <gtest/gtest.h>

#include <cmath>

#include "calendar_flags.h"
#include "calendar_names.h"
#include "civil_calendar.h"
#include "historical_calendar.h"
#include "lunar_year.h"

namespace {

std::string On(int32_t dayNumber, std::string (*text)(int32_t, int, int))
{
    CalendarDate d = *DayNumberToDate(dayNumber);
    return text(d.year, d.month, d.day);
}

}  // namespace

TEST(SeasonalPeriods, NextSolarTermTexts)
{
    SetModernCalculateAncientFlag(0);
    EXPECT_EQ(NextSolarTermText(2024, 2, 4), "今日立春 16:27:02");
    EXPECT_EQ(NextSolarTermText(2024, 2, 3), "明日立春 16:27:02");
    EXPECT_EQ(NextSolarTermText(2024, 1, 30), "2月4日立春");
    EXPECT_EQ(NextSolarTermText(2026, 12, 25), "2027年1月5日小寒");
    EXPECT_EQ(NextSolarTermText(-200, 12, 25), "公元前200年1月8日小寒");
    EXPECT_EQ(NextSolarTermText(2024, 2, 30), "");
    EXPECT_EQ(NextSolarTermText(9001, 1, 1), "");
    // 105 BC: the listed solstice is moved to 00:00:00 of its day.
    EXPECT_EQ(NextSolarTermText(-104, 12, 25), "今日冬至 00:00:00");
}

// The term on a day as a number agrees with the texts that name it, on the
// term days and the days before them, in one year of every 23 from 104 BC to
// AD 5000 (each year asks the full moments of its 24 terms), under both
// settings.
class TermDaySweep : public testing::TestWithParam<int> {};

TEST_P(TermDaySweep, TermNumbersAgreeWithTheTexts)
{
    SetModernCalculateAncientFlag(GetParam());
    for (int32_t y = -103; y <= 5000; y += 23) {
        const int32_t last = DateToDayNumber(y, 12, 31);
        int expected = 0;
        for (int32_t j = DateToDayNumber(y, 1, 1);;) {
            int32_t t = TermMomentDay(j, 0);
            ASSERT_TRUE(t >= j && t - j < 20) << j;
            if (t > last) break;
            int k = SolarTermOnDay(t);
            ASSERT_NE(k, 0) << t;
            if (expected) {
                ASSERT_EQ(k, expected) << t;
            }
            std::string name = SolarTermNames[k];
            ASSERT_EQ(On(t, SolarTermOfDay), name) << t;
            ASSERT_EQ(On(t, NextSolarTermText).rfind("今日" + name + " ", 0), 0u) << t;
            if (t > j) {
                ASSERT_EQ(SolarTermOnDay(t - 1), 0) << t;
                ASSERT_EQ(On(t - 1, NextSolarTermText).rfind("明日" + name + " ", 0), 0u) << t;
            }
            expected = k % 24 + 1;
            j = t + 1;
        }
    }
    SetModernCalculateAncientFlag(0);
}

INSTANTIATE_TEST_SUITE_P(BothSettings, TermDaySweep, testing::Values(0, 1));

TEST(SeasonalPeriods, NineNinesCountEightyOneDaysFromTheSolstice)
{
    SetModernCalculateAncientFlag(0);
    int32_t solstice = int32_t(std::floor(TermOnOrAfter(DateToDayNumber(2024, 12, 1), 24)));
    EXPECT_EQ(On(solstice - 1, NineNinesText), "");
    EXPECT_EQ(On(solstice, NineNinesText), "一九第1天");
    EXPECT_EQ(On(solstice + 8, NineNinesText), "一九第9天");
    EXPECT_EQ(On(solstice + 9, NineNinesText), "二九第1天");
    EXPECT_EQ(On(solstice + 80, NineNinesText), "九九第9天");
    EXPECT_EQ(On(solstice + 81, NineNinesText), "");
}

TEST(SeasonalPeriods, DogDaysStartOnGengDays)
{
    SetModernCalculateAncientFlag(0);
    for (int32_t year = 2020; year <= 2030; ++year) {
        int32_t first = 0, middle = 0, last = 0, middleLength = 0;
        for (int32_t j = DateToDayNumber(year, 6, 1); j < DateToDayNumber(year, 9, 30); ++j) {
            std::string text = On(j, DogDaysText);
            if (text == "初伏第1天") first = j;
            if (text == "中伏第1天") middle = j;
            if (text == "末伏第1天") last = j;
            if (text.rfind("中伏", 0) == 0) ++middleLength;
        }
        ASSERT_TRUE(first && middle && last) << year;
        EXPECT_EQ(FloorMod(first, 10), 7) << year;  // 庚 days
        EXPECT_EQ(FloorMod(last, 10), 7) << year;
        EXPECT_EQ(middle - first, 10) << year;
        EXPECT_TRUE(middleLength == 10 || middleLength == 20) << year;
        EXPECT_EQ(last - middle, middleLength) << year;
        EXPECT_EQ(On(last + 10, DogDaysText), "") << year;
    }
}

TEST(SeasonalPeriods, PlumRainBeginsOnBingAndEndsOnWeiDays)
{
    SetModernCalculateAncientFlag(0);
    EXPECT_EQ(PlumRainText(2024, 6, 11), "入梅");
    EXPECT_EQ(PlumRainText(2024, 7, 6), "出梅");
    EXPECT_EQ(PlumRainText(2024, 6, 12), "");
    EXPECT_EQ(FloorMod(DateToDayNumber(2024, 6, 11), 10), 3);  // 丙
    EXPECT_EQ(FloorMod(DateToDayNumber(2024, 7, 6), 12), 6);   // 未
    EXPECT_EQ(PlumRainText(2024, 1, 1), "");
}
