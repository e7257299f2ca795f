// The pop-up menu of the two main windows as data: its items with their
// command numbers, when an item carries a check mark, and what the commands
// that only change a setting do to the settings. The Win32 menu is built
// from this table, and the UI tests use the same numbers.
#pragma once
#include <span>
#include <string>

namespace Cmd {
constexpr int
    DayWindow = 3025, MonthWindow = 3026,
    Topmost = 3035, EmbedInDesktop = 3036, NoMoving = 3037,
    Transparency0 = 3040, Transparency90 = 3049, TransparencyAuto = 3050,
    Coordinates = 3055,
    EditMemorials = 3060, EditReminders = 3061, EditCountdowns = 3062,
    JulianDays = 3065, DayIntervals = 3066, StemBranchCalendar = 3067, ConvertCalendars = 3068,
    LunarMonths = 3070, SolarTerms = 3071, MoonPhases = 3072, SunTimes = 3073,
    ConditionMonths = 3075, ConditionDays = 3076,
    SpeakTime = 3080,
    UseRegistry = 3085, AutoRun = 3086, HourlyReport = 3087,
    GanZhiFromChunjie = 3090, NoDayAudio = 3091, ModernAncient = 3092, NearMemorials = 3093,
    ShowDynasty = 3095, InfoFestivals = 3096, InfoSunTimes = 3097, InfoTwilight = 3098,
    ChooseBackground = 3100,
    GoToToday = 3105, SetSystemDate = 3106,
    Help = 3110, Exit = 3111;
}

// The submenu an item belongs to; Top for the menu itself.
enum class MenuLevel { Top, Transparency, Tools, Options };

// One item: its command (0 for a separator or the item that opens a
// submenu) and its text ("-" for a separator). A submenu is opened by the
// item that precedes its first item and carries its text.
struct MenuItem {
    int command;
    const char* text;
    MenuLevel level;
};
std::span<const MenuItem> MenuItems();

// True when the item of command shows a check mark with the current
// settings; the switch items mark the window that ShowCalendarTypeFlag names.
bool MenuItemChecked(int command);

// What a settings command leaves to be shown again.
enum MenuEffect : unsigned {
    NoEffect = 0,
    InfoChanged = 1,        // the shown day's information
    ListsChanged = 2,       // everything the window lists and the information (the lunar calendar changed)
    YearNamesChanged = 4,   // the day window's lunar year names
    HourlyTimerChanged = 8, // start or stop the whole-hour timer
    TransparencyChanged = 16,
};

// Carries out a command that only changes settings (3037, 3040..3050,
// 3085..3098) and tells what must follow on the screen; NoEffect and no
// change for every other command.
unsigned ApplySettingCommand(int command);

// The placement that the topmost (3035) and desktop (3036) commands lead to
// from mode ("T", "D" or "N").
std::string NextPlacement(int command, const std::string& mode);

// The switch commands: 3026 in the day window or 3025 in the month window
// names the other window in ShowCalendarTypeFlag, resets the placement to
// topmost and the move lock to movable, marks the switch as pending (so
// that the closing window saves nothing) and keeps the shown day. True when
// the current window must now close; a window's own item does nothing.
bool BeginWindowSwitch(int command);
