// The yearly tables tool (LUMORA_TFORM): a year's lunar months, solar
// terms, new and full moons, or daily sun times, as the menu's mode 1..4
// chooses.
#pragma once
#include <windows.h>

// Runs the tool modal to owner until it closes.
void RunTablesWindow(HWND owner, int mode);
