#include <gtest/gtest.h>

#include <random>

#include "day_card.h"
#include "day_navigation.h"
#include "platform.h"
#include "shown_day.h"

namespace {

const DateBounds& Bounds()
{
    static const DateBounds bounds = ComputeDateBounds();
    return bounds;
}

std::optional<LunarDate> LunarAfter(std::optional<CalendarDate> date)
{
    return date ? LunarDateOf(*date) : std::nullopt;
}

const SelectorList& ListOf(const DayCardLists& lists, DaySelector selector)
{
    const SelectorList* all[] = {&lists.gregorianYear, &lists.gregorianMonth, &lists.gregorianDay,
                                 &lists.lunarYear,     &lists.lunarMonth,     &lists.lunarDay,
                                 &lists.hijriYear,     &lists.hijriMonth,     &lists.hijriDay};
    return *all[int(selector)];
}

}  // namespace

TEST(DayNavigation, GregorianChoicesKeepTheDayWhereTheMonthHasIt)
{
    EXPECT_EQ(ChooseInSelector({1582, 9, 10}, DaySelector::GregorianMonth, 10, Bounds()), (CalendarDate{1582, 10, 4}));
    EXPECT_EQ(ChooseInSelector({1583, 10, 12}, DaySelector::GregorianYear, 1582, Bounds()), (CalendarDate{1582, 10, 4}));
    EXPECT_EQ(ChooseInSelector({1582, 10, 4}, DaySelector::GregorianDay, 15, Bounds()), (CalendarDate{1582, 10, 15}));
    EXPECT_EQ(ChooseInSelector({1582, 10, 4}, DaySelector::GregorianDay, 10, Bounds()), std::nullopt);
    EXPECT_EQ(ChooseInSelector({2023, 1, 31}, DaySelector::GregorianMonth, 2, Bounds()), (CalendarDate{2023, 2, 28}));
    EXPECT_EQ(ChooseInSelector({2024, 2, 29}, DaySelector::GregorianYear, 2023, Bounds()), (CalendarDate{2023, 2, 28}));
    EXPECT_EQ(ChooseInSelector({2024, 2, 29}, DaySelector::GregorianYear, MaxShownYear + 1, Bounds()), std::nullopt);
}

TEST(DayNavigation, MonthCarryOverStopsAtTheShownYears)
{
    EXPECT_EQ(StepMonth({MinShownYear, 1, 5}, DayRow::Gregorian, -1, Bounds()), std::nullopt);
    EXPECT_EQ(StepMonth({MaxShownYear, 12, 5}, DayRow::Gregorian, +1, Bounds()), std::nullopt);
    EXPECT_EQ(StepMonth({2023, 12, 31}, DayRow::Gregorian, +1, Bounds()), (CalendarDate{2024, 1, 31}));
    EXPECT_EQ(StepMonth({2024, 3, 31}, DayRow::Gregorian, -1, Bounds()), (CalendarDate{2024, 2, 29}));
    EXPECT_EQ(StepMonth({1582, 11, 10}, DayRow::Gregorian, -1, Bounds()), (CalendarDate{1582, 10, 4}));

    EXPECT_EQ(StepDay({MinShownYear, 1, 1}, -1), std::nullopt);
    EXPECT_EQ(StepDay({MaxShownYear, 12, 31}, +1), std::nullopt);
    EXPECT_EQ(StepDay({1582, 10, 4}, +1), (CalendarDate{1582, 10, 15}));
}

TEST(DayNavigation, LunarMonthsStepAcrossYearsAndLeapMonths)
{
    // 2024-01-11 is the first day of 腊月 of 2023; the step after 腊月 opens the next year.
    EXPECT_EQ(StepMonth({2024, 1, 11}, DayRow::Lunar, +1, Bounds()), (CalendarDate{2024, 2, 10}));
    EXPECT_EQ(LunarAfter(StepMonth({2024, 2, 10}, DayRow::Lunar, -1, Bounds())), (LunarDate{2023, 12, 1}));
    // 2023 repeats its second month: 闰二月 (14) sits between 二月 and 三月.
    EXPECT_EQ(LunarAfter(StepMonth({2023, 5, 1}, DayRow::Lunar, -1, Bounds())), (LunarDate{2023, 14, 12}));
    // 闰二月 of 2023 has 29 days: the 30th of 二月 steps onto its 29th.
    EXPECT_EQ(LunarAfter(StepMonth({2023, 3, 21}, DayRow::Lunar, +1, Bounds())), (LunarDate{2023, 14, 29}));
    // No step leaves the lunar years of the span.
    EXPECT_EQ(StepMonth({MaxShownYear, 12, 31}, DayRow::Lunar, +12, Bounds()), std::nullopt);
}

