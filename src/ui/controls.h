// What every window of the program does with its controls: creates them
// from one table of specs at 96 DPI and lays them out again from the same
// table when the DPI changes, makes their fonts from font texts, sets and
// reads their texts, fills lists, and gives them tool tips. This is the one
// place of the windows that converts the program's code page 936 texts to
// and from the UTF-16 of the wide Win32 functions (the file choosers are the
// other).
#pragma once
#include <windows.h>

#include <span>
#include <string>
#include <vector>

// One control: its class, its styles (WS_CHILD and WS_VISIBLE are added),
// its identifier, its place and size in client pixels at 96 DPI (for a
// drop-down list the height includes the dropped list), the index of its
// font in the window's font texts (-1 for the system font) and its first
// text.
struct ControlSpec {
    const wchar_t* className;
    DWORD style;
    DWORD exStyle;
    int id;
    int x, y, width, height;
    int font;
    const char* text;
};

// The controls of one window, in the order of their specs, with the fonts
// made for the window's DPI.
struct ControlSet {
    std::span<const ControlSpec> specs;
    std::span<const char* const> fontTexts;
    std::vector<HWND> controls;
    std::vector<HFONT> fonts;
    UINT dpi = 96;

    HWND operator[](size_t index) const { return controls[index]; }
    // The index of control in the set, -1 when it is not one of them.
    int IndexOf(HWND control) const;
};

// Creates the controls of set.specs as children of parent, at dpi.
void CreateControls(HWND parent, ControlSet& set, UINT dpi);
// New fonts and places for dpi; the old fonts go once no control uses them.
void ScaleControls(ControlSet& set, UINT dpi);
// Deletes the fonts (the controls go with their window).
void ReleaseFonts(ControlSet& set);

// The font of a font text (font_text.h) at dpi; the system's default GUI
// font when the text does not parse.
HFONT MakeFont(const char* fontText, UINT dpi);

void SetText(HWND window, const std::string& text);
std::string TextOf(HWND window);
// How many UTF-16 units text takes on the screen.
int ScreenLength(const std::string& text);
// Copies text into a fixed buffer of the Win32 structures, cut to fit.
void CopyText(wchar_t* into, size_t size, const std::string& text);

// Replaces the items of a drop-down list, with redrawing switched off
// meanwhile (for the list and its dropped part).
void FillList(HWND combo, const std::vector<std::string>& items);
void AddListItem(HWND combo, const std::string& item);
// Replaces the lines of a list box.
void FillListBox(HWND listBox, const std::vector<std::string>& lines);

// A top-level or owned window with a code page 936 title.
HWND CreateTextWindow(DWORD exStyle, const wchar_t* className, const std::string& title, DWORD style, int x, int y,
                      int width, int height, HWND owner);
// Registers a window class (once) with the program's icon, the arrow
// cursor, redrawing on resizes, double clicks and a solid background.
void RegisterWindowClass(const wchar_t* className, WNDPROC procedure, COLORREF background);

// Tool tips of a window's controls. The tips learn of the pointer through
// RelayToTips, called from the message loop: a tip that watched its controls
// itself would slow every message they get.
HWND CreateTips(HWND owner);
void AddTip(HWND tips, HWND control, const std::string& text);
void SetTip(HWND tips, HWND control, const std::string& text);
void RelayToTips(HWND tips, const MSG& msg);
