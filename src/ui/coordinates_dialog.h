// The small dialog shared by three menu commands: the local coordinates
// (title "本地坐标"), the question before the system date is set ("警告")
// and the help text ("帮助"). It is modal to its owner.
#pragma once
#include <windows.h>

enum class SmallDialogMode { Coordinates, SystemDate, Help };

// Runs the dialog until it closes.
void RunSmallDialog(HWND owner, SmallDialogMode mode);
