#include "dpi.h"

namespace {

// GetDpiForWindow and GetDpiForSystem exist from Windows 10 on; older systems
// scale by the screen's DPI.
template <typename Function>
Function User32Function(const char* name)
{
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), name)));
}

UINT ScreenDpi()
{
    HDC screen = GetDC(nullptr);
    UINT dpi = UINT(GetDeviceCaps(screen, LOGPIXELSX));
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}

}  // namespace

UINT WindowDpi(HWND window)
{
    static const auto getDpiForWindow = User32Function<UINT(WINAPI*)(HWND)>("GetDpiForWindow");
    UINT dpi = getDpiForWindow && window ? getDpiForWindow(window) : 0;
    return dpi > 0 ? dpi : SystemDpi();
}

UINT SystemDpi()
{
    static const auto getDpiForSystem = User32Function<UINT(WINAPI*)()>("GetDpiForSystem");
    UINT dpi = getDpiForSystem ? getDpiForSystem() : 0;
    return dpi > 0 ? dpi : ScreenDpi();
}
