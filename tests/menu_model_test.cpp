#include <gtest/gtest.h>

#include <set>
#include <string>

#include "calendar_flags.h"
#include "font_text.h"
#include "menu_model.h"
#include "settings.h"
#include "shown_day.h"

namespace {

// Every test starts from the settings of a first start.
class MenuModel : public ::testing::Test {
protected:
    void SetUp() override
    {
        ShowCalendarTypeFlag = 0, FORMTransFlag = 0, DFORMShowInfoTypeFlag = 0, DFORMShowDynastyFlag = 0;
        WholeAutoReportTimeFlag = 0, GanZhiFromChunjieFlag = 0, SwitchPending = 0;
        PlacementMode = "T", MoveMode = "N";
        SetShownDate({2024, 2, 10});
    }
    void TearDown() override
    {
        if (ModernCalculateAncientFlag != 0) SetModernCalculateAncientFlag(0);
        ShowCalendarTypeFlag = 0, SwitchPending = 0;
    }
};

TEST_F(MenuModel, TableHoldsEachCommandOnceInItsSubmenu)
{
    std::set<int> seen;
    std::string moonPhases;
    for (const MenuItem& item : MenuItems()) {
        if (item.command == 0) continue;
        EXPECT_TRUE(seen.insert(item.command).second) << item.command;
        if (item.command >= 3040 && item.command <= 3050) EXPECT_EQ(item.level, MenuLevel::Transparency);
        if (item.command >= 3060 && item.command <= 3076) EXPECT_EQ(item.level, MenuLevel::Tools);
        if (item.command == Cmd::MoonPhases) moonPhases = item.text;
    }
    EXPECT_EQ(seen.size(), 47u);
    EXPECT_EQ(moonPhases, "计算朔望日(&N)...");
    EXPECT_EQ(std::string(MenuItems().front().text), "岚舟日历(&D)");
    EXPECT_EQ(std::string(MenuItems().back().text), "退出(&X)");
}

TEST_F(MenuModel, CheckMarksFollowTheSettings)
{
    struct Row {
        void (*set)();
        int command;
        bool checked;
    };
    const Row rows[] = {
        {[] {}, Cmd::DayWindow, true},
        {[] {}, Cmd::MonthWindow, false},
        {[] { ShowCalendarTypeFlag = 1; }, Cmd::DayWindow, false},
        {[] { ShowCalendarTypeFlag = 1; }, Cmd::MonthWindow, true},
        {[] {}, Cmd::Topmost, true},
        {[] { PlacementMode = "D"; }, Cmd::Topmost, false},
        {[] { PlacementMode = "D"; }, Cmd::EmbedInDesktop, true},
        {[] { MoveMode = "Y"; }, Cmd::NoMoving, true},
        {[] {}, Cmd::Transparency0, true},
        {[] { FORMTransFlag = 10; }, Cmd::Transparency0, false},
        {[] { FORMTransFlag = 10; }, Cmd::TransparencyAuto, true},
        {[] { FORMTransFlag = 9; }, Cmd::Transparency90, true},
        {[] { DFORMShowInfoTypeFlag = 2; }, Cmd::InfoTwilight, true},
        {[] { DFORMShowInfoTypeFlag = 2; }, Cmd::InfoFestivals, false},
        {[] {}, Cmd::Exit, false},
    };
    for (const Row& row : rows) {
        SetUp();
        row.set();
        EXPECT_EQ(MenuItemChecked(row.command), row.checked) << row.command;
    }
}

TEST_F(MenuModel, SettingCommandsChangeTheirSettingAndSayWhatToRedraw)
{
    EXPECT_EQ(ApplySettingCommand(Cmd::InfoSunTimes), InfoChanged);
    EXPECT_EQ(DFORMShowInfoTypeFlag, 1);
    EXPECT_EQ(ApplySettingCommand(Cmd::ShowDynasty), YearNamesChanged);
    EXPECT_EQ(DFORMShowDynastyFlag, 1);
    EXPECT_EQ(ApplySettingCommand(Cmd::HourlyReport), HourlyTimerChanged);
    EXPECT_EQ(WholeAutoReportTimeFlag, 1);
    EXPECT_EQ(ApplySettingCommand(Cmd::NoMoving), NoEffect);
    EXPECT_EQ(MoveMode, "Y");
    EXPECT_EQ(ApplySettingCommand(Cmd::TransparencyAuto), TransparencyChanged);
    EXPECT_EQ(FORMTransFlag, 10);
    EXPECT_EQ(ApplySettingCommand(3043), TransparencyChanged);
    EXPECT_EQ(FORMTransFlag, 3);

    LunarDate before = ShownLunar;
    EXPECT_EQ(ApplySettingCommand(Cmd::ModernAncient), ListsChanged);
    EXPECT_EQ(ModernCalculateAncientFlag, 1);
    EXPECT_EQ(ShownLunar.year, before.year);

    // Commands that act on a window change no setting.
    for (int command : {Cmd::GoToToday, Cmd::Exit, Cmd::Coordinates, Cmd::DayWindow, 2999})
        EXPECT_EQ(ApplySettingCommand(command), NoEffect) << command;
    EXPECT_EQ(ShowCalendarTypeFlag, 0);
}

TEST_F(MenuModel, PlacementCommands)
{
    EXPECT_EQ(NextPlacement(Cmd::Topmost, "T"), "N");
    EXPECT_EQ(NextPlacement(Cmd::Topmost, "D"), "T");
    EXPECT_EQ(NextPlacement(Cmd::EmbedInDesktop, "T"), "D");
    // Embedding chosen twice ends normal, not topmost.
    EXPECT_EQ(NextPlacement(Cmd::EmbedInDesktop, NextPlacement(Cmd::EmbedInDesktop, "T")), "N");
}

TEST_F(MenuModel, SwitchingNamesTheOtherWindowAndKeepsTheShownDay)
{
    PlacementMode = "D", MoveMode = "Y";
    EXPECT_FALSE(BeginWindowSwitch(Cmd::DayWindow));  // the day window's own item
    EXPECT_EQ(SwitchPending, 0);
    EXPECT_EQ(PlacementMode, "D");

    EXPECT_TRUE(BeginWindowSwitch(Cmd::MonthWindow));
    EXPECT_EQ(ShowCalendarTypeFlag, 1);
    EXPECT_EQ(SwitchPending, 1);
    EXPECT_EQ(PlacementMode, "T");
    EXPECT_EQ(MoveMode, "N");

    // The month window moved the Gregorian day alone; the switch back
    // brings the lunar day along.
    ShownDate = {2024, 2, 24};
    SwitchPending = 0;
    EXPECT_FALSE(BeginWindowSwitch(Cmd::MonthWindow));
    EXPECT_TRUE(BeginWindowSwitch(Cmd::DayWindow));
    EXPECT_EQ(ShowCalendarTypeFlag, 0);
    EXPECT_EQ(ShownDate, (CalendarDate{2024, 2, 24}));
    EXPECT_EQ(ShownLunar.month, 1);
    EXPECT_EQ(ShownLunar.day, 15);
}

TEST(FontText, ReadsTheFieldsOfALogicalFont)
{
    auto font = ParseFontText("楷体_GB2312,-16,0,0,0,700,0,0,0,134,3,2,1,49");
    ASSERT_TRUE(font);
    EXPECT_EQ(font->face, "楷体_GB2312");
    EXPECT_EQ(font->height, -16);
    EXPECT_EQ(font->weight, 700);
    EXPECT_EQ(font->charSet, 134);
    EXPECT_EQ(font->quality, 1);
    EXPECT_EQ(font->pitchAndFamily, 49);
    auto buttons = ParseFontText("宋体,-12,0,0,0,400,0,0,0,1,0,0,0,0");
    ASSERT_TRUE(buttons);
    EXPECT_EQ(buttons->charSet, 1);

    for (const char* bad : {"", "宋体", ",-14,0,0,0,400,0,0,0,134,3,2,1,2", "宋体,-14,0,0,0,400,0,0,0,134,3,2,1",
                            "宋体,-14,0,0,0,400,0,0,0,134,3,2,1,2,0", "宋体,-14,0,0,0,4OO,0,0,0,134,3,2,1,2",
                            "宋体,-14,0,0,0,,0,0,0,134,3,2,1,2", "宋体,-14 ,0,0,0,400,0,0,0,134,3,2,1,2",
                            "a-face-name-longer-than-31-bytes,-14,0,0,0,400,0,0,0,134,3,2,1,2"})
        EXPECT_FALSE(ParseFontText(bad)) << bad;
}

}  // namespace
