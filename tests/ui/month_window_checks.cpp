// The month window: its frame, the sheet of known months, the stepping
// buttons and selectors, a click on a cell, the two boxes, its menu marks,
// the switches to the day window and back, and a restart right after 退出.
#include "scenarios.h"

#include "driver.h"
#include "month_sheet.h"

namespace {

enum MonthControlId {
    HeaderId = 1101, CellId = 1111, YearId = 1151, MonthId, DescriptionId, EventsId, ButtonId = 1161,
};
enum Button { PreviousYear, PreviousMonth, PreviousDay, TodayButton, NextDay, NextMonth, NextYear };
const wchar_t* const ButtonNames[7] = {L"上一年", L"上一月", L"上一日", L"今日", L"下一日", L"下一月", L"下一年"};

// What the month window shows: the 37 cells, the highlighted one, the
// selected year and month and the two boxes.
struct MonthView {
    std::array<std::wstring, MonthCellCount + 1> cells;
    int highlighted = 0;
    int yearIndex = -1, monthIndex = -1;
    std::wstring description, events;
    bool operator==(const MonthView&) const = default;
};

MonthView ExpectedMonth(const CalendarDate& d)
{
    ApplyMirror();
    MonthView view;
    MonthGrid grid = FillMonthGrid(d.year, d.month, d.day);
    for (int n = 1; n <= MonthCellCount; ++n) view.cells[size_t(n)] = Wide(grid.cells[size_t(n)]);
    view.highlighted = grid.highlightedCell;
    view.yearIndex = d.year - MinShownYear;
    view.monthIndex = d.month - 1;
    view.description = Wide(ComposeMonthDayInfo(d.year, d.month, d.day));
    view.events = Wide(FillMonthEvents(d.year, d.month));
    return view;
}

// The cell drawn on the shown day's background, 0 for none: read from the
// screen, as the user sees it.
int HighlightedOnScreen(Lumora& app)
{
    Capture c = Grab(app.wnd);
    RECT window = app.Rect();
    int found = 0;
    for (int n = 1; n <= MonthCellCount; ++n) {
        RECT r{};
        GetWindowRect(app.Item(CellId + n - 1), &r);
        DWORD colour = CommonColour(c, r.left - window.left + 2, r.top - window.top + 2, r.right - window.left - 2,
                                    r.bottom - window.top - 2);
        if (colour == 0xFFDFFF) found = found == 0 ? n : -1;
    }
    return found;
}

MonthView ReadMonth(Lumora& app)
{
    MonthView view;
    for (int n = 1; n <= MonthCellCount; ++n) view.cells[size_t(n)] = TextOf(app.Item(CellId + n - 1));
    view.yearIndex = ComboSelection(app.Item(YearId));
    view.monthIndex = ComboSelection(app.Item(MonthId));
    view.description = TextOf(app.Item(DescriptionId));
    view.events = TextOf(app.Item(EventsId));
    view.highlighted = HighlightedOnScreen(app);
    return view;
}

std::wstring MonthDifferences(const MonthView& e, const MonthView& g)
{
    std::wstring out;
    auto add = [&](const std::wstring& what, const std::wstring& a, const std::wstring& b) {
        if (a != b) out += what + L" expected " + Quoted(a) + L" got " + Quoted(b) + L"; ";
    };
    for (int n = 1; n <= MonthCellCount; ++n) add(L"cell " + Num(n), e.cells[size_t(n)], g.cells[size_t(n)]);
    add(L"highlighted cell", Num(e.highlighted), Num(g.highlighted));
    add(L"year item", Num(e.yearIndex), Num(g.yearIndex));
    add(L"month item", Num(e.monthIndex), Num(g.monthIndex));
    add(L"description", e.description, g.description);
    add(L"events", e.events, g.events);
    return out;
}

bool CheckMonth(Lumora& app, const std::wstring& name, const CalendarDate& d, DWORD timeoutMs = 3000)
{
    MonthView expected = ExpectedMonth(d), got;
    WaitFor([&] { return (got = ReadMonth(app)) == expected; }, timeoutMs);
    return Check(name, got == expected, MonthDifferences(expected, got));
}

void Choose(Lumora& app, int id, int index)
{
    HWND combo = app.Item(id);
    Send(combo, CB_SETCURSEL, WPARAM(index), 0);
    Send(app.wnd, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), LPARAM(combo));
}

