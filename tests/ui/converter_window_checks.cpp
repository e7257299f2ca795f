// The conversion tool in its four modes, opened through the menu.
#include "scenarios.h"

#include "converter.h"
#include "driver.h"
#include "lunar_year.h"
#include "sexagenary_cycle.h"

namespace {

constexpr int FirstRow = 3001, SecondRow = 3011, CaptionId = 3021, ResultId = 3022;

// A date field as typed: its text, calendar (0 Gregorian, 1 lunar, 2 Hijri)
// and "纪元前".
struct Typed {
    std::wstring text;
    int calendar = 0;
    bool beforeYearOne = false;
};

struct ConverterCase {
    const wchar_t* name;
    int command;
    bool intervalToDate;  // arrangement B of the interval mode
    Typed first, second;
    std::wstring result;  // the result field, or the days in arrangement B
    std::wstring firstAfter, secondAfter, resultAfter;
};

void Type(HWND tool, int row, const Typed& typed)
{
    SetField(tool, row, typed.text);
    for (int k = 0; k < 3; ++k) SetCheck(tool, row + 1 + k, k == typed.calendar);
    SetCheck(tool, row + 4, typed.beforeYearOne);
}

// A month of 2024 with 29 days: its day 30 does not exist.
int ShortMonthOf2024()
{
    for (int m = 1; m <= 12; ++m)
        if (!IsValidLunarDate(2024, m, 30)) return m;
    return 0;
}

std::vector<ConverterCase> Cases()
{
    std::wstring shortMonth = Num(ShortMonthOf2024());
    if (shortMonth.size() < 2) shortMonth = L"0" + shortMonth;
    const std::wstring lunarText = Wide(SolarToLunar(2024, 6, 1)), hijriText = Wide(SolarToHijriText(2024, 6, 1));
    auto civil = [](const std::wstring& tagged) { return tagged.substr(2); };
    return {
        {L"01-01-2000 公历日期 is Julian day 2451545", Cmd::JulianDays, false, {L"01-01-2000"}, {}, L"",
         L"01-01-2000", L"", L"2451545"},
        {L"01-01-4713 纪元前 lies before the accepted days: the field is emptied", Cmd::JulianDays, false,
         {L"01-01-4713", 0, true}, {}, L"2451545", L"", L"", L""},
        {L"01-01-2000 to 01-11-2000 is 10 days", Cmd::DayIntervals, false, {L"01-01-2000"}, {L"01-11-2000"}, L"",
         L"01-01-2000", L"01-11-2000", L"10"},
        {L"a bad second date empties that field and the result", Cmd::DayIntervals, false, {L"01-01-2000"},
         {L"02-30-2000"}, L"7", L"01-01-2000", L"", L""},
        {L"arrangement B: -10 days from 01-11-2000 is AD01-01-2000", Cmd::DayIntervals, true, {L"01-11-2000"},
         {L"x"}, L"-10", L"01-11-2000", L"AD01-01-2000", L"-10"},
        {L"arrangement B refuses 1-0", Cmd::DayIntervals, true, {L"01-11-2000"}, {L"x"}, L"1-0", L"01-11-2000", L"",
         L"1-0"},
        {L"arrangement B refuses --5", Cmd::DayIntervals, true, {L"01-11-2000"}, {L"x"}, L"--5", L"01-11-2000", L"",
         L"--5"},
        {L"arrangement B writes the lunar date", Cmd::DayIntervals, true, {L"05-22-2024"}, {L"", 1}, L"10",
         L"05-22-2024", lunarText, L"10"},
        {L"Gregorian to lunar", Cmd::ConvertCalendars, false, {L"06-01-2024"}, {L"", 1}, L"", L"06-01-2024",
         lunarText, L""},
        {L"lunar to Hijri", Cmd::ConvertCalendars, false, {civil(lunarText), 1}, {L"", 2}, L"", civil(lunarText),
         hijriText, L""},
        {L"Hijri to Gregorian", Cmd::ConvertCalendars, false, {civil(hijriText), 2}, {L"", 0}, L"", civil(hijriText),
         L"AD06-01-2024", L""},
        {L"lunar day 30 of a 29-day month empties the first field", Cmd::ConvertCalendars, false,
         {shortMonth + L"-30-2024", 1}, {L"AD01-01-2000", 0}, L"", L"", L"", L""},
    };
}

bool ShowsAfter(HWND tool, const ConverterCase& c)
{
    bool second = c.command == Cmd::DayIntervals || c.command == Cmd::ConvertCalendars;
    bool result = c.command != Cmd::ConvertCalendars;
    return FieldOf(tool, FirstRow) == c.firstAfter && (!second || FieldOf(tool, SecondRow) == c.secondAfter) &&
           (!result || FieldOf(tool, ResultId) == c.resultAfter);
}

void RunCase(HWND tool, const ConverterCase& c)
{
    Type(tool, FirstRow, c.first);
    if (c.command == Cmd::DayIntervals || c.command == Cmd::ConvertCalendars) Type(tool, SecondRow, c.second);
    if (c.command != Cmd::ConvertCalendars) SetField(tool, ResultId, c.result);
    Click(tool, IDOK);
    WaitFor([&] { return ShowsAfter(tool, c); }, 3000);
    std::wstring got = Quoted(FieldOf(tool, FirstRow)) + L" " + Quoted(FieldOf(tool, SecondRow)) + L" " +
                       Quoted(FieldOf(tool, ResultId));
    Check(L"conversion: " + std::wstring(c.name), ShowsAfter(tool, c), L"got " + got);
}

// Title, caption, buttons and the opening fields of each mode.
struct ModeLook {
    int command;
    const wchar_t* title;
    const wchar_t* caption;  // "" for none
    const wchar_t* action;
};
const ModeLook Looks[] = {
    {Cmd::JulianDays, L"计算儒略日", L"儒略日数", L"计算"},
    {Cmd::DayIntervals, L"计算间隔日", L"间隔日数", L"计算"},
    {Cmd::StemBranchCalendar, L"计算干支历", L"干支历", L"计算"},
    {Cmd::ConvertCalendars, L"公历农历回历互转", L"", L"转换"},
};

void CheckLook(Lumora& app, HWND tool, const ModeLook& look, const std::wstring& shown)
{
    std::wstring t = look.title;
    bool two = look.command == Cmd::DayIntervals || look.command == Cmd::ConvertCalendars;
    std::wstring labels;
    for (int id : {FirstRow + 1, FirstRow + 2, FirstRow + 3, FirstRow + 4}) labels += FieldOf(tool, id) + L"|";
    CheckText(t + L": the date field's options", L"公历日期|农历日期|回历日期|纪元前|", labels);
    Check(t + L": one or two date fields", (GetDlgItem(tool, SecondRow) != nullptr) == two);
    Check(t + L": the result caption", *look.caption ? FieldOf(tool, CaptionId) == look.caption
                                                     : GetDlgItem(tool, ResultId) == nullptr);
    CheckText(t + L": the buttons", std::wstring(look.action) + L"|取消",
              FieldOf(tool, IDOK) + L"|" + FieldOf(tool, IDCANCEL));
    Check(t + L": the fields start with the shown day",
          FieldOf(tool, FirstRow) == shown && (!two || FieldOf(tool, SecondRow) == shown) &&
              IsCheckedIn(tool, FirstRow + 1) && !IsCheckedIn(tool, FirstRow + 4),
          Quoted(FieldOf(tool, FirstRow)));
    Check(t + L": the first field has the focus", WaitFor([&] { return FocusOf(app) == GetDlgItem(tool, FirstRow); }, 2000));
}

// The dialog keys: Tab from the first field reaches its options, Enter in a
// field presses the action button, Escape closes.
void CheckKeys(Lumora& app, HWND tool)
{
    HWND field = GetDlgItem(tool, FirstRow);
    KeyOn(field, VK_TAB);
    Check(L"conversion: Tab goes from the date field to 公历日期",
          WaitFor([&] { return FocusOf(app) == GetDlgItem(tool, FirstRow + 1); }, 2000));
    SetField(tool, FirstRow, L"01-01-2000");
    SetField(tool, ResultId, L"");
    KeyOn(field, VK_RETURN);
    Check(L"conversion: Enter presses 计算", WaitFor([&] { return FieldOf(tool, ResultId) == L"2451545"; }, 2000));
    PostMessageW(field, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
    Check(L"conversion: a double click selects the field's whole text",
          WaitFor([&] { return Send(field, EM_GETSEL, 0, 0).value_or(0) == MAKELONG(0, 10); }, 2000));
    KeyOn(field, VK_ESCAPE);
    Check(L"conversion: Escape closes the tool and enables the day window",
          WaitFor([&] { return !IsWindow(tool) && IsWindowEnabled(app.wnd); }, 3000));
}

void CheckStemBranch(Lumora& app, int chunjie)
{
    HWND tool = OpenTool(app, Cmd::StemBranchCalendar, L"LUMORA_JFORM", L"计算干支历");
    if (!tool) return;
    Type(tool, FirstRow, {L"02-05-2024"});
    Click(tool, IDOK);
    std::wstring expected = Wide(CycleDateText(2024, 2, 5, chunjie));
    WaitFor([&] { return FieldOf(tool, ResultId) == expected; }, 3000);
    CheckText(L"conversion: 02-05-2024 in stem-branch with GanZhiFromChunjieFlag " + Num(chunjie), expected,
              FieldOf(tool, ResultId));
    CloseTool(app, tool, L"计算干支历");
}

}  // namespace

void ScenarioConverter(Lumora& app)
{
    PrepareSettings({{L"Version", L"4.0"}});
    mirror = Mirror{};
    if (!StartChecked(app, L"conversion")) return;
    const CalendarDate shown{2024, 6, 1};
    app.GoTo(shown);
    for (const ModeLook& look : Looks) {
        HWND tool = OpenTool(app, look.command, L"LUMORA_JFORM", look.title);
        if (!tool) continue;
        CheckLook(app, tool, look, L"06-01-2024");
        CloseTool(app, tool, look.title);
    }
    for (const ConverterCase& c : Cases()) {
        HWND tool = OpenTool(app, c.command, L"LUMORA_JFORM", Looks[c.command - Cmd::JulianDays].title);
        if (!tool) continue;
        if (c.intervalToDate) {
            PostMessageW(GetDlgItem(tool, CaptionId), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
            RECT caption{}, second{};
            auto below = [&] {
                GetWindowRect(GetDlgItem(tool, CaptionId), &caption);
                GetWindowRect(GetDlgItem(tool, SecondRow), &second);
                return caption.top < second.top;
            };
            Check(L"conversion: a double click on 间隔日数 puts the days before the second date",
                  WaitFor(below, 2000));
        }
        RunCase(tool, c);
        CloseTool(app, tool, L"conversion");
    }
    // The arrangement goes back to A when the tool opens again.
    if (HWND tool = OpenTool(app, Cmd::DayIntervals, L"LUMORA_JFORM", L"计算间隔日")) {
        RECT caption{}, second{};
        GetWindowRect(GetDlgItem(tool, CaptionId), &caption);
        GetWindowRect(GetDlgItem(tool, SecondRow), &second);
        Check(L"conversion: the interval mode opens in arrangement A", caption.top > second.top);
        CloseTool(app, tool, L"计算间隔日");
    }
    if (HWND tool = OpenTool(app, Cmd::JulianDays, L"LUMORA_JFORM", L"计算儒略日")) CheckKeys(app, tool);
    CheckStemBranch(app, 0);
    app.Command(Cmd::GanZhiFromChunjie);
    mirror.chunjie = 1;
    CheckStemBranch(app, 1);
    Check(L"conversion: 退出 ends the program with exit code 0", app.Exit());
}
