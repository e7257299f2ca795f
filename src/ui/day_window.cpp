#include "day_window.h"

#include <commctrl.h>
#include <shellapi.h>

#include <array>
#include <iterator>
#include <string>
#include <vector>

#include "audio_playback.h"
#include "choosers.h"
#include "controls.h"
#include "day_card.h"
#include "day_navigation.h"
#include "dpi.h"
#include "file_path.h"
#include "main_window.h"
#include "settings.h"
#include "shown_day.h"
#include "window_behaviours.h"

namespace {

// Control identifiers: the nine selectors row by row with the two
// information lines between the rows, and the background picture.
enum : int {
    GregorianYearId = 1001, InfoLine1Id = 1004, LunarYearId = 1005, InfoLine2Id = 1008, HijriYearId = 1009,
    BackgroundId = 1012,
};
constexpr UINT TrayMessage = 1124;
// Sent to itself when a dropped list has closed, after the choice it made.
constexpr UINT ReselectMessage = WM_APP + 1;

constexpr int CardWidth = 260, CardHeight = 150;
const COLORREF CardColour = RGB(0, 153, 227), ControlColour = RGB(240, 255, 255);
const COLORREF Blue = RGB(0, 0, 255), Magenta = RGB(255, 0, 255), Red = RGB(255, 0, 0);

const char* const Fonts[] = {"宋体,-14,0,0,0,400,0,0,0,134,3,2,1,2", "宋体,-13,0,0,0,400,0,0,0,134,3,2,1,2"};
enum : int { SelectorFont, InfoFont };

constexpr DWORD SelectorStyle =
    WS_TABSTOP | WS_VSCROLL | WS_CLIPSIBLINGS | CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS;
constexpr DWORD InfoStyle = WS_CLIPSIBLINGS | ES_READONLY | ES_AUTOHSCROLL;

// The picture first, so that it lies behind the others; then the selectors
// row by row (a selector's height includes its dropped list) and the lines.
const ControlSpec Controls[] = {
    {L"STATIC", WS_CLIPSIBLINGS | SS_BITMAP, 0, BackgroundId, 0, 0, CardWidth, CardHeight, -1, nullptr},
    {L"COMBOBOX", SelectorStyle, 0, GregorianYearId, 9, 16, 109, 164, SelectorFont, nullptr},
    {L"COMBOBOX", SelectorStyle, 0, GregorianYearId + 1, 118, 16, 81, 164, SelectorFont, nullptr},
    {L"COMBOBOX", SelectorStyle, 0, GregorianYearId + 2, 199, 16, 52, 164, SelectorFont, nullptr},
    {L"COMBOBOX", SelectorStyle, 0, LunarYearId, 9, 64, 109, 164, SelectorFont, nullptr},
    {L"COMBOBOX", SelectorStyle, 0, LunarYearId + 1, 118, 64, 81, 164, SelectorFont, nullptr},
    {L"COMBOBOX", SelectorStyle, 0, LunarYearId + 2, 199, 64, 52, 164, SelectorFont, nullptr},
    {L"COMBOBOX", SelectorStyle, 0, HijriYearId, 9, 112, 109, 164, SelectorFont, nullptr},
    {L"COMBOBOX", SelectorStyle, 0, HijriYearId + 1, 118, 112, 81, 164, SelectorFont, nullptr},
    {L"COMBOBOX", SelectorStyle, 0, HijriYearId + 2, 199, 112, 52, 164, SelectorFont, nullptr},
    {L"EDIT", InfoStyle, 0, InfoLine1Id, 9, 45, 242, 13, InfoFont, nullptr},
    {L"EDIT", InfoStyle, 0, InfoLine2Id, 9, 92, 242, 14, InfoFont, nullptr},
};
enum : size_t { Background = 0, FirstSelector = 1, InfoLine1 = 10, InfoLine2 = 11 };

const char* const SelectorTips[9] = {"公历年", "公历月", "公历日", "农历年", "农历月",
                                     "农历日", "回历年", "回历月", "回历日"};

struct DayWindowState {
    HWND window = nullptr;
    ControlSet controls;
    HWND toolTip = nullptr;
    HBRUSH controlBrush = nullptr, cardBrush = nullptr;
    HBITMAP backgroundBitmap = nullptr;
    HICON bigIcon = nullptr;
    UINT taskbarCreated = 0;
    // The items each selector holds now, so that a list is refilled only
    // when its items change.
    std::array<std::vector<std::string>, 9> listedItems;
    DayCardLists lists;
};
DayWindowState Day;

HWND Selector(int selector) { return Day.controls[FirstSelector + size_t(selector)]; }

int SelectorIndexOf(HWND control)
{
    int index = Day.controls.IndexOf(control);
    return index >= int(FirstSelector) && index < int(FirstSelector) + 9 ? index - int(FirstSelector) : -1;
}

const SelectorList& ListOf(int selector)
{
    const SelectorList* all[] = {&Day.lists.gregorianYear, &Day.lists.gregorianMonth, &Day.lists.gregorianDay,
                                 &Day.lists.lunarYear,     &Day.lists.lunarMonth,     &Day.lists.lunarDay,
                                 &Day.lists.hijriYear,     &Day.lists.hijriMonth,     &Day.lists.hijriDay};
    return *all[selector];
}

COLORREF SelectorTextColour(int selector) { return RowOf(DaySelector(selector)) == DayRow::Lunar ? Magenta : Blue; }

// The card's stamp-like edge: a rectangle with a ring of small circles.
HRGN CardRegion(UINT dpi)
{
    auto s = [dpi](int v) { return Scaled(v, dpi); };
    HRGN card = CreateRectRgn(s(5), s(5), s(255), s(145));
    auto add = [&](int left, int top) {
        HRGN circle = CreateEllipticRgn(s(left), s(top), s(left + 10), s(top + 10));
        CombineRgn(card, card, circle, RGN_OR);
        DeleteObject(circle);
    };
    for (int i = 1; i <= 25; ++i) add(10 * i - 5, 0), add(10 * i - 5, 140);
    for (int i = 1; i <= 14; ++i) add(0, 10 * i - 5), add(250, 10 * i - 5);
    return card;
}

// All nine selectors show the shown day; a list is refilled only when its
// items differ from what it holds.
void SelectShownDay()
{
    Day.lists = FillDayCardLists(ShownDate, ShownBounds, DFORMShowDynastyFlag);
    for (int s = 0; s < 9; ++s) {
        const SelectorList& list = ListOf(s);
        if (list.items != Day.listedItems[size_t(s)]) {
            FillList(Selector(s), list.items);
            Day.listedItems[size_t(s)] = list.items;
        }
        SendMessageW(Selector(s), CB_SETCURSEL, WPARAM(list.selected), 0);
    }
}

// The two information lines, the reminder tip and the day's audio; the
// audio of the same day goes on when its file is unchanged.
void ShowDayInfo(bool sameDay)
{
    // Nothing to show once the card has closed (a close can arrive while a
    // dialog of the card is open).
    if (!Day.window || !IsWindow(Day.window)) return;
    DayInfo info = ComposeDayInfo(ShownDate, DFORMShowInfoTypeFlag);
    SetText(Day.controls[InfoLine1], info.line1);
    SetText(Day.controls[InfoLine2], info.line2);
    SetTip(Day.toolTip, Day.controls[InfoLine2], info.reminder);
    TakeDayAudio(info.audioPath, sameDay);
}

void ShowDay(const CalendarDate& date)
{
    SetShownDate(date);
    SelectShownDay();
    ShowDayInfo(false);
}

bool LoadBackground(const std::string& path)
{
    HWND background = Day.controls[Background];
    UINT dpi = Day.controls.dpi;
    auto bitmap = LoadBitmapFile(path, Scaled(CardWidth, dpi), Scaled(CardHeight, dpi));
    if (!bitmap) return false;
    auto previous = HBITMAP(SendMessageW(background, STM_SETIMAGE, IMAGE_BITMAP, LPARAM(bitmap)));
    if (previous && previous != bitmap) DeleteObject(previous);
    if (Day.backgroundBitmap && Day.backgroundBitmap != previous) DeleteObject(Day.backgroundBitmap);
    Day.backgroundBitmap = bitmap;
    MoveWindow(background, 0, 0, Scaled(CardWidth, dpi), Scaled(CardHeight, dpi), TRUE);
    return true;
}

// A bitmap the user chose or dropped becomes the background; one that does
// not load leaves the old one.
void TakeBackground(const std::string& path)
{
    if (!LoadBackground(path)) return;
    DFORMBackBitmapName = path;
    BitmapFolder = FolderOfPath(path);
}

// What the fonts and places of the controls leave to the card: the item
// heights of the selectors, its shape and the width of its tips.
void FinishLayout()
{
    UINT dpi = Day.controls.dpi;
    for (int s = 0; s < 9; ++s) {
        SendMessageW(Selector(s), CB_SETITEMHEIGHT, WPARAM(-1), Scaled(18, dpi));
        SendMessageW(Selector(s), CB_SETITEMHEIGHT, 0, Scaled(16, dpi));
    }
    SetWindowRgn(Day.window, CardRegion(dpi), TRUE);
    SendMessageW(Day.toolTip, TTM_SETMAXTIPWIDTH, 0, Scaled(300, dpi));
}

void SetTrayIcon(DWORD action)
{
    NOTIFYICONDATAW icon{};
    icon.cbSize = sizeof icon;
    icon.hWnd = Day.window;
    icon.uID = 0;
    if (action == NIM_ADD) {
        icon.uFlags = NIF_ICON | NIF_MESSAGE | NIF_TIP;
        icon.uCallbackMessage = TrayMessage;
        icon.hIcon = Day.bigIcon;
        CopyText(icon.szTip, std::size(icon.szTip), "岚舟日历");
    }
    Shell_NotifyIconW(action, &icon);
}

void OnSelectorChanged(int selector)
{
    LRESULT index = SendMessageW(Selector(selector), CB_GETCURSEL, 0, 0);
    const SelectorList& list = ListOf(selector);
    if (index < 0 || size_t(index) >= list.values.size()) return;
    auto date = ChooseInSelector(ShownDate, DaySelector(selector), list.values[size_t(index)], ShownBounds);
    if (date) ShowDay(*date);
    else SelectShownDay();
}

// Up or Left (step -1) on the first item of a month or day selector, Down or
// Right (+1) on its last, move on by a month or a day. True when the key was
// used so.
bool CarryOver(int selector, int step)
{
    int column = selector % 3;
    if (column == 0 || DropDownOpen != 0) return false;
    HWND combo = Selector(selector);
    LRESULT index = SendMessageW(combo, CB_GETCURSEL, 0, 0);
    LRESULT count = SendMessageW(combo, CB_GETCOUNT, 0, 0);
    if (!(step < 0 ? index == 0 : index == count - 1)) return false;
    auto date = column == 1 ? StepMonth(ShownDate, RowOf(DaySelector(selector)), step, ShownBounds)
                            : StepDay(ShownDate, step);
    if (date) ShowDay(*date);
    return true;
}

// The card's own keys and pointer messages, after those of every main window.
bool CardKeys(const MSG& msg)
{
    switch (msg.message) {
    case WM_KEYDOWN:
        if (int s = SelectorIndexOf(msg.hwnd); s >= 0) {
            if (msg.wParam == VK_UP || msg.wParam == VK_LEFT) return CarryOver(s, -1);
            if (msg.wParam == VK_DOWN || msg.wParam == VK_RIGHT) return CarryOver(s, +1);
        }
        return false;
    case WM_MOUSEWHEEL: {
        int s = SelectorIndexOf(msg.hwnd);
        return s >= 0 && CarryOver(s, GET_WHEEL_DELTA_WPARAM(msg.wParam) > 0 ? -1 : +1);
    }
    case WM_LBUTTONDBLCLK:
        if (msg.hwnd != Day.controls[InfoLine1] && msg.hwnd != Day.controls[InfoLine2]) return false;
        SendMessageW(msg.hwnd, EM_SETSEL, 0, -1);
        return true;
    default: return false;
    }
}

LRESULT ControlColours(HDC dc, HWND control)
{
    int selector = SelectorIndexOf(control);
    COLORREF text = selector >= 0                        ? SelectorTextColour(selector)
                    : control == Day.controls[InfoLine2] ? Red
                                                         : Blue;
    SetTextColor(dc, text);
    SetBkColor(dc, ControlColour);
    return LRESULT(Day.controlBrush);
}

void DrawSelectorItem(const DRAWITEMSTRUCT& item)
{
    int selector = SelectorIndexOf(item.hwndItem);
    if (selector < 0) return;
    bool highlighted = (item.itemState & ODS_SELECTED) && !(item.itemState & ODS_COMBOBOXEDIT);
    HDC dc = item.hDC;
    FillRect(dc, &item.rcItem, highlighted ? GetSysColorBrush(COLOR_HIGHLIGHT) : Day.controlBrush);
    if (item.itemID == UINT(-1)) return;
    LRESULT length = SendMessageW(item.hwndItem, CB_GETLBTEXTLEN, item.itemID, 0);
    if (length <= 0) return;
    std::wstring text(size_t(length) + 1, L'\0');
    SendMessageW(item.hwndItem, CB_GETLBTEXT, item.itemID, LPARAM(text.data()));
    text.resize(size_t(length));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, highlighted ? GetSysColor(COLOR_HIGHLIGHTTEXT) : SelectorTextColour(selector));
    RECT r = item.rcItem;
    r.left += Scaled(2, Day.controls.dpi);
    DrawTextW(dc, text.c_str(), int(text.size()), &r, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    if ((item.itemState & ODS_FOCUS) && !(item.itemState & ODS_NOFOCUSRECT) && (item.itemState & ODS_COMBOBOXEDIT))
        DrawFocusRect(dc, &item.rcItem);
}

void OnSelectorNotice(HWND window, int selector, int code)
{
    if (code == CBN_SELCHANGE) OnSelectorChanged(selector);
    else if (code == CBN_DROPDOWN) DropDownOpen = 1;
    else if (code == CBN_CLOSEUP) {
        DropDownOpen = 0;
        // The choice made in the list may arrive after this: show the shown
        // day in every list once it has been taken.
        PostMessageW(window, ReselectMessage, 0, 0);
    }
}

void OnTrayMessage(HWND window, LPARAM lParam)
{
    if (!IsWindowEnabled(window)) return;
    switch (LOWORD(lParam)) {
    case WM_LBUTTONDOWN: SetForegroundWindow(window); break;
    case WM_RBUTTONDOWN: UpdateMenuChecks(MainMenu()); break;
    case WM_RBUTTONUP:
        SetForegroundWindow(window);
        ShowPopupMenu(window, MainMenu());
        break;
    }
}

void OnDpiChanged(HWND window, UINT dpi, const RECT& suggested)
{
    ScaleControls(Day.controls, dpi);
    FinishLayout();
    if (!DFORMBackBitmapName.empty()) LoadBackground(DFORMBackBitmapName);
    SetWindowPos(window, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void ReleaseResources()
{
    ReleaseFonts(Day.controls);
    for (HGDIOBJ object : {HGDIOBJ(Day.controlBrush), HGDIOBJ(Day.cardBrush), HGDIOBJ(Day.backgroundBitmap)})
        if (object) DeleteObject(object);
    if (Day.bigIcon) DestroyIcon(Day.bigIcon);
    DetachMainWindow();
    Day = DayWindowState{};
}

LRESULT CALLBACK DayWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND:
        if (int s = lParam ? SelectorIndexOf(HWND(lParam)) : -1; s >= 0) {
            OnSelectorNotice(window, s, HIWORD(wParam));
            return 0;
        }
        break;
    case WM_MEASUREITEM: {
        auto& item = *reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        item.itemHeight = UINT(Scaled(item.itemID == UINT(-1) ? 18 : 16, Day.controls.dpi));
        return TRUE;
    }
    case WM_DRAWITEM: DrawSelectorItem(*reinterpret_cast<DRAWITEMSTRUCT*>(lParam)); return TRUE;
    case WM_CTLCOLORSTATIC:
        if (HWND(lParam) == Day.controls[Background]) return LRESULT(Day.cardBrush);
        [[fallthrough]];
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX: return ControlColours(HDC(wParam), HWND(lParam));
    case ReselectMessage: SelectShownDay(); return 0;
    case WM_LBUTTONDOWN: StartDragging(window); return 0;
    case TrayMessage: OnTrayMessage(window, lParam); return 0;
    case WM_DROPFILES: {
        std::string file = DroppedFile(HDROP(wParam));
        if (!file.empty() && IsBackgroundBitmapPath(file)) TakeBackground(file);
        return 0;
    }
    case WM_DPICHANGED: OnDpiChanged(window, HIWORD(wParam), *reinterpret_cast<RECT*>(lParam)); return 0;
    default:
        if (message == Day.taskbarCreated && message != 0) {
            SetTrayIcon(NIM_ADD);
            return 0;
        }
        break;
    }
    if (LRESULT result; HandleMainMessage(window, message, wParam, lParam, result)) return result;
    return DefWindowProcW(window, message, wParam, lParam);
}

// The hooks the menu calls.
void RefreshInfo() { ShowDayInfo(true); }

void RefreshSelectors()
{
    if (Day.window && IsWindow(Day.window)) SelectShownDay();
}

void RefreshLists()
{
    RefreshSelectors();
    RefreshInfo();
}

void ShowToday()
{
    InitToday();
    if (Day.window) ShowDay(ShownDate);
}

void ChooseBackground(HWND owner)
{
    std::string path = ChooseBitmapFile(owner);
    if (!path.empty()) TakeBackground(path);
}

void CloseDayWindow()
{
    if (!Day.window) return;
    SetTrayIcon(NIM_DELETE);
    CloseMainWindow();
}

const MainWindowHooks Hooks = {RefreshInfo, RefreshLists, RefreshSelectors, ShowToday, ChooseBackground, CloseDayWindow};

}  // namespace

