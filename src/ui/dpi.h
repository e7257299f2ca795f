// Every pixel figure of the windows is given at 96 DPI and scaled by the DPI
// of the monitor the window is on.
#pragma once
#include <windows.h>

UINT WindowDpi(HWND window);
UINT SystemDpi();
inline int Scaled(int pixels, UINT dpi) { return MulDiv(pixels, int(dpi), 96); }