void ChooseMonth(Lumora& app, int32_t year, int month)
{
    Choose(app, YearId, year - MinShownYear);
    Choose(app, MonthId, month - 1);
}

void Press(Lumora& app, Button b) { Click(app.wnd, ButtonId + int(b)); }

void ClickCell(Lumora& app, int cell)
{
    PostMessageW(app.wnd, WM_COMMAND, MAKEWPARAM(CellId + cell - 1, STN_CLICKED), LPARAM(app.Item(CellId + cell - 1)));
}

// The shown day of d's month: a click on its cell.
void ClickDay(Lumora& app, const CalendarDate& d) { ClickCell(app, MonthCellOfDay(d.year, d.month, d.day)); }

void CheckMonthFrame(Lumora& app, const std::wstring& s)
{
    CheckText(s + L": class LUMORA_MFORM", L"LUMORA_MFORM", ClassOf(app.wnd));
    CheckText(s + L": window title", L"岚舟月历", WindowTitle(app.wnd));
    RECT r = app.Rect();
    Check(s + L": 534 x 515", r.right - r.left == 534 && r.bottom - r.top == 515,
          Num(r.right - r.left) + L"x" + Num(r.bottom - r.top));
    LONG style = GetWindowLongW(app.wnd, GWL_STYLE), ex = GetWindowLongW(app.wnd, GWL_EXSTYLE);
    const LONG wanted = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_CLIPCHILDREN |
                        WS_CLIPSIBLINGS | WS_VISIBLE;
    Check(s + L": captioned pop-up, control parent, topmost", (style & wanted) == wanted && !(style & WS_THICKFRAME) &&
                                                                  (ex & WS_EX_CONTROLPARENT) && (ex & WS_EX_TOPMOST),
          L"style " + Num(style) + L" exstyle " + Num(ex));
    std::wstring texts;
    for (int c = 0; c < 7; ++c) texts += TextOf(app.Item(HeaderId + c)) + L" ";
    for (int b = 0; b < 7; ++b) texts += TextOf(app.Item(ButtonId + b)) + L" ";
    CheckText(s + L": weekday headers and stepping buttons",
              L"星期日 星期一 星期二 星期三 星期四 星期五 星期六 上一年 上一月 上一日 今日 下一日 下一月 下一年 ",
              texts);
    CheckNum(s + L": the year list holds every shown year", MaxShownYear - MinShownYear + 1,
             ComboCount(app.Item(YearId)));
    // A double click on the caption leaves the size alone.
    PostMessageW(app.wnd, WM_NCLBUTTONDBLCLK, HTCAPTION, MAKELPARAM(r.left + 100, r.top + 8));
    Send(app.wnd, WM_NULL, 0, 0);
    RECT after = app.Rect();
    Check(s + L": a caption double click does not resize", EqualRect(&r, &after) != FALSE);
}

