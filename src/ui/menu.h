// The pop-up menu of the main windows: its items, the check marks set before
// it opens and what each command does.
#pragma once
#include <windows.h>

// Built once by each main window at its creation.
HMENU BuildMenu();
// Sets the check marks from the settings (right button going down).
void UpdateMenuChecks(HMENU menu);
// Shows the menu at the pointer, owned by window; the fading pauses meanwhile.
void ShowPopupMenu(HWND window, HMENU menu);
// Carries out one menu command (numbers outside the menu do nothing).
void RunCommand(HWND window, int number);
