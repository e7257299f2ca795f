#include "month_source.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "calendar_flags.h"
#include "civil_calendar.h"
#include "month_source_text.h"

namespace {

struct Setting {
    explicit Setting(int flag) { SetModernCalculateAncientFlag(flag); }
    ~Setting() { SetModernCalculateAncientFlag(0); }
};

std::string Calendar(const CalendarSpan* span) { return span ? span->calendar : ""; }

// The first day of the month of `day` as the lunar date of the day has it.
int32_t FirstDayOfLunarMonth(int32_t day)
{
    auto date = DayNumberToDate(day);
    int32_t y = day >= LunarNewYear(date->year) ? date->year : date->year - 1;
    int32_t ordinal = day - LunarNewYear(y) + 1;
    for (int k = 13; k >= 1; --k) {
        int month = LunarMonthFromOrdinal(y, k);
        if (month && LunarDayOrdinal(y, month, 1) <= ordinal) return LunarNewYear(y) + LunarDayOrdinal(y, month, 1) - 1;
    }
    return NoDayNumber;
}

// Whether the method of a source is the one its row of the calendar table names.
void ExpectMethodOfTable(const SkySource& s, bool month, int32_t day)
{
    if (ModernCalculateAncientFlag == 1) {
        EXPECT_EQ(s.span, nullptr) << day;
        EXPECT_EQ(s.method, SkyMethod::Modern) << day;
        EXPECT_TRUE(s.rule == NewMoonRule::AsComputed || !month) << day;
        return;
    }
    if (!s.span) {
        EXPECT_EQ(s.method, SkyMethod::Modern) << day;
        EXPECT_EQ(s.threshold, 0) << day;
        return;
    }
    switch (s.span->method) {
    case CalendarMethod::MeanTerm:
    case CalendarMethod::MeanNewMoon: EXPECT_EQ(s.method, SkyMethod::MeanMotion) << day; break;
    case CalendarMethod::Qing1628: EXPECT_EQ(s.qingModel, 1628) << day; break;
    case CalendarMethod::Qing1684: EXPECT_EQ(s.qingModel, 1684) << day; break;
    case CalendarMethod::Qing1723: EXPECT_EQ(s.qingModel, 1723) << day; break;
    case CalendarMethod::DayList: EXPECT_EQ(s.threshold, 0) << day; break;
    case CalendarMethod::LateNewMoonRule: EXPECT_EQ(s.threshold, double(float(s.span->threshold))) << day; break;
    }
    EXPECT_EQ(s.span->kind, month ? SpanKind::Months : SpanKind::Terms) << day;
}

}  // namespace

TEST(MonthSource, KnownMonthsNameWhatDecidedThem)
{
    struct Case {
        int flag;
        CalendarDate date;
        CalendarDate first;
        SkyMethod start;
        NewMoonRule rule;
        const char* calendar;  // of the first day; "" for modern astronomy
        SkyMethod term;
        int qingModel;
    };
    const Case cases[] = {
        {0, {-99, 6, 15}, {-99, 6, 6}, SkyMethod::MeanMotion, NewMoonRule::AsComputed, "太初历（三统历）", SkyMethod::MeanMotion, 0},
        {0, {500, 6, 15}, {500, 6, 13}, SkyMethod::MeanMotion, NewMoonRule::AsComputed, "元嘉历", SkyMethod::MeanMotion, 0},
        // The new moon at 22:34, past the threshold 0.8216, starts the month a day late.
        {0, {1000, 12, 29}, {1000, 12, 29}, SkyMethod::Modern, NewMoonRule::Advanced, "应天历至纪元历（定朔，进朔）", SkyMethod::MeanMotion, 0},
        {1, {1000, 12, 29}, {1000, 12, 28}, SkyMethod::Modern, NewMoonRule::AsComputed, "", SkyMethod::Modern, 0},
        // The day list moves the new moon of 1650-11-23 23:39 to the next day.
        {0, {1650, 11, 24}, {1650, 11, 24}, SkyMethod::Modern, NewMoonRule::MovedByList, "时宪历（定朔）", SkyMethod::QingModel, 1628},
        {1, {1650, 11, 24}, {1650, 11, 23}, SkyMethod::Modern, NewMoonRule::AsComputed, "", SkyMethod::Modern, 0},
        {0, {1700, 6, 1}, {1700, 5, 19}, SkyMethod::Modern, NewMoonRule::AsComputed, "时宪历（定朔）", SkyMethod::QingModel, 1684},
        // After 1886 only the historical setting consults the day list.
        {0, {1914, 11, 17}, {1914, 11, 17}, SkyMethod::Modern, NewMoonRule::MovedByList, "", SkyMethod::Modern, 0},
        {1, {1914, 11, 17}, {1914, 10, 19}, SkyMethod::Modern, NewMoonRule::AsComputed, "", SkyMethod::Modern, 0},
        {0, {2024, 2, 10}, {2024, 2, 10}, SkyMethod::Modern, NewMoonRule::AsComputed, "", SkyMethod::Modern, 0},
    };
    for (const Case& c : cases) {
        Setting setting(c.flag);
        int32_t day = DateToDayNumber(c.date);
        auto m = ExplainLunarMonth(day);
        ASSERT_TRUE(m) << day;
        EXPECT_EQ(m->firstDay, DateToDayNumber(c.first)) << day;
        EXPECT_EQ(m->start.method, c.start) << day;
        EXPECT_EQ(m->start.rule, c.rule) << day;
        EXPECT_EQ(Calendar(m->start.span), c.calendar) << day;
        EXPECT_EQ(m->term.method, c.term) << day;
        EXPECT_EQ(m->term.qingModel, c.qingModel) << day;
        // Historical methods carry no modern moment to doubt.
        EXPECT_EQ(m->startCertainty.has_value(), c.start == SkyMethod::Modern) << day;
        EXPECT_TRUE(!m->startCertainty || !m->startCertainty->uncertain) << day;
        bool moved = c.rule == NewMoonRule::MovedByList || c.rule == NewMoonRule::Advanced;
        EXPECT_EQ(std::floor(m->start.computed) != m->firstDay, moved) << day;
    }
    // The late-new-moon rule also measures the distance to its threshold.
    Setting historical(0);
    auto late = ExplainLunarMonth(DateToDayNumber(1000, 12, 29));
    EXPECT_NEAR(late->startCertainty->fromThreshold, (0.94039 - 0.8216) * 86400, 5);
}

