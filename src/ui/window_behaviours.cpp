#include "window_behaviours.h"

#include <algorithm>

#include "platform.h"
#include "settings.h"

int FadeStep = 0;

void SetTopmost(HWND window, bool on)
{
    SetWindowPos(window, on ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_SHOWWINDOW);
}

void EmbedInDesktop(HWND window, bool on)
{
    HWND icons = nullptr;
    if (on) {
        HWND manager = FindWindowA("Progman", "Program Manager");
        HWND view = manager ? FindWindowExA(manager, nullptr, "SHELLDLL_DefView", nullptr) : nullptr;
        icons = view ? FindWindowExA(view, nullptr, "SysListView32", nullptr) : nullptr;
    }
    // Without the icon view the window stays top-level; one that already is
    // is left alone.
    if (!icons && GetAncestor(window, GA_PARENT) == GetDesktopWindow()) return;
    SetParent(window, icons);
}

void ChangePlacement(HWND window, const std::string& from, const std::string& to)
{
    if (from == to) return;
    if (from == "T") SetTopmost(window, false);
    if (from == "D") EmbedInDesktop(window, false);
    if (to == "T") SetTopmost(window, true);
    if (to == "D") EmbedInDesktop(window, true);
}

void SetTransparency(HWND window, int level)
{
    SetWindowLongW(window, GWL_EXSTYLE, GetWindowLongW(window, GWL_EXSTYLE) | WS_EX_LAYERED);
    int alpha = 255 - std::clamp(level, 0, 255);
    SetLayeredWindowAttributes(window, 0, BYTE(alpha), LWA_ALPHA);
}

void StartFading(HWND window)
{
    FadeStep = 0;
    SetTimer(window, FadeTimer, 200, nullptr);
}

void StopFading(HWND window) { KillTimer(window, FadeTimer); }

void FadeTick(HWND window)
{
    if (PopupMenuOpen != 0 || DropDownOpen != 0 || FadeStep > 14) return;
    ++FadeStep;
    POINT pointer;
    if (!GetCursorPos(&pointer)) return;
    HWND under = WindowFromPoint(pointer);
    if (under != window && !IsChild(window, under)) SetTransparency(window, 15 * FadeStep);
}

void PointerCameBack(HWND window)
{
    if (FORMTransFlag != 10) return;
    SetTransparency(window, 0);
    FadeStep = 0;
}

void KeepOnScreen(HWND window, WINDOWPOS& position)
{
    if (position.flags & SWP_NOMOVE) return;
    int width = position.cx, height = position.cy;
    if (position.flags & SWP_NOSIZE) {
        RECT r;
        GetWindowRect(window, &r);
        width = r.right - r.left;
        height = r.bottom - r.top;
    }
    ScreenDimensions screen = ScreenSize();
    position.x = std::min(std::max(position.x, 0), screen.width - width);
    position.y = std::min(std::max(position.y, 0), screen.height - height);
}

POINT OpeningPosition(int width, int height)
{
    ScreenDimensions screen = ScreenSize();
    if (FormLeft >= 0 && FormTop >= 0 && FormLeft <= screen.width - width && FormTop <= screen.height - height)
        return {LONG(FormLeft), LONG(FormTop)};
    return {LONG((screen.width - width) / 2), LONG((screen.height - height) / 2)};
}

void StartDragging(HWND window)
{
    if (MoveMode != "N") return;
    ReleaseCapture();
    SendMessageW(window, WM_NCLBUTTONDOWN, HTCAPTION, 0);
}

void SetHourlyTimer(HWND window, bool on)
{
    if (on) SetTimer(window, HourlyTimer, 500, nullptr);
    else KillTimer(window, HourlyTimer);
}
