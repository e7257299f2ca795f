#include "month_window.h"

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "audio_playback.h"
#include "controls.h"
#include "day_card.h"
#include "day_navigation.h"
#include "dpi.h"
#include "main_window.h"
#include "month_sheet.h"
#include "settings.h"
#include "shown_day.h"
#include "window_behaviours.h"

namespace {

constexpr int WindowWidth = 534, WindowHeight = 515;
const COLORREF WindowColour = RGB(0, 153, 227), HeaderColour = RGB(248, 249, 200), CellColour = RGB(240, 255, 255),
               ShownCellColour = RGB(255, 223, 255), WeekendText = RGB(255, 0, 0), WeekdayText = RGB(8, 0, 0);

const char* const Fonts[] = {
    "楷体_GB2312,-16,0,0,0,700,0,0,0,134,3,2,1,49",  // weekday headers
    "宋体,-14,0,0,0,400,0,0,0,134,3,2,1,2",          // day cells
    "楷体_GB2312,-29,0,0,0,400,0,0,0,134,3,2,1,49",  // the calendar label
    "宋体,-13,0,0,0,400,0,0,0,134,3,2,1,2",          // the two boxes
    "宋体,-12,0,0,0,400,0,0,0,1,0,0,0,0",            // stepping buttons
    "宋体,-12,0,0,0,400,0,0,0,134,3,2,1,2",          // the year and month selectors
};
enum : int { HeaderFont, CellFont, LabelFont, BoxFont, ButtonFont, ListFont };

// Control identifiers and the places of the controls in the table below.
enum : int { HeaderId = 1101, CellId = 1111, LabelId = 1150, YearId, MonthId, DescriptionId, EventsId, ButtonId = 1161 };
enum : size_t {
    FirstHeader = 0, FirstCell = 7, Label = FirstCell + MonthCellCount, YearList, MonthList, Description, Events,
    FirstButton, ControlCount = FirstButton + 7,
};

constexpr DWORD HeaderStyle = SS_CENTER | WS_BORDER, CellStyle = SS_CENTER | WS_BORDER | SS_NOTIFY,
                ListStyle = CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP,
                BoxStyle = ES_MULTILINE | ES_READONLY, ButtonStyle = BS_PUSHBUTTON | WS_TABSTOP;

const char* const Weekdays[7] = {"星期日", "星期一", "星期二", "星期三", "星期四", "星期五", "星期六"};
const char* const ButtonTexts[7] = {"上一年", "上一月", "上一日", "今日", "下一日", "下一月", "下一年"};

int ColumnX(int column) { return 15 + 71 * (column - 1); }

std::array<ControlSpec, ControlCount> MakeControls()
{
    std::array<ControlSpec, ControlCount> specs{};
    for (int c = 1; c <= 7; ++c)
        specs[FirstHeader + size_t(c) - 1] = {L"STATIC", HeaderStyle, 0, HeaderId + c - 1, ColumnX(c), 15, 72, 30,
                                              HeaderFont, Weekdays[c - 1]};
    for (int n = 1; n <= MonthCellCount; ++n) {
        int row = (n + 6) / 7, column = (n - 1) % 7 + 1;
        specs[FirstCell + size_t(n) - 1] = {L"STATIC", CellStyle, 0, CellId + n - 1, ColumnX(column),
                                            44 + 55 * (row - 1), 72, 56, CellFont, ""};
    }
    specs[Label] = {L"STATIC", SS_LEFT, 0, LabelId, 15, 378, 142, 60, LabelFont, "公 历"};
    specs[YearList] = {L"COMBOBOX", ListStyle, 0, YearId, 17, 410, 84, 300, ListFont, nullptr};
    specs[MonthList] = {L"COMBOBOX", ListStyle, 0, MonthId, 101, 410, 54, 300, ListFont, nullptr};
    specs[Description] = {L"EDIT", BoxStyle, 0, DescriptionId, 160, 323, 353, 82, BoxFont, nullptr};
    specs[Events] = {L"EDIT", BoxStyle, 0, EventsId, 160, 408, 353, 30, BoxFont, nullptr};
    for (int k = 1; k <= 7; ++k)
        specs[FirstButton + size_t(k) - 1] = {L"BUTTON", ButtonStyle, 0, ButtonId + k - 1, 18 + 71 * (k - 1), 447,
                                              66, 23, ButtonFont, ButtonTexts[k - 1]};
    return specs;
}
const std::array<ControlSpec, ControlCount> Controls = MakeControls();

struct MonthWindowState {
    HWND window = nullptr;
    ControlSet controls;
    HBRUSH headerBrush = nullptr, cellBrush = nullptr, shownBrush = nullptr;
    // What the cells and the two lists hold now, so that only what changed
    // is written again.
    std::array<std::string, MonthCellCount + 1> cellTexts;
    int highlightedCell = 0;
    SelectorList years, months;
};
MonthWindowState Month;

HWND Cell(int n) { return Month.controls[FirstCell + size_t(n) - 1]; }

// The cell of the shown day is drawn again with its new background.
void Highlight(int cell)
{
    int before = Month.highlightedCell;
    Month.highlightedCell = cell;
    for (int n : {before, cell})
        if (n >= 1 && n <= MonthCellCount) InvalidateRect(Cell(n), nullptr, TRUE);
}

void SelectIn(HWND combo, const SelectorList& list, int32_t value)
{
    auto found = std::find(list.values.begin(), list.values.end(), value);
    WPARAM index = found == list.values.end() ? WPARAM(-1) : WPARAM(found - list.values.begin());
    if (SendMessageW(combo, CB_GETCURSEL, 0, 0) != LRESULT(index)) SendMessageW(combo, CB_SETCURSEL, index, 0);
}

// The description of the shown day and its audio; the audio of the same day
// goes on when its file is unchanged.
void Describe(bool sameDay)
{
    if (!Month.window || !IsWindow(Month.window)) return;
    std::string audio;
    SetText(Month.controls[Description], ComposeMonthDayInfo(ShownDate.year, ShownDate.month, ShownDate.day, &audio));
    TakeDayAudio(audio, sameDay);
}

// The sheet, the month's events and the description of the shown day.
void FillMonth(bool sameDay)
{
    if (!Month.window || !IsWindow(Month.window)) return;
    SelectIn(Month.controls[YearList], Month.years, ShownDate.year);
    SelectIn(Month.controls[MonthList], Month.months, ShownDate.month);
    MonthGrid grid = FillMonthGrid(ShownDate.year, ShownDate.month, ShownDate.day);
    for (int n = 1; n <= MonthCellCount; ++n) {
        if (grid.cells[size_t(n)] == Month.cellTexts[size_t(n)]) continue;
        SetText(Cell(n), grid.cells[size_t(n)]);
        Month.cellTexts[size_t(n)] = grid.cells[size_t(n)];
    }
    Highlight(grid.highlightedCell);
    SetText(Month.controls[Events], FillMonthEvents(ShownDate.year, ShownDate.month));
    Describe(sameDay);
}

void ShowDay(const std::optional<CalendarDate>& date)
{
    if (!date || *date == ShownDate) return;
    SetShownDate(*date);
    FillMonth(false);
}

void OnListChosen(size_t list)
{
    LRESULT index = SendMessageW(Month.controls[list], CB_GETCURSEL, 0, 0);
    const SelectorList& items = list == YearList ? Month.years : Month.months;
    if (index < 0 || size_t(index) >= items.values.size()) return;
    DaySelector selector = list == YearList ? DaySelector::GregorianYear : DaySelector::GregorianMonth;
    ShowDay(ChooseInSelector(ShownDate, selector, items.values[size_t(index)], ShownBounds));
}

void OnButton(int button)
{
    switch (button) {
    case 0: ShowDay(ChooseInSelector(ShownDate, DaySelector::GregorianYear, ShownDate.year - 1, ShownBounds)); break;
    case 1: ShowDay(StepMonth(ShownDate, DayRow::Gregorian, -1, ShownBounds)); break;
    case 5: ShowDay(StepMonth(ShownDate, DayRow::Gregorian, +1, ShownBounds)); break;
    case 6: ShowDay(ChooseInSelector(ShownDate, DaySelector::GregorianYear, ShownDate.year + 1, ShownBounds)); break;
    default: {
        // 上一日, 今日 (always shown again, the date may have changed), 下一日.
        bool moved = StepShownDay(button - 3);
        if (moved || button == 3) FillMonth(!moved);
        break;
    }
    }
}

// A click on a day cell: the highlight moves and the description follows;
// the rest of the sheet stays as it is.
void OnCellClicked(int cell)
{
    int day = MonthCellDay(ShownDate.year, ShownDate.month, cell);
    if (day == 0 || day == ShownDate.day) return;
    SetShownDate({ShownDate.year, ShownDate.month, day});
    Highlight(MonthCellOfDay(ShownDate.year, ShownDate.month, day));
    Describe(false);
}

void OnCommand(int index, int code)
{
    if (index >= int(FirstCell) && index < int(FirstCell) + MonthCellCount) {
        if (code == STN_CLICKED) OnCellClicked(index - int(FirstCell) + 1);
    } else if (index == int(YearList) || index == int(MonthList)) {
        if (code == CBN_SELCHANGE) OnListChosen(size_t(index));
        else if (code == CBN_DROPDOWN) DropDownOpen = 1;
        else if (code == CBN_CLOSEUP) DropDownOpen = 0;
    } else if (index >= int(FirstButton) && code == BN_CLICKED) {
        OnButton(index - int(FirstButton));
    }
}

// The headers and cells: Sunday and Saturday in red, the shown day's cell
// on its own background.
LRESULT StaticColours(HDC dc, HWND control)
{
    int index = Month.controls.IndexOf(control);
    bool header = index >= int(FirstHeader) && index < int(FirstCell);
    bool cell = index >= int(FirstCell) && index < int(Label);
    if (!header && !cell) return 0;
    int column = header ? index - int(FirstHeader) + 1 : (index - int(FirstCell)) % 7 + 1;
    SetTextColor(dc, column == 1 || column == 7 ? WeekendText : WeekdayText);
    if (cell && index - int(FirstCell) + 1 == Month.highlightedCell) {
        SetBkMode(dc, TRANSPARENT);
        return LRESULT(Month.shownBrush);
    }
    SetBkColor(dc, header ? HeaderColour : CellColour);
    return LRESULT(header ? Month.headerBrush : Month.cellBrush);
}

void OnDpiChanged(HWND window, UINT dpi, const RECT& suggested)
{
    ScaleControls(Month.controls, dpi);
    SetWindowPos(window, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT CALLBACK MonthWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND:
        if (int index = lParam ? Month.controls.IndexOf(HWND(lParam)) : -1; index >= 0) {
            OnCommand(index, HIWORD(wParam));
            return 0;
        }
        break;
    case WM_CTLCOLORSTATIC:
        if (LRESULT brush = StaticColours(HDC(wParam), HWND(lParam))) return brush;
        break;
    // The caption neither drags the window while moving is forbidden nor
    // resizes it on a double click; the window has no other size.
    case WM_NCLBUTTONDOWN:
        if (wParam == HTCAPTION && MoveMode == "Y") return 0;
        break;
    case WM_NCLBUTTONDBLCLK:
        if (wParam == HTCAPTION) return 0;
        break;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_MAXIMIZE || (wParam & 0xFFF0) == SC_SIZE) return 0;
        break;
    case WM_DPICHANGED: OnDpiChanged(window, HIWORD(wParam), *reinterpret_cast<RECT*>(lParam)); return 0;
    default: break;
    }
    if (LRESULT result; HandleMainMessage(window, message, wParam, lParam, result)) return result;
    return DefWindowProcW(window, message, wParam, lParam);
}