void CheckKnownMonths(Lumora& app)
{
    // February 2024: 春节 on the 10th, 元宵节 on the 24th.
    ChooseMonth(app, 2024, 2);
    ClickDay(app, {2024, 2, 10});
    if (CheckMonth(app, L"February 2024 with the 10th shown", {2024, 2, 10})) {
        MonthView got = ReadMonth(app);
        CheckText(L"春节 in the cell of 10 February 2024", L"\r\n10\r\n春节",
                  got.cells[size_t(MonthCellOfDay(2024, 2, 10))]);
        CheckText(L"元宵节 in the cell of 24 February 2024", L"\r\n24\r\n元宵节",
                  got.cells[size_t(MonthCellOfDay(2024, 2, 24))]);
    }
    // A click moves the highlight and rewrites the description.
    ClickDay(app, {2024, 2, 24});
    CheckMonth(app, L"a click on the 24th moves the highlight and the description", {2024, 2, 24});

    ChooseMonth(app, 2023, 3);
    CheckMonth(app, L"March 2023", {2023, 3, 24});
    CheckText(L"the first day of 闰二月 reads 闰二月小", L"\r\n22\r\n闰二月小",
              TextOf(app.Item(CellId + MonthCellOfDay(2023, 3, 22) - 1)));

    ClickDay(app, {2023, 3, 10});
    ChooseMonth(app, 1582, 10);
    if (CheckMonth(app, L"October 1582: 21 days, the 10th moved to the 4th", {1582, 10, 4})) {
        int days = 0;
        for (const auto& cell : ReadMonth(app).cells) days += cell.empty() ? 0 : 1;
        CheckNum(L"October 1582 has 21 cells with a day", 21, days);
    }
    ClickCell(app, MonthCellOfDay(1582, 10, 4) + 1);
    CheckMonth(app, L"the cell after the 4th of October 1582 is the 15th", {1582, 10, 15});

    ChooseMonth(app, 2026, 8);
    if (CheckMonth(app, L"August 2026", {2026, 8, 15})) {
        MonthView got = ReadMonth(app);
        bool ok = true;
        for (int n = 1; n <= MonthCellCount; ++n) ok = ok && got.cells[size_t(n)].empty() == (n < 7);
        Check(L"a 31-day month starting on a Saturday fills cells 7 to 37", ok);
    }
}

void CheckStepping(Lumora& app)
{
    struct Step {
        Button button;
        CalendarDate to;
    };
    ChooseMonth(app, 2024, 1);
    ClickDay(app, {2024, 1, 31});
    CheckMonth(app, L"31 January 2024", {2024, 1, 31});
    const Step steps[] = {
        {PreviousMonth, {2023, 12, 31}}, {NextMonth, {2024, 1, 31}}, {NextMonth, {2024, 2, 29}},
        {NextYear, {2025, 2, 28}},       {PreviousYear, {2024, 2, 28}}, {NextDay, {2024, 2, 29}},
        {NextDay, {2024, 3, 1}},         {PreviousDay, {2024, 2, 29}},  {TodayButton, Today()},
    };
    for (const Step& step : steps) {
        Press(app, step.button);
        CheckMonth(app, std::wstring(ButtonNames[step.button]) + L" shows " + Num(step.to.year) + L"-" +
                            Num(step.to.month) + L"-" + Num(step.to.day),
                   step.to);
    }

    // The ends of the shown years.
    ChooseMonth(app, MaxShownYear, 12);
    ClickDay(app, {MaxShownYear, 12, 31});
    CheckMonth(app, L"31 December of the last shown year", {MaxShownYear, 12, 31});
    for (Button b : {NextDay, NextMonth, NextYear}) {
        Press(app, b);
        CheckMonth(app, std::wstring(ButtonNames[b]) + L" on the last shown day does nothing",
                   {MaxShownYear, 12, 31});
    }
    ChooseMonth(app, MinShownYear, 1);
    ClickDay(app, {MinShownYear, 1, 1});
    for (Button b : {PreviousDay, PreviousMonth, PreviousYear}) {
        Press(app, b);
        CheckMonth(app, std::wstring(ButtonNames[b]) + L" on the first shown day does nothing",
                   {MinShownYear, 1, 1});
    }
    // Choosing February of a common year while the 30th is shown.
    ChooseMonth(app, 2023, 1);
    ClickDay(app, {2023, 1, 30});
    ChooseMonth(app, 2023, 2);
    CheckMonth(app, L"February 2023 chosen on the 30th shows the 28th", {2023, 2, 28});
}

// The commands that act on the current window.
void CheckMonthCommands(Lumora& app)
{
    CheckMenuMarks(app, L"in the month window", {{Cmd::DayWindow, false}, {Cmd::MonthWindow, true}});
    app.Command(Cmd::MonthWindow);
    Check(L"the month window's own item (3026) does nothing",
          app.Running() && IsWindowVisible(app.wnd) && ClassOf(app.wnd) == L"LUMORA_MFORM");
    ChooseMonth(app, 1000, 1);
    ClickDay(app, {1000, 1, 20});
    CheckMonth(app, L"January 1000 by the historical calendar", {1000, 1, 20});
    app.Command(Cmd::ModernAncient);
    mirror.modern = 1;
    CheckMonth(app, L"3092 refills the sheet, the events and the description", {1000, 1, 20}, 8000);
    app.Command(Cmd::ModernAncient);
    mirror.modern = 0;
    app.Command(Cmd::GanZhiFromChunjie);
    mirror.chunjie = 1;
    ChooseMonth(app, 2024, 2);
    ClickDay(app, {2024, 2, 5});
    CheckMonth(app, L"3090 rewrites the description", {2024, 2, 5});
    app.Command(Cmd::GanZhiFromChunjie);
    mirror.chunjie = 0;
    app.Command(Cmd::GoToToday);
    CheckMonth(app, L"3105 moves to today", Today());
}

