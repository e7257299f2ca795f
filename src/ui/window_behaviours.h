// What the main windows do on the desktop: stay on top, sit in the desktop
// behind the icons, refuse to move, show through at a fixed level or fade
// while the pointer is away, stay wholly on the screen, reopen where they
// closed. The state that drives them (PlacementMode, MoveMode,
// FORMTransFlag, FormLeft/FormTop) lives in settings.h.
#pragma once
#include <windows.h>

#include <string>

#include "dpi.h"


void SetTopmost(HWND window, bool on);
// Makes the desktop's icon view the window's parent, or the window top-level
// again; where the desktop has no such view the window stays top-level.
void EmbedInDesktop(HWND window, bool on);
// Leaves placement from and takes placement to ("T", "D" or "N").
void ChangePlacement(HWND window, const std::string& from, const std::string& to);

// Alpha 255 - level, with the window layered from then on.
void SetTransparency(HWND window, int level);

// Automatic transparency: a 200 ms timer fades the window in 15 steps while
// the pointer is away; any pointer movement over it makes it opaque again.
constexpr UINT_PTR FadeTimer = 2;
extern int FadeStep;
void StartFading(HWND window);
void StopFading(HWND window);
void FadeTick(HWND window);
void PointerCameBack(HWND window);

// The position the window is about to take, kept wholly on the primary screen.
void KeepOnScreen(HWND window, WINDOWPOS& position);
// Where a width x height window opens: at FormLeft/FormTop when it fits on
// the screen there, else centred.
POINT OpeningPosition(int width, int height);
// Starts dragging the window as if its caption were pressed (MoveMode "N").
void StartDragging(HWND window);

// The whole-hour announcement timer, 500 ms, while WholeAutoReportTimeFlag is 1.
constexpr UINT_PTR HourlyTimer = 1;
void SetHourlyTimer(HWND window, bool on);
