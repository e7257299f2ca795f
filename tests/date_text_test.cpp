#include "date_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

#include "gbk_text.h"

TEST(DateText, TaggedDates)
{
    EXPECT_EQ(DayNumberToText(2451545), "AD01-01-2000");
    EXPECT_EQ(DayNumberToText(0), "BC01-01-4713");
    EXPECT_EQ(DayNumberToText(1721423), "BC12-31-0001");
    EXPECT_EQ(DayNumberToText(1721424), "AD01-01-0001");
    EXPECT_EQ(DayNumberToText(-1930711), "BC01-01-9999");
    EXPECT_EQ(DayNumberToText(-1930712), "");
    EXPECT_EQ(DayNumberToText(5373485), "");
    EXPECT_EQ(DayOfYearToText(1582, 278), "AD10-15-1582");
    EXPECT_EQ(DayOfYearToText(2023, 366), "");
    // Lunar months 13..24 and texts beyond four-digit years keep the same shape.
    EXPECT_EQ(DateToText({2020, 16, 2}), "AD16-02-2020");
    EXPECT_EQ(DateToText({-9999, 12, 31}), "BC12-31-10000");
    EXPECT_EQ(DateToText({12345, 100, -1}), "AD100--1-12345");
    // ISO dates count year 0 and put the sign before four digits.
    EXPECT_EQ(IsoDateText({-103, 1, 1}), "-0103-01-01");
    EXPECT_EQ(IsoDateText({-9998, 12, 31}), "-9998-12-31");
    EXPECT_EQ(IsoDateText({0, 2, 29}), "0000-02-29");
    EXPECT_EQ(IsoDateText({5000, 12, 31}), "5000-12-31");
    EXPECT_EQ(IsoDateText({1582, 10, 10}), "");
}

// Zeros go after the sign, which counts in the width; a wider number is kept whole.
TEST(DateText, ZeroPaddedNumbers)
{
    const struct {
        int64_t value;
        int width;
        const char* text;
    } rows[] = {{7, 2, "07"},     {12, 2, "12"},    {2024, 4, "2024"}, {104, 4, "0104"},   {0, 4, "0000"},
                {12345, 4, "12345"}, {-5, 4, "-005"}, {-1234, 4, "-1234"}, {-3, 0, "-3"},
                {INT64_MIN, 2, "-9223372036854775808"}};
    for (const auto& row : rows) EXPECT_EQ(ZeroPadded(row.value, row.width), row.text) << row.value;
}

TEST(DateText, MomentsAreTruncatedNeverRounded)
{
    EXPECT_EQ(MomentToText(2451545.25), "AD01-01-2000 06:00:00");
    EXPECT_EQ(MomentToText(2451545.999999), "AD01-01-2000 23:59:59");
    EXPECT_EQ(MomentToText(2460681.439360), "AD01-05-2025 10:32:40");  // 10:32:40.7
    EXPECT_EQ(MomentToText(-1930711.0), "BC01-01-9999 00:00:00");
    EXPECT_EQ(MomentToText(-1930711.000001), "");
    EXPECT_EQ(MomentToText(5373485.0), "");
    EXPECT_EQ(MomentToText(std::nan("")), "");
}

TEST(DateText, NormaliseTypedDateChecksTheShapeOnly)
{
    EXPECT_EQ(NormaliseTypedDate("1-2-3"), "01-02-0003");
    EXPECT_EQ(NormaliseTypedDate("12-29-2000"), "12-29-2000");
    EXPECT_EQ(NormaliseTypedDate("13-01-2000"), "13-01-2000");  // the caller's validity test rejects it
    for (const char* bad : {"2000-12-29", "1-1-10000", "0-1-2000", "1-0-2000", "1-1-0", "1/2/2000",
                            "1-2-3-4", "1-2", "12-2", "", "123-1-2000", "1-123-200", "--2000",
                            "12345678901", "1-2-"})
        EXPECT_EQ(NormaliseTypedDate(bad), "") << bad;
}

TEST(DateText, CharacterTestsStepWholeGbkCharacters)
{
    EXPECT_EQ(ConsistsOnlyOf("12-29-2000", "1234567890-"), 1);
    EXPECT_EQ(ConsistsOnlyOf("", "abc"), 1);
    EXPECT_EQ(ConsistsOnlyOf("000", "abc"), 1);  // "0" always passes
    EXPECT_EQ(ConsistsOnlyOf("1/2", "1234567890-"), 0);
    // 乗 is 0x81 0x5C in GBK: its trail byte is a backslash, which must not
    // count as one.
    std::string withTrailBackslash = "乗";
    ASSERT_EQ(withTrailBackslash, "\x81\x5C");
    EXPECT_EQ(ConsistsOnlyOf(withTrailBackslash, "\\"), 0);
    EXPECT_EQ(ConsistsOnlyOf("东经", "经东"), 1);
    EXPECT_EQ(CountOfCharacter(withTrailBackslash + "\\", "\\"), 1);
    EXPECT_EQ(CountOfCharacter("1.2.3", ".x"), 2);
    EXPECT_EQ(CountOfCharacter("", "."), 0);
    EXPECT_EQ(CountOfCharacter("abc", ""), 0);
    EXPECT_EQ(LeftBytes("东经116度", 3), "东");
    EXPECT_EQ(LeftBytes("ab东", 3), "ab");
    EXPECT_EQ(LeftBytes("abc", 10), "abc");
}
