// The editor of the stored days (LUMORA_EFORM): memorial days, reminder
// days or the countdown day, as the menu's mode 1..3 chooses.
#pragma once
#include <windows.h>

// Runs the editor modal to owner until it closes.
void RunEditorWindow(HWND owner, int mode);
