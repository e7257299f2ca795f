#include "yearly_tables.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "calendar_names.h"
#include "civil_calendar.h"
#include "date_text.h"
#include "historical_calendar.h"
#include "lunar_year.h"
#include "places.h"

namespace {

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0, end;
    while ((end = text.find("\r\n", start)) != std::string::npos) {
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    lines.push_back(text.substr(start));
    return lines;
}

// "02月04日16:27:02", the way the tables show a moment.
std::string Shown(double moment)
{
    std::string m = MomentToText(moment);
    return m.substr(2, 2) + "月" + m.substr(5, 2) + "日" + m.substr(13);
}

// Day number of a tagged date text "AD05-23-2020".
int32_t DayOf(const std::string& tagged)
{
    int32_t shown = std::stoi(tagged.substr(8, 4));
    return DateToDayNumber(tagged.substr(0, 2) == "BC" ? 1 - shown : shown, std::stoi(tagged.substr(2, 2)),
                           std::stoi(tagged.substr(5, 2)));
}

}  // namespace

TEST(YearlyTables, YearField)
{
    using enum YearFieldCheck;
    EXPECT_EQ(ReadTableYearField(TableMode::SolarTerms, "", false).check, Empty);
    EXPECT_EQ(ReadTableYearField(TableMode::SolarTerms, "20a4", false).check, NotDigits);
    EXPECT_EQ(ReadTableYearField(TableMode::SolarTerms, "5001", false).check, OutOfRange);
    // A long field is out of range, not an overflowed number that happens to fit.
    EXPECT_EQ(ReadTableYearField(TableMode::SolarTerms, "4294967296", true).check, OutOfRange);
    EXPECT_EQ(ReadTableYearField(TableMode::SolarTerms, "0002024", false).year, 2024);
    // "纪元前" with 1 typed is year 0; with 104 the first civil year.
    EXPECT_EQ(ReadTableYearField(TableMode::Moons, "1", true).year, 0);
    EXPECT_EQ(ReadTableYearField(TableMode::SunTimes, "104", true).year, -103);
    EXPECT_EQ(ReadTableYearField(TableMode::SunTimes, "105", true).check, OutOfRange);
    // The lunar months reach back to the lunar year that holds 1 January -103.
    EXPECT_EQ(FirstTableYear(TableMode::LunarMonths), -104);
    EXPECT_EQ(ReadTableYearField(TableMode::LunarMonths, "105", true).year, -104);

    EXPECT_EQ(TableYearField(0).text, "1");
    EXPECT_TRUE(TableYearField(0).beforeYearOne);
    EXPECT_EQ(StepTableYear(TableMode::SolarTerms, -103, -1), std::nullopt);
    EXPECT_EQ(StepTableYear(TableMode::LunarMonths, -103, -1), -104);
    EXPECT_EQ(StepTableYear(TableMode::Moons, ToolMaxYear, 1), std::nullopt);
}

TEST(YearlyTables, LunarMonths)
{
    std::vector<std::string> lines = Lines(LunarMonthsTable(2020));
    ASSERT_EQ(lines.size(), 14u);
    EXPECT_EQ(lines[0], "    农历 2020 年共 13 个月");
    EXPECT_EQ(lines[1], "正月小       对应公历AD01-25-2020 ～ AD02-22-2020");
    EXPECT_EQ(lines[4], "四月大       对应公历AD04-23-2020 ～ AD05-22-2020");
    EXPECT_EQ(lines[5], "闰四月小     对应公历AD05-23-2020 ～ AD06-20-2020");
    EXPECT_EQ(lines[13], "腊月大       对应公历AD01-13-2021 ～ AD02-11-2021");
    // The months follow each other without a gap, through to the next New Year.
    for (size_t i = 1; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        int32_t start = DayOf(line.substr(line.size() - 28, 12)), end = DayOf(line.substr(line.size() - 12));
        EXPECT_EQ(end - start + 1, line.substr(4, 2) == "大" || line.substr(6, 2) == "大" ? 30 : 29) << line;
        int32_t next = i + 1 < lines.size() ? DayOf(lines[i + 1].substr(lines[i + 1].size() - 28, 12)) : LunarNewYear(2021);
        EXPECT_EQ(end + 1, next) << line;
    }
    EXPECT_EQ(Lines(LunarMonthsTable(2024)).size(), 13u);

    EXPECT_EQ(Lines(LunarMonthsTable(0))[0].substr(0, 15), "    农历 前1 年");
    std::vector<std::string> first = Lines(LunarMonthsTable(-104));
    EXPECT_EQ(first[0].substr(0, 17), "    农历 前105 年");
    EXPECT_EQ(first[1].substr(21, 2), "BC");
    EXPECT_EQ(LunarMonthsTable(-105), "");
    EXPECT_EQ(LunarMonthsTable(ToolMaxYear + 1), "");
}

