// The month calendar window: a 534 x 515 captioned window with the sheet of
// the shown month (37 day cells under 7 weekday headers), year and month
// selectors, seven stepping buttons, the description of the shown day and
// the month's solar terms and new and full moons.
#pragma once
#include <windows.h>

// Creates the window, runs its message loop and returns its exit code when
// the window is destroyed.
int RunMonthWindow();
