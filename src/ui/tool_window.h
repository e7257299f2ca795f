// The frame of the tool windows and the day editor: a captioned window
// centred on its owner and modal to it, with its own message loop and the
// keys of any Windows dialog (Enter presses the action button, Escape is
// "取消", Tab walks the controls in the order they were created).
//
// How a window uses it:
//   1. Give the action button the identifier IDOK and "取消" IDCANCEL, and
//      list the controls in reading order (that is the Tab order).
//   2. CreateToolWindow(tool, owner, ...) makes the hidden window and its
//      controls; fill them.
//   3. RunToolLoop(tool, mode, keys) shows it and returns once it closed;
//      mode is 0 then.
//   4. In the window procedure, pass what it does not handle itself to
//      HandleToolMessage first (the close box becomes IDCANCEL, a new DPI
//      lays the controls out again, a multi-line read-only field is drawn
//      white), then to DefWindowProcW.
//   5. IDCANCEL (or whatever ends the window) calls CloseToolWindow.
// A long computation on the window's thread calls ProcessPendingInput once
// per step to stay responsive.
#pragma once
#include <windows.h>

#include <span>
#include <string>
#include <vector>

#include "controls.h"

// The one font of the tools' controls.
extern const char* const ToolFontText;

// What the tools share in their layouts, at 96 DPI: their width, the
// columns of labels, fields and "纪元前", the buttons and the style of a
// read-only result field.
constexpr int ToolClientWidth = 470, ToolLabelX = 12, ToolFieldX = 88, ToolBoxX = 176;
constexpr int ToolButtonWidth = 80, ToolButtonHeight = 26;
constexpr DWORD ToolResultStyle =
    WS_BORDER | WS_VSCROLL | WS_TABSTOP | WS_GROUP | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | ES_AUTOHSCROLL;
// Appends the action button (IDOK, the default button) and "取消"
// (IDCANCEL) at the right end of the row at y.
void AddActionButtons(std::vector<ControlSpec>& specs, int y, const char* actionText);
// Appends a year row at y: the label, a field for digits and "纪元前".
void AddYearRow(std::vector<ControlSpec>& specs, int y, int labelId, const char* label, int fieldId, int boxId);
// A check box or option button.
bool IsButtonChecked(HWND button);
void CheckButton(HWND button, bool on);

struct ToolWindow {
    HWND window = nullptr;
    HWND owner = nullptr;
    ControlSet controls;
    bool (*keys)(const MSG& msg) = nullptr;
    // The control that had the focus when the window was last deactivated.
    HWND lastFocus = nullptr;
    // Set when a loop saw WM_QUIT: it is posted again after the window's loop.
    bool quit = false;
    int quitCode = 0;
};

// Registers className (once) and creates the window, hidden, with a client
// area of clientWidth x clientHeight pixels at 96 DPI scaled to the owner's
// DPI, centred on the owner and kept on the screen, and creates specs as its
// controls with the tools' font (a spec's font 0). False when it could not
// be created. A field with ES_NUMBER refuses pasted text that is not all
// digits, as it refuses such typed characters.
bool CreateToolWindow(ToolWindow& tool, HWND owner, const wchar_t* className, WNDPROC procedure,
                      const std::string& title, int clientWidth, int clientHeight,
                      std::span<const ControlSpec> specs);

// Disables the owner, shows the window with the focus on its first Tab
// stop and runs its messages until it is destroyed. Afterwards the owner is
// enabled and active, the fonts are gone, mode is 0 and tool is empty.
// keys (may be null) sees the window's keyboard and pointer messages first
// and returns true for those it used.
void RunToolLoop(ToolWindow& tool, int& mode, bool (*keys)(const MSG& msg) = nullptr);

// Enables the owner (so that it becomes the active window again) and
// destroys the window.
void CloseToolWindow(ToolWindow& tool);

// The messages every tool window handles alike; false for the others.
bool HandleToolMessage(ToolWindow& tool, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

// For a long computation: when input or painting is waiting, handles it
// through the window's keys as the loop would; cheap when nothing waits.
// False once the window is gone or the program is asked to quit: the
// computation should stop.
bool ProcessPendingInput(ToolWindow& tool);

// The control of the set with identifier id.
HWND ToolControl(const ToolWindow& tool, int id);
