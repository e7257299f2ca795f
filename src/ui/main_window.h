// What the two main windows share: the pop-up menu and its commands, the
// global hot keys, the whole-hour and fading timers, Alt+V, Escape, the
// right button, staying on the screen, focus, close-and-save, the end of the
// session and the message loop. Each main window creates its own window and
// controls, hands its hooks over with AttachMainWindow and passes the
// messages it does not handle itself to HandleMainMessage.
#pragma once
#include <windows.h>

#include <string>

#include "menu.h"

// A main window of width x height pixels at 96 DPI, scaled for the monitor
// it opens on, at its opening position (where the last one closed, when it
// fits there, else centred). Null when it cannot be made.
HWND CreateMainWindow(DWORD exStyle, const wchar_t* className, const std::string& title, DWORD style, int width,
                      int height);

// The window becomes the current main window: its menu is built. tips (may
// be null) receives the pointer's messages; firstControl takes the focus
// when the window gets it with no control remembered.
void AttachMainWindow(HWND window, const MainWindowHooks& hooks, HWND tips, HWND firstControl);
// After the window's own set-up: the placement, the hot keys, the hourly
// timer; a pending switch is done with. Then shows the window.
void ShowMainWindow();
HWND CurrentMainWindow();
HMENU MainMenu();

// The messages both main windows handle alike; false for the others.
bool HandleMainMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

// Runs the message loop until the window is destroyed; windowKeys sees the
// keys and pointer messages of the window and its controls after the shared
// ones, and returns true for those it used. Returns the loop's exit code.
int RunMainLoop(bool (*windowKeys)(const MSG& msg));

// The normal close of the current main window: hot keys gone, the day's
// audio closed, the position remembered, the settings saved unless a switch
// is pending, the window destroyed.
void CloseMainWindow();
// The window's top-left corner into FormLeft/FormTop.
void RememberPosition(HWND window);
// After the loop: the menu goes and nothing of the window remains current.
void DetachMainWindow();
