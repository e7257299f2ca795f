#include "main_window.h"

#include "audio_playback.h"
#include "controls.h"
#include "settings.h"
#include "shown_day.h"
#include "speaking_clock.h"
#include "window_behaviours.h"

namespace {

constexpr int RememberHotKey = 0xB001, SpeakHotKey = 0xB002;

struct MainFrame {
    HWND window = nullptr;
    HMENU menu = nullptr;
    MainWindowHooks hooks{};
    HWND tips = nullptr;
    HWND firstControl = nullptr;
    // The control that had the focus when the window was last deactivated.
    HWND lastFocus = nullptr;
    // Escape went down on the window with no list dropped: its release hides
    // the window. A release whose press closed a list, a menu or a dialog
    // does not.
    bool escapePressed = false;
};
MainFrame Frame;

bool IsOwnWindow(HWND hwnd) { return Frame.window && (hwnd == Frame.window || IsChild(Frame.window, hwnd)); }

void EscapeDown() { Frame.escapePressed = DropDownOpen == 0; }

void EscapeUp()
{
    if (Frame.escapePressed) ShowWindow(Frame.window, SW_HIDE);
    Frame.escapePressed = false;
}

// Keys and pointer messages of the window and all its controls, looked at
// before the controls get them.
bool PreTranslate(const MSG& msg)
{
    RelayToTips(Frame.tips, msg);
    switch (msg.message) {
    case WM_MOUSEMOVE:
    case WM_NCMOUSEMOVE: PointerCameBack(Frame.window); return false;
    case WM_SYSKEYDOWN:
        if (msg.wParam != 'V') return false;
        SpeakTime();
        return true;
    case WM_KEYDOWN:
        if (msg.wParam == VK_ESCAPE) EscapeDown();
        return false;
    case WM_KEYUP:
        if (msg.wParam != VK_ESCAPE) return false;
        EscapeUp();
        return true;
    // The window itself handles the right button in its window procedure;
    // its controls hand it on, so that no control shows a menu of its own.
    case WM_RBUTTONDOWN:
        if (msg.hwnd == Frame.window) return false;
        UpdateMenuChecks(Frame.menu);
        return true;
    case WM_RBUTTONUP:
        if (msg.hwnd == Frame.window) return false;
        ShowPopupMenu(Frame.window, Frame.menu);
        return true;
    default: return false;
    }
}

}  // namespace

HWND CreateMainWindow(DWORD exStyle, const wchar_t* className, const std::string& title, DWORD style, int width,
                      int height)
{
    UINT dpi = SystemDpi();
    POINT at = OpeningPosition(Scaled(width, dpi), Scaled(height, dpi));
    HWND window = CreateTextWindow(exStyle, className, title, style, at.x, at.y, Scaled(width, dpi),
                                   Scaled(height, dpi), nullptr);
    if (!window) return nullptr;
    if (UINT opened = WindowDpi(window); opened != dpi) {
        // The window opened on a monitor of another scale.
        at = OpeningPosition(Scaled(width, opened), Scaled(height, opened));
        SetWindowPos(window, nullptr, at.x, at.y, Scaled(width, opened), Scaled(height, opened),
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    return window;
}

void AttachMainWindow(HWND window, const MainWindowHooks& hooks, HWND tips, HWND firstControl)
{
    Frame = MainFrame{};
    Frame.window = window;
    Frame.hooks = hooks;
    Frame.tips = tips;
    Frame.firstControl = firstControl;
    Frame.menu = BuildMenu();
    FadeStep = 0;
    // Focused before it shows (the placement may show it), so that it is
    // never seen without the focus.
    if (firstControl) SetFocus(firstControl);
}

void ShowMainWindow()
{
    HWND window = Frame.window;
    if (PlacementMode == "T") SetTopmost(window, true);
    else if (PlacementMode == "D") EmbedInDesktop(window, true);
    RegisterHotKey(window, RememberHotKey, MOD_CONTROL | MOD_ALT, 'R');
    RegisterHotKey(window, SpeakHotKey, MOD_CONTROL | MOD_ALT, 'V');
    SetHourlyTimer(window, WholeAutoReportTimeFlag == 1);
    SwitchPending = 0;
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    if (Frame.firstControl) SetFocus(Frame.firstControl);
}

HWND CurrentMainWindow() { return Frame.window; }
HMENU MainMenu() { return Frame.menu; }

bool HandleMainMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    result = 0;
    switch (message) {
    case WM_COMMAND:
        // Menu commands; the controls' notifications are the window's own.
        if (lParam != 0 || HIWORD(wParam) != 0) return false;
        RunCommand(window, Frame.hooks, LOWORD(wParam));
        return true;
    case WM_RBUTTONDOWN: UpdateMenuChecks(Frame.menu); return true;
    case WM_RBUTTONUP: ShowPopupMenu(window, Frame.menu); return true;
    case WM_KEYDOWN:
        if (wParam == VK_ESCAPE) EscapeDown();
        return true;
    case WM_KEYUP:
        if (wParam == VK_ESCAPE) EscapeUp();
        Frame.escapePressed = false;
        return true;
    case WM_WINDOWPOSCHANGING: KeepOnScreen(window, *reinterpret_cast<WINDOWPOS*>(lParam)); return true;
    case WM_MOVING:
        if (FORMTransFlag == 10) StopFading(window);
        return false;
    case WM_EXITSIZEMOVE:
        if (FORMTransFlag == 10) StartFading(window);
        return true;
    case WM_TIMER:
        if (wParam == HourlyTimer) AnnounceWholeHour();
        else if (wParam == FadeTimer) FadeTick(window);
        return true;
    case WM_HOTKEY:
        if (wParam == RememberHotKey) {
            ShowWindow(window, SW_SHOW);
            SetForegroundWindow(window);
        } else if (wParam == SpeakHotKey) {
            SpeakTime();
        }
        return true;
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) {
            HWND focus = GetFocus();
            if (focus && IsChild(window, focus)) Frame.lastFocus = focus;
        }
        return false;
    case WM_SETFOCUS: {
        HWND focus = Frame.lastFocus && IsWindow(Frame.lastFocus) ? Frame.lastFocus : Frame.firstControl;
        if (focus) SetFocus(focus);
        return true;
    }
    case WM_ENDSESSION:
        // Log-off or shut-down: keep the settings as a normal close would.
        if (wParam && SwitchPending == 0) {
            RememberPosition(window);
            SaveSettings();
        }
        return true;
    case WM_CLOSE:
        if (Frame.hooks.close) Frame.hooks.close();
        return true;
    case WM_DESTROY: PostQuitMessage(0); return true;
    default: return false;
    }
}

int RunMainLoop(bool (*windowKeys)(const MSG& msg))
{
    MSG msg{};
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (IsOwnWindow(msg.hwnd) && (PreTranslate(msg) || (windowKeys && windowKeys(msg)))) continue;
        if (Frame.window && IsDialogMessageW(Frame.window, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return int(msg.wParam);
}

void CloseMainWindow()
{
    HWND window = Frame.window;
    if (!window) return;
    UnregisterHotKey(window, RememberHotKey);
    UnregisterHotKey(window, SpeakHotKey);
    StopDayAudio();
    RememberPosition(window);
    if (SwitchPending == 0) SaveSettings();
    DestroyWindow(window);
}

void RememberPosition(HWND window)
{
    RECT r;
    if (GetWindowRect(window, &r)) FormLeft = r.left, FormTop = r.top;
}

void DetachMainWindow()
{
    if (Frame.menu) DestroyMenu(Frame.menu);
    Frame = MainFrame{};
}
