// The pop-up menu of the main windows: built from the menu table of
// menu_model.h, its check marks set before it opens, and what each command
// does. The menu reaches the window it acts on only through the hooks that
// the window hands over.
#pragma once
#include <windows.h>

// What the current main window does for the menu's commands. A hook the
// window lacks is null and its command does nothing there.
struct MainWindowHooks {
    void (*refreshInfo)();        // the shown day's information again
    void (*refreshLists)();       // every list and then the information (the lunar calendar changed)
    void (*refreshYearNames)();   // the lunar year names (the era-name option changed)
    void (*showToday)();          // the system's date becomes the shown day
    void (*chooseBackground)(HWND owner);
    void (*close)();              // a normal close; the settings are saved unless a switch is pending
};

// Built once by each main window at its creation.
HMENU BuildMenu();
// Sets the check marks from the settings (right button going down).
void UpdateMenuChecks(HMENU menu);
// Shows the menu at the pointer, owned by window; the fading pauses meanwhile.
void ShowPopupMenu(HWND window, HMENU menu);
// Carries out one menu command in window (numbers outside the menu do nothing).
void RunCommand(HWND window, const MainWindowHooks& hooks, int number);