TEST(DayNavigation, LunarYearChoiceKeepsTheMonthOrItsOrdinaryName)
{
    // 闰二月廿九 of 2023 (2023-04-19): 2024 has no leap second month.
    EXPECT_EQ(LunarAfter(ChooseInSelector({2023, 4, 19}, DaySelector::LunarYear, 2024, Bounds())),
              (LunarDate{2024, 2, 29}));
    // 腊月三十 of 2023 moves to the last day of 正月 when 正月 is picked.
    auto first = LunarAfter(ChooseInSelector({2024, 2, 9}, DaySelector::LunarMonth, 1, Bounds()));
    ASSERT_TRUE(first);
    EXPECT_EQ(first->month, 1);
    EXPECT_GE(first->day, 29);
    // In the first lunar year only its last months are listed.
    const LunarDate& bound = Bounds().firstLunar;
    auto early = LunarAfter(ChooseInSelector({-100, 3, 1}, DaySelector::LunarYear, bound.year, Bounds()));
    ASSERT_TRUE(early);
    EXPECT_EQ(early->month, bound.month);
    EXPECT_GE(early->day, bound.day);
}

TEST(DayNavigation, HijriMonthsStepAcrossYears)
{
    // 2024-01-11 is 29 Jumada II 1445 (month 6).
    auto next = StepMonth({2024, 1, 11}, DayRow::Hijri, +1, Bounds());
    ASSERT_TRUE(next);
    auto hijri = HijriDateOf(*next);
    ASSERT_TRUE(hijri);
    EXPECT_EQ(hijri->month, 7);
    EXPECT_EQ(hijri->day, 29);
    EXPECT_EQ(StepMonth({MinShownYear, 1, 1}, DayRow::Hijri, -12, Bounds()), std::nullopt);
}

// Whatever the user picks from the lists of any shown day, the new day is
// in every list again, and the picked year or month is the one shown.
TEST(DayNavigation, EveryListedChoiceGivesAListedDay)
{
    std::mt19937 random(20261208);
    std::uniform_int_distribution<int32_t> dayNumbers(DateToDayNumber(MinShownYear, 1, 1),
                                                      DateToDayNumber(MaxShownYear, 12, 31));
    for (int round = 0; round < 30; ++round) {
        CalendarDate shown = *DayNumberToDate(dayNumbers(random));
        if (round == 0) shown = {MinShownYear, 1, 1};
        if (round == 1) shown = {MaxShownYear, 12, 31};
        DayCardLists lists = FillDayCardLists(shown, Bounds(), 0);
        for (int s = 0; s < 9; ++s) {
            auto selector = DaySelector(s);
            const SelectorList& list = ListOf(lists, selector);
            ASSERT_FALSE(list.values.empty());
            int32_t value = list.values[std::uniform_int_distribution<size_t>(0, list.values.size() - 1)(random)];
            auto chosen = ChooseInSelector(shown, selector, value, Bounds());
            ASSERT_TRUE(chosen) << shown.year << "-" << shown.month << "-" << shown.day << " selector " << s;
            DayCardLists after = FillDayCardLists(*chosen, Bounds(), 0);
            for (int k = 0; k < 9; ++k) ASSERT_GE(ListOf(after, DaySelector(k)).selected, 0) << s << " " << k;
            const SelectorList& picked = ListOf(after, selector);
            EXPECT_EQ(picked.values[size_t(picked.selected)], value) << s;
        }
    }
}

TEST(DayNavigation, ShownDayStepsStopAtTheWindowsYears)
{
    struct Row {
        CalendarDate from;
        int step;
        CalendarDate to;
        bool moved;
    };
    const Row rows[] = {
        {{2024, 2, 29}, +1, {2024, 3, 1}, true},
        {{1582, 10, 4}, +1, {1582, 10, 15}, true},
        {{1582, 10, 15}, -1, {1582, 10, 4}, true},
        {{MaxShownYear, 12, 31}, +1, {MaxShownYear, 12, 31}, false},
        {{MinShownYear, 1, 1}, -1, {MinShownYear, 1, 1}, false},
    };
    for (const Row& row : rows) {
        SetShownDate(row.from);
        EXPECT_EQ(StepShownDay(row.step), row.moved) << row.from.year << "-" << row.from.month;
        EXPECT_EQ(ShownDate, row.to);
    }
    SetShownDate({1582, 10, 15});
    StepShownDay(-1);
    EXPECT_EQ(ShownLunar, *LunarDateOf({1582, 10, 4}));

    LocalDateTime now = LocalNow();
    StepShownDay(0);
    EXPECT_EQ(ShownDate, (CalendarDate{now.year, now.month, now.day}));
}
