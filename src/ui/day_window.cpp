#include "day_window.h"

#include <commctrl.h>
#include <shellapi.h>

#include <array>
#include <iterator>
#include <string>
#include <vector>

#include "audio_playback.h"
#include "day_navigation.h"
#include "menu.h"
#include "platform.h"
#include "settings.h"
#include "shown_day.h"
#include "speaking_clock.h"
#include "window_behaviours.h"
#include "win32/wide_text.h"

namespace {

// Control identifiers: the nine selectors row by row with the two
// information lines between the rows, and the background picture.
enum : int {
    GregorianYearId = 1001, InfoLine1Id = 1004, LunarYearId = 1005, InfoLine2Id = 1008, HijriYearId = 1009,
    BackgroundId = 1012,
};
constexpr UINT TrayMessage = 1124;
constexpr int RememberHotKey = 0xB001, SpeakHotKey = 0xB002;
constexpr UINT_PTR HourlyTimer = 1;
// Sent to itself when a dropped list has closed, after the choice it made.
constexpr UINT ReselectMessage = WM_APP + 1;

constexpr int CardWidth = 260, CardHeight = 150;
const COLORREF CardColour = RGB(0, 153, 227), ControlColour = RGB(240, 255, 255);
const COLORREF Blue = RGB(0, 0, 255), Magenta = RGB(255, 0, 255), Red = RGB(255, 0, 0);

struct Placement {
    int x, y, width, height;
};
// Selector positions at 96 DPI; a selector's height includes its dropped list.
const Placement SelectorPlaces[9] = {
    {9, 16, 109, 164},  {118, 16, 81, 164},  {199, 16, 52, 164},
    {9, 64, 109, 164},  {118, 64, 81, 164},  {199, 64, 52, 164},
    {9, 112, 109, 164}, {118, 112, 81, 164}, {199, 112, 52, 164},
};
const Placement InfoPlaces[2] = {{9, 45, 242, 13}, {9, 92, 242, 14}};
const char* const SelectorTips[9] = {"公历年", "公历月", "公历日", "农历年", "农历月",
                                     "农历日", "回历年", "回历月", "回历日"};

struct DayWindowState {
    HWND window = nullptr;
    std::array<HWND, 9> selectors{};
    std::array<HWND, 2> infoLines{};
    HWND background = nullptr;
    HWND toolTip = nullptr;
    HMENU menu = nullptr;
    HFONT selectorFont = nullptr, infoFont = nullptr;
    HBRUSH controlBrush = nullptr, cardBrush = nullptr;
    HBITMAP backgroundBitmap = nullptr;
    HICON bigIcon = nullptr;
    // The control that had the focus when the card was last deactivated.
    HWND lastFocus = nullptr;
    UINT dpi = 96;
    UINT taskbarCreated = 0;
    std::string reminder;
    // The items each selector holds now, so that a list is refilled only
    // when its items change.
    std::array<std::vector<std::string>, 9> listedItems;
    DayCardLists lists;
    // Escape went down on the card with no list dropped: its release hides the
    // card. A release whose press closed a list, a menu or a dialog does not.
    bool escapePressed = false;
};
DayWindowState Day;

int SelectorId(int selector) { return selector < 3 ? GregorianYearId + selector : selector < 6 ? LunarYearId + selector - 3 : HijriYearId + selector - 6; }

int SelectorIndexOf(HWND control)
{
    for (int s = 0; s < 9; ++s)
        if (Day.selectors[size_t(s)] == control) return s;
    return -1;
}

const SelectorList& ListOf(int selector)
{
    const SelectorList* all[] = {&Day.lists.gregorianYear, &Day.lists.gregorianMonth, &Day.lists.gregorianDay,
                                 &Day.lists.lunarYear,     &Day.lists.lunarMonth,     &Day.lists.lunarDay,
                                 &Day.lists.hijriYear,     &Day.lists.hijriMonth,     &Day.lists.hijriDay};
    return *all[selector];
}

COLORREF SelectorTextColour(int selector) { return RowOf(DaySelector(selector)) == DayRow::Lunar ? Magenta : Blue; }

HFONT MakeFont(int height)
{
    return CreateFontW(-Scaled(height, Day.dpi), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, GB2312_CHARSET,
                       OUT_STROKE_PRECIS, CLIP_STROKE_PRECIS, DRAFT_QUALITY, VARIABLE_PITCH, Wide("宋体").c_str());
}

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

void FillSelector(int selector, const SelectorList& list)
{
    HWND combo = Day.selectors[size_t(selector)];
    // The dropped list is a window of its own: without its redrawing
    // switched off it would update its scroll bar on every item.
    COMBOBOXINFO parts{};
    parts.cbSize = sizeof parts;
    HWND dropped = GetComboBoxInfo(combo, &parts) ? parts.hwndList : nullptr;
    for (HWND part : {combo, dropped})
        if (part) SendMessageW(part, WM_SETREDRAW, FALSE, 0);
    SendMessageW(combo, CB_RESETCONTENT, 0, 0);
    SendMessageW(combo, CB_INITSTORAGE, list.items.size(), list.items.size() * 24);
    for (const std::string& item : list.items) SendMessageW(combo, CB_ADDSTRING, 0, LPARAM(Wide(item).c_str()));
    for (HWND part : {dropped, combo})
        if (part) SendMessageW(part, WM_SETREDRAW, TRUE, 0);
    Day.listedItems[size_t(selector)] = list.items;
}

// All nine selectors show the shown day; a list is refilled only when its
// items differ from what it holds.
void SelectShownDay()
{
    Day.lists = FillDayCardLists(ShownDate, ShownBounds, DFORMShowDynastyFlag);
    for (int s = 0; s < 9; ++s) {
        const SelectorList& list = ListOf(s);
        if (list.items != Day.listedItems[size_t(s)]) FillSelector(s, list);
        SendMessageW(Day.selectors[size_t(s)], CB_SETCURSEL, WPARAM(list.selected), 0);
    }
}

void ShowDay(const CalendarDate& date)
{
    SetShownDate(date);
    SelectShownDay();
    RefreshDayInfo();
}

void SetTip(HWND control, const std::string& text)
{
    std::wstring wide = Wide(text);
    TOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = Day.window;
    tool.uId = UINT_PTR(control);
    tool.lpszText = wide.data();
    SendMessageW(Day.toolTip, TTM_UPDATETIPTEXTW, 0, LPARAM(&tool));
}

void AddTip(HWND control, const std::string& text)
{
    std::wstring wide = Wide(text);
    TOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND;
    tool.hwnd = Day.window;
    tool.uId = UINT_PTR(control);
    tool.lpszText = wide.data();
    SendMessageW(Day.toolTip, TTM_ADDTOOLW, 0, LPARAM(&tool));
}

bool LoadBackground(const std::string& path)
{
    auto bitmap = HBITMAP(LoadImageW(nullptr, Wide(path).c_str(), IMAGE_BITMAP, Scaled(CardWidth, Day.dpi),
                                     Scaled(CardHeight, Day.dpi), LR_LOADFROMFILE));
    if (!bitmap) return false;
    auto previous = HBITMAP(SendMessageW(Day.background, STM_SETIMAGE, IMAGE_BITMAP, LPARAM(bitmap)));
    if (previous && previous != bitmap) DeleteObject(previous);
    if (Day.backgroundBitmap && Day.backgroundBitmap != previous) DeleteObject(Day.backgroundBitmap);
    Day.backgroundBitmap = bitmap;
    MoveWindow(Day.background, 0, 0, Scaled(CardWidth, Day.dpi), Scaled(CardHeight, Day.dpi), TRUE);
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

void ApplyLayout()
{
    UINT dpi = Day.dpi;
    auto place = [dpi](HWND control, const Placement& p) {
        MoveWindow(control, Scaled(p.x, dpi), Scaled(p.y, dpi), Scaled(p.width, dpi), Scaled(p.height, dpi), TRUE);
    };
    // The controls let go of the old fonts before they are deleted.
    HFONT oldSelectorFont = Day.selectorFont, oldInfoFont = Day.infoFont;
    Day.selectorFont = MakeFont(14);
    Day.infoFont = MakeFont(13);
    for (int s = 0; s < 9; ++s) {
        HWND combo = Day.selectors[size_t(s)];
        SendMessageW(combo, WM_SETFONT, WPARAM(Day.selectorFont), TRUE);
        SendMessageW(combo, CB_SETITEMHEIGHT, WPARAM(-1), Scaled(18, dpi));
        SendMessageW(combo, CB_SETITEMHEIGHT, 0, Scaled(16, dpi));
        place(combo, SelectorPlaces[s]);
    }
    for (int i = 0; i < 2; ++i) {
        SendMessageW(Day.infoLines[size_t(i)], WM_SETFONT, WPARAM(Day.infoFont), TRUE);
        place(Day.infoLines[size_t(i)], InfoPlaces[i]);
    }
    for (HFONT old : {oldSelectorFont, oldInfoFont})
        if (old) DeleteObject(old);
    MoveWindow(Day.background, 0, 0, Scaled(CardWidth, dpi), Scaled(CardHeight, dpi), TRUE);
    SetWindowRgn(Day.window, CardRegion(dpi), TRUE);
    SendMessageW(Day.toolTip, TTM_SETMAXTIPWIDTH, 0, Scaled(300, dpi));
}

void CreateControls()
{
    HINSTANCE instance = GetModuleHandleW(nullptr);
    Day.background = CreateWindowExW(0, L"STATIC", nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | SS_BITMAP, 0,
                                     0, 0, 0, Day.window, HMENU(INT_PTR(BackgroundId)), instance, nullptr);
    for (int s = 0; s < 9; ++s)
        Day.selectors[size_t(s)] =
            CreateWindowExW(0, L"COMBOBOX", nullptr,
                            WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | WS_CLIPSIBLINGS | CBS_DROPDOWNLIST |
                                CBS_OWNERDRAWFIXED | CBS_HASSTRINGS,
                            0, 0, 0, 0, Day.window, HMENU(INT_PTR(SelectorId(s))), instance, nullptr);
    for (int i = 0; i < 2; ++i)
        Day.infoLines[size_t(i)] =
            CreateWindowExW(0, L"EDIT", nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | ES_READONLY | ES_AUTOHSCROLL,
                            0, 0, 0, 0, Day.window, HMENU(INT_PTR(i == 0 ? InfoLine1Id : InfoLine2Id)), instance,
                            nullptr);
    Day.toolTip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                  CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, Day.window, nullptr,
                                  instance, nullptr);
    for (int s = 0; s < 9; ++s) AddTip(Day.selectors[size_t(s)], SelectorTips[s]);
    AddTip(Day.infoLines[1], "");
    // The picture lies behind every other control.
    SetWindowPos(Day.background, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void AddTrayIcon()
{
    NOTIFYICONDATAW icon{};
    icon.cbSize = sizeof icon;
    icon.hWnd = Day.window;
    icon.uID = 0;
    icon.uFlags = NIF_ICON | NIF_MESSAGE | NIF_TIP;
    icon.uCallbackMessage = TrayMessage;
    icon.hIcon = Day.bigIcon;
    lstrcpynW(icon.szTip, Wide("岚舟日历").c_str(), int(std::size(icon.szTip)));
    Shell_NotifyIconW(NIM_ADD, &icon);
}

void RemoveTrayIcon()
{
    NOTIFYICONDATAW icon{};
    icon.cbSize = sizeof icon;
    icon.hWnd = Day.window;
    icon.uID = 0;
    Shell_NotifyIconW(NIM_DELETE, &icon);
}

void OnSelectorChanged(int selector)
{
    HWND combo = Day.selectors[size_t(selector)];
    LRESULT index = SendMessageW(combo, CB_GETCURSEL, 0, 0);
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
    HWND combo = Day.selectors[size_t(selector)];
    LRESULT index = SendMessageW(combo, CB_GETCURSEL, 0, 0);
    LRESULT count = SendMessageW(combo, CB_GETCOUNT, 0, 0);
    if (!(step < 0 ? index == 0 : index == count - 1)) return false;
    auto date = column == 1 ? StepMonth(ShownDate, RowOf(DaySelector(selector)), step, ShownBounds)
                            : StepDay(ShownDate, step);
    if (date) ShowDay(*date);
    return true;
}

bool IsOwnWindow(HWND hwnd) { return hwnd == Day.window || IsChild(Day.window, hwnd); }

// Keys and pointer messages of the card and all its controls, looked at
// before the controls get them.
bool PreTranslate(const MSG& msg)
{
    if (!Day.window || !IsOwnWindow(msg.hwnd)) return false;
    // The tips learn of the pointer from here: a tip that watched its
    // controls itself would slow every message they get.
    if (msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST) {
        MSG relayed = msg;
        SendMessageW(Day.toolTip, TTM_RELAYEVENT, 0, LPARAM(&relayed));
    }
    switch (msg.message) {
    case WM_MOUSEMOVE:
    case WM_NCMOUSEMOVE: PointerCameBack(Day.window); return false;
    case WM_SYSKEYDOWN:
        if (msg.wParam != 'V') return false;
        SpeakTime();
        return true;
    case WM_KEYDOWN:
        if (msg.wParam == VK_ESCAPE) {
            Day.escapePressed = DropDownOpen == 0;
            return false;
        }
        if (int s = SelectorIndexOf(msg.hwnd); s >= 0) {
            if (msg.wParam == VK_UP || msg.wParam == VK_LEFT) return CarryOver(s, -1);
            if (msg.wParam == VK_DOWN || msg.wParam == VK_RIGHT) return CarryOver(s, +1);
        }
        return false;
    case WM_KEYUP:
        if (msg.wParam != VK_ESCAPE) return false;
        if (Day.escapePressed) ShowWindow(Day.window, SW_HIDE);
        Day.escapePressed = false;
        return true;
    case WM_MOUSEWHEEL: {
        int s = SelectorIndexOf(msg.hwnd);
        return s >= 0 && CarryOver(s, GET_WHEEL_DELTA_WPARAM(msg.wParam) > 0 ? -1 : +1);
    }
    // The card itself handles the right button in its window procedure; its
    // controls hand it on, so that no control shows a menu of its own.
    case WM_RBUTTONDOWN:
        if (msg.hwnd == Day.window) return false;
        UpdateMenuChecks(Day.menu);
        return true;
    case WM_RBUTTONUP:
        if (msg.hwnd == Day.window) return false;
        ShowPopupMenu(Day.window, Day.menu);
        return true;
    case WM_LBUTTONDBLCLK:
        if (msg.hwnd != Day.infoLines[0] && msg.hwnd != Day.infoLines[1]) return false;
        SendMessageW(msg.hwnd, EM_SETSEL, 0, -1);
        return true;
    default: return false;
    }
}

LRESULT ControlColours(HDC dc, HWND control)
{
    int selector = SelectorIndexOf(control);
    COLORREF text = selector >= 0 ? SelectorTextColour(selector)
                    : control == Day.infoLines[1] ? Red
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
    FillRect(dc, &item.rcItem,
             highlighted ? GetSysColorBrush(COLOR_HIGHLIGHT) : Day.controlBrush);
    if (item.itemID == UINT(-1)) return;
    LRESULT length = SendMessageW(item.hwndItem, CB_GETLBTEXTLEN, item.itemID, 0);
    if (length <= 0) return;
    std::wstring text(size_t(length) + 1, L'\0');
    SendMessageW(item.hwndItem, CB_GETLBTEXT, item.itemID, LPARAM(text.data()));
    text.resize(size_t(length));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, highlighted ? GetSysColor(COLOR_HIGHLIGHTTEXT) : SelectorTextColour(selector));
    RECT r = item.rcItem;
    r.left += Scaled(2, Day.dpi);
    DrawTextW(dc, text.c_str(), int(text.size()), &r, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    if ((item.itemState & ODS_FOCUS) && !(item.itemState & ODS_NOFOCUSRECT) && (item.itemState & ODS_COMBOBOXEDIT))
        DrawFocusRect(dc, &item.rcItem);
}

void OnCommand(HWND window, WPARAM wParam, LPARAM lParam)
{
    int id = LOWORD(wParam), code = HIWORD(wParam);
    int selector = lParam ? SelectorIndexOf(HWND(lParam)) : -1;
    if (selector >= 0) {
        if (code == CBN_SELCHANGE) OnSelectorChanged(selector);
        else if (code == CBN_DROPDOWN) DropDownOpen = 1;
        else if (code == CBN_CLOSEUP) {
            DropDownOpen = 0;
            // The choice made in the list may arrive after this: show the
            // shown day in every list once it has been taken.
            PostMessageW(window, ReselectMessage, 0, 0);
        }
        return;
    }
    if (lParam == 0 && code == 0) RunCommand(window, id);
}

void OnTrayMessage(HWND window, LPARAM lParam)
{
    if (!IsWindowEnabled(window)) return;
    switch (LOWORD(lParam)) {
    case WM_LBUTTONDOWN: SetForegroundWindow(window); break;
    case WM_RBUTTONDOWN: UpdateMenuChecks(Day.menu); break;
    case WM_RBUTTONUP:
        SetForegroundWindow(window);
        ShowPopupMenu(window, Day.menu);
        break;
    }
}

void OnDpiChanged(HWND window, UINT dpi, const RECT& suggested)
{
    Day.dpi = dpi;
    ApplyLayout();
    if (!DFORMBackBitmapName.empty()) LoadBackground(DFORMBackBitmapName);
    SetWindowPos(window, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

// The card's top-left corner, for the next start.
void RememberPosition(HWND window)
{
    RECT r;
    if (GetWindowRect(window, &r)) FormLeft = r.left, FormTop = r.top;
}

void ReleaseResources()
{
    for (HGDIOBJ object : {HGDIOBJ(Day.selectorFont), HGDIOBJ(Day.infoFont), HGDIOBJ(Day.controlBrush), HGDIOBJ(Day.cardBrush),
                           HGDIOBJ(Day.backgroundBitmap)})
        if (object) DeleteObject(object);
    if (Day.menu) DestroyMenu(Day.menu);
    if (Day.bigIcon) DestroyIcon(Day.bigIcon);
    Day = DayWindowState{};
}

LRESULT CALLBACK DayWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND: OnCommand(window, wParam, lParam); return 0;
    case WM_MEASUREITEM: {
        auto& item = *reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        item.itemHeight = UINT(Scaled(item.itemID == UINT(-1) ? 18 : 16, Day.dpi));
        return TRUE;
    }
    case WM_DRAWITEM: DrawSelectorItem(*reinterpret_cast<DRAWITEMSTRUCT*>(lParam)); return TRUE;
    case WM_CTLCOLORSTATIC:
        if (HWND(lParam) == Day.background) return LRESULT(Day.cardBrush);
        [[fallthrough]];
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX: return ControlColours(HDC(wParam), HWND(lParam));
    case ReselectMessage: SelectShownDay(); return 0;
    case WM_LBUTTONDOWN: StartDragging(window); return 0;
    case WM_RBUTTONDOWN: UpdateMenuChecks(Day.menu); return 0;
    case WM_RBUTTONUP: ShowPopupMenu(window, Day.menu); return 0;
    case WM_KEYDOWN:
        if (wParam == VK_ESCAPE) Day.escapePressed = DropDownOpen == 0;
        return 0;
    case WM_KEYUP:
        if (wParam == VK_ESCAPE && Day.escapePressed) ShowWindow(window, SW_HIDE);
        Day.escapePressed = false;
        return 0;
    case WM_WINDOWPOSCHANGING: KeepOnScreen(window, *reinterpret_cast<WINDOWPOS*>(lParam)); return 0;
    case WM_MOVING:
        if (FORMTransFlag == 10) StopFading(window);
        break;
    case WM_EXITSIZEMOVE:
        if (FORMTransFlag == 10) StartFading(window);
        return 0;
    case WM_TIMER:
        if (wParam == HourlyTimer) AnnounceWholeHour();
        else if (wParam == FadeTimer) FadeTick(window);
        return 0;
    case WM_HOTKEY:
        if (wParam == RememberHotKey) {
            ShowWindow(window, SW_SHOW);
            SetForegroundWindow(window);
        } else if (wParam == SpeakHotKey) {
            SpeakTime();
        }
        return 0;
    case TrayMessage: OnTrayMessage(window, lParam); return 0;
    case WM_DROPFILES: {
        auto drop = HDROP(wParam);
        wchar_t path[MAX_PATH] = L"";
        if (DragQueryFileW(drop, 0, path, MAX_PATH) > 0) {
            std::string file = Gbk(path);
            if (IsBackgroundBitmapPath(file)) TakeBackground(file);
        }
        DragFinish(drop);
        return 0;
    }
    case WM_DPICHANGED: OnDpiChanged(window, HIWORD(wParam), *reinterpret_cast<RECT*>(lParam)); return 0;
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) {
            HWND focus = GetFocus();
            if (focus && IsChild(window, focus)) Day.lastFocus = focus;
        }
        break;
    case WM_SETFOCUS:
        SetFocus(Day.lastFocus && IsWindow(Day.lastFocus) ? Day.lastFocus : Day.selectors[0]);
        return 0;
    case WM_ENDSESSION:
        // Log-off or shut-down: keep the settings as a normal close would.
        if (wParam && SwitchPending == 0) {
            RememberPosition(window);
            SaveSettings();
        }
        return 0;
    case WM_CLOSE: CloseDayWindow(); return 0;
    case WM_DESTROY: PostQuitMessage(0); return 0;
    default:
        if (message == Day.taskbarCreated && message != 0) {
            AddTrayIcon();
            return 0;
        }
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void RegisterDayClass(HINSTANCE instance)
{
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
    windowClass.lpfnWndProc = DayWindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = HICON(LoadImageW(instance, L"FORM_APPICON", IMAGE_ICON, 32, 32, 0));
    windowClass.hIconSm = HICON(LoadImageW(instance, L"FORM_APPICON", IMAGE_ICON, 16, 16, 0));
    windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
    windowClass.hbrBackground = CreateSolidBrush(CardColour);
    windowClass.lpszClassName = L"LUMORA_DFORM";
    RegisterClassExW(&windowClass);
}

}  // namespace

void RefreshDayInfo()
{
    // Nothing to show once the card has closed (a close can arrive while a
    // dialog of the card is open).
    if (!Day.window || !IsWindow(Day.window)) return;
    StopDayAudio();
    WindowAudioPath.clear();
    ShortPath.clear();
    DayInfo info = ComposeDayInfo(ShownDate, DFORMShowInfoTypeFlag);
    SetWindowTextW(Day.infoLines[0], Wide(info.line1).c_str());
    SetWindowTextW(Day.infoLines[1], Wide(info.line2).c_str());
    Day.reminder = info.reminder;
    SetTip(Day.infoLines[1], info.reminder);
    WindowAudioPath = info.audioPath;
    PlayDayAudio();
}

void RefreshDaySelectors()
{
    if (Day.window && IsWindow(Day.window)) SelectShownDay();
}

void RefreshDayLists()
{
    RefreshDaySelectors();
    RefreshDayInfo();
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

void SetHourlyTimer(HWND window, bool on)
{
    if (on) SetTimer(window, HourlyTimer, 500, nullptr);
    else KillTimer(window, HourlyTimer);
}

void CloseDayWindow()
{
    HWND window = Day.window;
    if (!window) return;
    UnregisterHotKey(window, RememberHotKey);
    UnregisterHotKey(window, SpeakHotKey);
    RemoveTrayIcon();
    StopDayAudio();
    RememberPosition(window);
    if (SwitchPending == 0) SaveSettings();
    DestroyWindow(window);
}

int RunDayWindow()
{
    HINSTANCE instance = GetModuleHandleW(nullptr);
    static bool registered = false;
    if (!registered) RegisterDayClass(instance), registered = true;

    Day.dpi = SystemDpi();
    FadeStep = 0;
    int width = Scaled(CardWidth, Day.dpi), height = Scaled(CardHeight, Day.dpi);
    POINT at = OpeningPosition(width, height);
    Day.window = CreateWindowExW(WS_EX_CONTROLPARENT | WS_EX_TOOLWINDOW, L"LUMORA_DFORM", Wide("岚舟日历").c_str(),
                                 WS_POPUP | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, at.x, at.y, width, height, nullptr,
                                 nullptr, instance, nullptr);
    if (!Day.window) return 1;
    UINT dpi = WindowDpi(Day.window);
    if (dpi != Day.dpi) {
        // The window opened on a monitor of another scale.
        Day.dpi = dpi;
        width = Scaled(CardWidth, dpi), height = Scaled(CardHeight, dpi);
        at = OpeningPosition(width, height);
        SetWindowPos(Day.window, nullptr, at.x, at.y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    Day.controlBrush = CreateSolidBrush(ControlColour);
    Day.cardBrush = CreateSolidBrush(CardColour);
    Day.bigIcon = HICON(LoadImageW(instance, L"FORM_APPICON", IMAGE_ICON, 32, 32, 0));
    Day.taskbarCreated = RegisterWindowMessageW(L"TaskbarCreated");
    CreateControls();
    ApplyLayout();
    Day.menu = BuildMenu();
    SelectShownDay();
    SetFocus(Day.selectors[0]);
    RefreshDayInfo();
    if (!DFORMBackBitmapName.empty()) LoadBackground(DFORMBackBitmapName);
    AddTrayIcon();
    if (PlacementMode == "T") SetTopmost(Day.window, true);
    else if (PlacementMode == "D") EmbedInDesktop(Day.window, true);
    DragAcceptFiles(Day.window, TRUE);
    RegisterHotKey(Day.window, RememberHotKey, MOD_CONTROL | MOD_ALT, 'R');
    RegisterHotKey(Day.window, SpeakHotKey, MOD_CONTROL | MOD_ALT, 'V');
    SetHourlyTimer(Day.window, WholeAutoReportTimeFlag == 1);
    SwitchPending = 0;
    ShowWindow(Day.window, SW_SHOW);
    UpdateWindow(Day.window);
    SetFocus(Day.selectors[0]);

    MSG msg{};
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (PreTranslate(msg)) continue;
        if (Day.window && IsDialogMessageW(Day.window, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    ReleaseResources();
    return int(msg.wParam);
}
