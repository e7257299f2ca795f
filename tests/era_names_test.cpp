#include "era_names.h"

#include <algorithm>
#include <climits>
#include <gtest/gtest.h>
#include <string>

TEST(EraNames, KnownYearsAndFallbacks)
{
    EXPECT_EQ(EraYearText(-139), "西汉建元01");
    EXPECT_EQ(EraYearText(0), "西汉元寿02");
    EXPECT_EQ(EraYearText(1), "西汉元始01");
    EXPECT_EQ(EraYearText(1264), "南宋景定05");
    EXPECT_EQ(EraYearText(1280), "元代至元17");
    EXPECT_EQ(EraYearText(1335), "元代至元01");
    EXPECT_EQ(EraYearText(1911), "清代宣统03");
    EXPECT_EQ(EraYearText(1912), "  一九一二");
    EXPECT_EQ(EraYearText(-140), "  前一四一");
    EXPECT_EQ(EraYearText(9000), "  九○○○");
    for (int32_t y : {9001, -9000, INT32_MIN, INT32_MAX}) EXPECT_EQ(EraYearText(y), "") << y;
}

// Every year from -139 to 1911 lies in exactly one era: a year either
// continues the era of the year before with the next era year, or opens a
// new era with year 01 (元代至元 alone opens at 17). 335 eras in all.
TEST(EraNames, ErasCoverTheirYearsWithoutGapsOrOverlaps)
{
    int eras = 0, longest = 0;
    std::string previousName;
    int previousYear = 0;
    for (int32_t y = -139; y <= 1911; ++y) {
        std::string text = EraYearText(y);
        ASSERT_EQ(text.size(), 10u) << y;
        ASSERT_TRUE(text[8] >= '0' && text[8] <= '9' && text[9] >= '0' && text[9] <= '9') << y;
        std::string name = text.substr(0, 8);
        int eraYear = std::stoi(text.substr(8));
        if (name != previousName || eraYear != previousYear + 1) {
            ++eras;
            ASSERT_EQ(eraYear, y == 1280 ? 17 : 1) << y << " " << text;
        }
        longest = std::max(longest, eraYear);
        previousName = name;
        previousYear = eraYear;
    }
    EXPECT_EQ(eras, 335);
    EXPECT_EQ(longest, 61);  // 清代康熙
}
