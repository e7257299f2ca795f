// The condition query tool (LUMORA_SFORM): searches a span of years for
// lunar months (mode 1) or for civil days that meet chosen conditions
// (mode 2), listing what it finds.
#pragma once
#include <windows.h>

// Runs the tool modal to owner until it closes.
void RunQueryWindow(HWND owner, int mode);
