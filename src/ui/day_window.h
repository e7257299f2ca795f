// The day calendar window: a borderless, scalloped 260 x 150 card that shows
// the shown day in three rows of selectors (Gregorian, lunar, Hijri) with two
// information lines between them. It also carries the notification-area
// icon and takes a dropped background bitmap.
#pragma once
#include <windows.h>

// Creates the window, runs its message loop and returns its exit code when
// the window is destroyed.
int RunDayWindow();