TEST(YearlyTables, SolarTerms)
{
    std::vector<std::string> lines = Lines(SolarTermsTable(2024));
    ASSERT_EQ(lines.size(), 13u);
    EXPECT_EQ(lines[0], "    公历 2024 年共 24 个节气");
    EXPECT_EQ(lines[2], "03: 立春02月04日16:27:02   04: 雨水" + Shown(TermMoment(DateToDayNumber(2024, 2, 5), 0)));
    EXPECT_EQ(lines[12].substr(27), "24: 冬至12月21日17:20:28");

    // 1582 lost ten days: its first term is 大寒 and it holds only 23.
    lines = Lines(SolarTermsTable(1582));
    EXPECT_EQ(lines[0], "    公历 1582 年共 23 个节气");
    EXPECT_EQ(lines[1].substr(0, 8), "01: 大寒");
    EXPECT_EQ(lines.back().substr(0, 8), "23: 冬至");

    // A leap year that starts with 小寒 on 1 January ends with another.
    lines = Lines(SolarTermsTable(948));
    EXPECT_EQ(lines[0], "    公历 948 年共 25 个节气");
    EXPECT_EQ(lines.back().substr(0, 16), "25: 小寒12月31日");

    EXPECT_EQ(Lines(SolarTermsTable(-103))[0], "    公历 前104 年共 24 个节气");
    EXPECT_EQ(SolarTermsTable(-104), "");
    EXPECT_EQ(SolarTermsTable(5001), "");
}

TEST(YearlyTables, MoonsOpenWithTheYearsFirstEvent)
{
    // 2024 opens with a new moon and has one more new moon than full moons:
    // the last line holds the new moon alone.
    std::vector<std::string> lines = Lines(MoonsTable(2024));
    ASSERT_EQ(lines.size(), 14u);
    EXPECT_EQ(lines[0], "    公历 2024 年共 13 次朔日 12 次望日");
    EXPECT_EQ(lines[1], "朔日 01月11日19:57:19         望日 01月26日01:53:55");
    EXPECT_EQ(lines[13], "朔日 " + Shown(NewMoonMoment(DateToDayNumber(2024, 12, 25))));

    lines = Lines(MoonsTable(2025));
    EXPECT_EQ(lines[0], "    公历 2025 年共 12 次望日 12 次朔日");
    EXPECT_EQ(lines[1].substr(0, 35), "望日 01月14日06:26:58         朔日 ");
    EXPECT_EQ(Lines(MoonsTable(0))[0].substr(0, 15), "    公历 前1 年");
    EXPECT_EQ(MoonsTable(-104), "");
}

TEST(YearlyTables, SunTimesForEveryDay)
{
    std::vector<std::string> lines = Lines(SunTimesTable(2024, 1, false));
    ASSERT_EQ(lines.size(), 367u);
    EXPECT_EQ(lines[0], "    公历 2024 年 天安门 日出日落时刻");
    EXPECT_EQ(lines[173], "06-21 日出时刻04:46:10 日落时刻19:46:23");
    lines = Lines(SunTimesTable(2024, 1, true));
    EXPECT_EQ(lines[0], "    公历 2024 年 天安门 天亮天黑时刻");
    EXPECT_EQ(lines[356], "12-21 天亮时刻07:01:55 天黑时刻17:23:05");
    // 1582 runs from 10-04 straight to 10-15.
    lines = Lines(SunTimesTable(1582, 1, false));
    ASSERT_EQ(lines.size(), 356u);
    EXPECT_EQ(lines[277].substr(0, 5), "10-04");
    EXPECT_EQ(lines[278].substr(0, 5), "10-15");
    EXPECT_EQ(lines.back().substr(0, 5), "12-31");
}

TEST(YearlyTables, SunTimesRestoreTheOwnPlace)
{
    MyCity = {"测试", -100.5, 30.5};
    SelectCity(CustomCityCode);
    std::string lhasa = SunTimesTable(2024, 31, false);
    EXPECT_EQ(Lines(lhasa)[0], "    公历 2024 年 拉萨 日出日落时刻");
    EXPECT_EQ(CurrentPlace.cityCode, CustomCityCode);
    EXPECT_EQ(CurrentPlace.name, "测试");
    EXPECT_EQ(CurrentPlace.longitude, -100.5);
    // The table is the chosen city's whatever place was current before.
    SelectCity(5);
    EXPECT_EQ(SunTimesTable(2024, 31, false), lhasa);
    EXPECT_EQ(CurrentPlace.name, "北戴河");
    // An unknown city or year computes nothing and leaves the place alone.
    EXPECT_EQ(SunTimesTable(2024, CustomCityCode, false), "");
    EXPECT_EQ(SunTimesTable(-104, 1, false), "");
    EXPECT_EQ(CurrentPlace.cityCode, 5);
    MyCity = {};
    SelectCity(1);
}