// The hooks the menu calls.
void RefreshInfo() { Describe(true); }
void RefreshMonth() { FillMonth(true); }

void ShowToday()
{
    StepShownDay(0);
    FillMonth(false);
}

const MainWindowHooks Hooks = {RefreshInfo, RefreshMonth, nullptr, ShowToday, nullptr, CloseMainWindow};

void ReleaseResources()
{
    ReleaseFonts(Month.controls);
    for (HBRUSH brush : {Month.headerBrush, Month.cellBrush, Month.shownBrush})
        if (brush) DeleteObject(brush);
    DetachMainWindow();
    Month = MonthWindowState{};
}

}  // namespace

int RunMonthWindow()
{
    RegisterWindowClass(L"LUMORA_MFORM", MonthWindowProc, WindowColour);
    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_CLIPCHILDREN |
                        WS_CLIPSIBLINGS;
    Month.window = CreateMainWindow(WS_EX_CONTROLPARENT | WS_EX_WINDOWEDGE, L"LUMORA_MFORM", "岚舟月历", style,
                                    WindowWidth, WindowHeight);
    if (!Month.window) return 1;
    UINT dpi = WindowDpi(Month.window);
    // Maximize, size and restore leave the system menu.
    HMENU system = GetSystemMenu(Month.window, FALSE);
    for (UINT position : {4u, 2u, 0u}) DeleteMenu(system, position, MF_BYPOSITION);

    Month.headerBrush = CreateSolidBrush(HeaderColour);
    Month.cellBrush = CreateSolidBrush(CellColour);
    Month.shownBrush = CreateSolidBrush(ShownCellColour);
    Month.controls.specs = Controls;
    Month.controls.fontTexts = Fonts;
    CreateControls(Month.window, Month.controls, dpi);
    Month.years = GregorianYearList(ShownDate.year);
    Month.months = GregorianMonthList(ShownDate.month);
    FillList(Month.controls[YearList], Month.years.items);
    FillList(Month.controls[MonthList], Month.months.items);
    AttachMainWindow(Month.window, Hooks, nullptr, Month.controls[YearList]);
    FillMonth(false);
    ShowMainWindow();

    int exitCode = RunMainLoop(nullptr);
    ReleaseResources();
    return exitCode;
}