TEST(MonthSource, YearsOfTheCycleRuleTakeNewYearFromTheCycle)
{
    Setting historical(0);
    auto m = ExplainLunarMonth(DateToDayNumber(445, 1, 24));
    ASSERT_TRUE(m);
    ASSERT_TRUE(m->cycle);
    EXPECT_EQ(m->cycle->years, 19);
    EXPECT_EQ(m->cycle->months, 235);
    EXPECT_EQ(std::floor(m->cycleMoment), m->firstDay);
    EXPECT_EQ(Calendar(m->cycleSpan), "元嘉历");
    EXPECT_TRUE(m->yearByCycle);
    EXPECT_FALSE(m->startCertainty);
}

TEST(MonthSource, UncertainListsOnlyMomentsWithinTheMargin)
{
    Setting historical(0);
    std::vector<std::string> lines = UncertainLines(2040, 2070);
    bool found = false;
    for (const std::string& line : lines) {
        std::vector<std::string> f;
        for (size_t start = 0;;) {
            size_t tab = line.find('\t', start);
            f.push_back(line.substr(start, tab - start));
            if (tab == std::string::npos) break;
            start = tab + 1;
        }
        ASSERT_EQ(f.size(), 5u) << line;
        EXPECT_LT(std::atof(f[3].c_str()), std::atof(f[4].c_str())) << line;
        // The new moon of 23:59:51 on 2057-09-28, nine seconds from the day
        // other tables give the month.
        if (f[0] == "2057-09-28" && f[2] == "2057-09-28 23:59:51") found = true;
    }
    EXPECT_TRUE(found);
    EXPECT_LT(lines.size(), 10u);
}

// Every month in both settings over the tools' years -103..5000: a sample of
// years (every 17th, and the years in which a calendar span or a leap cycle
// begins or ends) whose months must run without gaps into the next year and
// agree with the lunar dates of their days, with one month a year explained
// in full and checked against the calendar table.
TEST(MonthSource, SweepAgreesWithTheLunarDates)
{
    std::set<int32_t> years;
    for (int32_t y = -103; y <= 5000; y += 17) years.insert(y);
    for (int32_t y : {-103, 84, 85, 237, 238, 444, 445, 509, 510, 589, 590, 596, 597, 618, 619, 644, 645, 665, 666, 5000})
        years.insert(y);
    for (size_t i = 0; i < CalendarSpanCount; ++i)
        for (int32_t day : {CalendarSpans[i].firstDay, CalendarSpans[i].lastDay}) years.insert(DayNumberToDate(day)->year);
    for (int flag : {0, 1}) {
        Setting setting(flag);
        for (int32_t y : years) {
            auto months = MonthsOfLunarYear(y);
            ASSERT_TRUE(months) << y;
            ASSERT_EQ(months->firstDays[months->count], LunarNewYear(y + 1)) << y << " flag " << flag;
            for (int i = 0; i < months->count; ++i) {
                int32_t first = months->firstDays[i], last = months->firstDays[i + 1] - 1;
                EXPECT_EQ(FirstDayOfLunarMonth(first), first) << y << " flag " << flag;
                EXPECT_EQ(FirstDayOfLunarMonth(last), first) << y << " flag " << flag;
            }
            int i = int(FloorMod(y, months->count));
            int32_t day = months->firstDays[i] + 14;
            auto m = ExplainLunarMonth(day);
            ASSERT_TRUE(m) << day;
            EXPECT_EQ(m->firstDay, FirstDayOfLunarMonth(day)) << day;
            if (m->cycle) {
                EXPECT_EQ(std::floor(m->cycleMoment), m->firstDay) << day;
            } else {
                EXPECT_EQ(std::floor(m->start.moment), m->firstDay) << day << " flag " << flag;
                ExpectMethodOfTable(m->start, true, day);
            }
            ExpectMethodOfTable(m->term, false, day);
            EXPECT_EQ(m->holdsPrincipalTerm, HasPrincipalTerm(m->firstDay, m->nextFirstDay - 1) == 1) << day;
            EXPECT_GE(m->term.termNumber, 1);
            EXPECT_EQ(m->term.termNumber % 2, 0) << day;
            // The leap month of a year of the solstice rule is its first month without a principal term.
            EXPECT_FALSE(m->month > 12 && !m->yearByCycle && m->holdsPrincipalTerm) << day;
        }
    }
}
