// The windows of the tools submenu: the memorial editor, the conversion tool,
// the yearly tables and the condition queries. Each opens in the mode its
// command names, modal to the current main window; the menu reaches them
// only through here.
#pragma once
#include <windows.h>

// Runs the window of one command of the tools submenu (Cmd::EditMemorials ..
// Cmd::ConditionDays) and returns when it has closed.
void OpenToolWindow(HWND owner, int command);
