// The day calendar window: a borderless, scalloped 260 x 150 card that shows
// the shown day in three rows of selectors (Gregorian, lunar, Hijri) with two
// information lines between them. It also carries the notification-area
// icon, the global hot keys, the whole-hour timer and the day's audio.
#pragma once
#include <windows.h>

// Creates the window, runs its message loop and returns its exit code when
// the window is destroyed.
int RunDayWindow();

// The two information lines, the reminder tip and the day's audio, again.
void RefreshDayInfo();
// All nine selectors again (the year names changed).
void RefreshDaySelectors();
// The selectors and then the information (the lunar calendar changed).
void RefreshDayLists();
// Moves the shown day to the system's local date.
void ShowToday();
// Asks for a background bitmap and shows it.
void ChooseBackground(HWND owner);
// Starts or stops the 500 ms whole-hour announcement timer.
void SetHourlyTimer(HWND window, bool on);
// A normal close: the settings are saved unless a window switch is pending.
void CloseDayWindow();