int RunDayWindow()
{
    HINSTANCE instance = GetModuleHandleW(nullptr);
    RegisterWindowClass(L"LUMORA_DFORM", DayWindowProc, CardColour);

    Day.window = CreateMainWindow(WS_EX_CONTROLPARENT | WS_EX_TOOLWINDOW, L"LUMORA_DFORM", "岚舟日历",
                                  WS_POPUP | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, CardWidth, CardHeight);
    if (!Day.window) return 1;
    UINT dpi = WindowDpi(Day.window);
    Day.controlBrush = CreateSolidBrush(ControlColour);
    Day.cardBrush = CreateSolidBrush(CardColour);
    Day.bigIcon = HICON(LoadImageW(instance, L"FORM_APPICON", IMAGE_ICON, 32, 32, 0));
    Day.taskbarCreated = RegisterWindowMessageW(L"TaskbarCreated");
    Day.controls.specs = Controls;
    Day.controls.fontTexts = Fonts;
    CreateControls(Day.window, Day.controls, dpi);
    Day.toolTip = CreateTips(Day.window);
    for (int s = 0; s < 9; ++s) AddTip(Day.toolTip, Selector(s), SelectorTips[s]);
    AddTip(Day.toolTip, Day.controls[InfoLine2], "");
    // The picture lies behind every other control.
    SetWindowPos(Day.controls[Background], HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    FinishLayout();
    AttachMainWindow(Day.window, Hooks, Day.toolTip, Selector(0));
    SelectShownDay();
    ShowDayInfo(false);
    if (!DFORMBackBitmapName.empty()) LoadBackground(DFORMBackBitmapName);
    SetTrayIcon(NIM_ADD);
    DragAcceptFiles(Day.window, TRUE);
    ShowMainWindow();

    int exitCode = RunMainLoop(CardKeys);
    ReleaseResources();
    return exitCode;
}
