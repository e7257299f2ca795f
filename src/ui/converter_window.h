// The conversion tool (LUMORA_JFORM): Julian day, days between two dates,
// stem-branch calendar, and Gregorian/lunar/Hijri conversion, as the menu's
// mode 1..4 chooses.
#pragma once
#include <windows.h>

// Runs the tool modal to owner until it closes.
void RunConverterWindow(HWND owner, int mode);
