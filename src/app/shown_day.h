// The day that the windows show, in its three calendars, and the bounds of
// what their inputs accept. Process-wide state of the windows, set at
// start-up and changed by every move of the shown day.
#pragma once
#include "date_bounds.h"

extern CalendarDate ShownDate;
extern LunarDate ShownLunar;
extern HijriDate ShownHijri;
// The first and last lunar and Hijri days of the windows (1 January
// MinShownYear and 31 December MaxShownYear); the lunar ones follow
// ModernCalculateAncientFlag.
extern DateBounds ShownBounds;
// Set by the commands that switch between the day and the month window;
// each window clears it when it is created.
extern int SwitchPending;

// Shows a day of MinShownYear..MaxShownYear: the lunar and Hijri dates follow.
void SetShownDate(const CalendarDate& date);
// Today's local date becomes the shown day.
void InitToday();
// The month window's day steps: one day back (-1) or on (+1), not before
// 1 January MinShownYear nor after 31 December MaxShownYear, or today (0).
// False when the shown day stays as it was.
bool StepShownDay(int step);
// The lunar and Hijri bounds, and the shown lunar date again: at start-up and
// whenever the calendar rules change.
void InitDateBounds();