// Switching keeps the shown day and saves nothing; 退出 saves.
void CheckSwitching(Lumora& app)
{
    ChooseMonth(app, 2024, 2);
    ClickDay(app, {2024, 2, 24});
    CheckMonth(app, L"before the switch", {2024, 2, 24});
    app.Command(Cmd::DayWindow);
    if (!Check(L"3025 opens the day window", app.WaitMainWindow(L"LUMORA_DFORM"))) return;
    app.CheckShows(L"the day window shows the month window's day", {2024, 2, 24});
    Check(L"a switch saves nothing", !GetValue(L"FormLeft") && GetValue(L"ShowCalendarTypeFlag") == L"1");
    CheckMenuMarks(app, L"in the day window after the switch", {{Cmd::DayWindow, true}, {Cmd::MonthWindow, false}});
    app.GoTo({2024, 3, 23});
    app.Command(Cmd::MonthWindow);
    if (!Check(L"3026 opens the month window again", app.WaitMainWindow(L"LUMORA_MFORM"))) return;
    CheckMonth(app, L"the month window shows the day window's day", {2024, 3, 23});
    Check(L"退出 in the month window ends the program", app.Exit());
    Check(L"退出 saves the settings, the month window as the one to open",
          GetValue(L"FormLeft").has_value() && GetValue(L"ShowCalendarTypeFlag") == L"1");
}

// A memorial stored for 24 February shows in the description.
void CheckStoredMemorial(Lumora& app)
{
    PrepareSettings({{L"Version", L"4.0"}, {L"ShowCalendarTypeFlag", L"1"}});
    SetValue(L"02-24", L"AD2000            结婚纪念", HKEY_CURRENT_USER, L"Software\\Lumora\\SolarMemorial");
    mirror = Mirror{};
    if (!StartChecked(app, L"stored memorial")) return;
    ChooseMonth(app, 2024, 2);
    ClickDay(app, {2024, 2, 24});
    UseRegistry = 1;  // the driver's core reads the same stored day
    CheckMonth(app, L"the description of a day with a stored memorial", {2024, 2, 24});
    UseRegistry = 0;
    Check(L"the memorial's text is in the description",
          TextOf(app.Item(DescriptionId)).find(L"结婚纪念") != std::wstring::npos, TextOf(app.Item(DescriptionId)));
    Check(L"stored memorial: 退出", app.Exit());
}

}  // namespace

void ScenarioMonthWindow(Lumora& app)
{
    const std::wstring s = L"month window";
    PrepareSettings({{L"Version", L"4.0"}, {L"ShowCalendarTypeFlag", L"1"}});
    mirror = Mirror{};
    if (!StartChecked(app, s)) return;
    CheckMonthFrame(app, s);
    CheckMonth(app, s + L": shows today", Today(), 5000);
    CheckKnownMonths(app);
    CheckStepping(app);
    CheckMonthCommands(app);
    CheckSwitching(app);
    app.Kill();
    CheckStoredMemorial(app);
}

// 退出 while the speaking clock talks: a copy started right after runs.
void ScenarioRestartAfterExit(Lumora& app)
{
    PrepareSettings({{L"Version", L"4.0"}, {L"ShowCalendarTypeFlag", L"1"}});
    if (!StartChecked(app, L"restart")) return;
    app.Command(Cmd::SpeakTime);
    Check(L"退出 during an announcement ends the program", app.Exit());
    Check(L"a copy started right after 退出 shows its window", app.Start());
    Check(L"restart: 退出 again", app.Exit());
}
