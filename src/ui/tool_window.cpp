#include "tool_window.h"

#include <commctrl.h>

#include <algorithm>
#include <string>

#include "dpi.h"

const char* const ToolFontText = "宋体,-14,0,0,0,400,0,0,0,134,3,2,1,2";

namespace {

const char* const ToolFonts[] = {ToolFontText};

constexpr DWORD ToolStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD ToolExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;

bool IsOwnWindow(const ToolWindow& tool, HWND hwnd)
{
    return tool.window && hwnd && (hwnd == tool.window || IsChild(tool.window, hwnd));
}

bool HasClass(HWND control, const wchar_t* name)
{
    wchar_t className[32] = L"";
    GetClassNameW(control, className, 32);
    return lstrcmpiW(className, name) == 0;
}

// A dropped list takes Enter and Escape for itself: they close the list.
bool IsInDroppedList(const ToolWindow& tool, HWND control)
{
    for (HWND w = control; w && w != tool.window; w = GetParent(w))
        if (HasClass(w, L"ComboBox") && SendMessageW(w, CB_GETDROPPEDSTATE, 0, 0)) return true;
    return false;
}

bool IsPushButton(HWND control)
{
    if (!HasClass(control, L"Button")) return false;
    LONG type = GetWindowLongW(control, GWL_STYLE) & BS_TYPEMASK;
    return type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON;
}

void PressButton(const ToolWindow& tool, int id)
{
    HWND button = GetDlgItem(tool.window, id);
    if (button && !IsWindowEnabled(button)) return;
    SendMessageW(tool.window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), LPARAM(button));
}

void FocusControl(HWND control)
{
    if (!control) return;
    SetFocus(control);
    if (SendMessageW(control, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) SendMessageW(control, EM_SETSEL, 0, -1);
}

// The keys of a dialog that IsDialogMessage leaves to windows of the dialog
// class: Enter and Escape anywhere but in a dropped list (and Enter on a
// push button presses that button), Tab also out of a multi-line field.
bool DialogKeys(ToolWindow& tool, const MSG& msg)
{
    if (msg.message != WM_KEYDOWN) return false;
    switch (msg.wParam) {
    case VK_ESCAPE:
        if (IsInDroppedList(tool, msg.hwnd)) return false;
        PressButton(tool, IDCANCEL);
        return true;
    case VK_RETURN:
        if (IsInDroppedList(tool, msg.hwnd) || IsPushButton(msg.hwnd)) return false;
        PressButton(tool, IDOK);
        return true;
    case VK_TAB: {
        if (GetKeyState(VK_CONTROL) < 0 || !HasClass(msg.hwnd, L"Edit") ||
            !(GetWindowLongW(msg.hwnd, GWL_STYLE) & ES_MULTILINE))
            return false;
        FocusControl(GetNextDlgTabItem(tool.window, msg.hwnd, GetKeyState(VK_SHIFT) < 0));
        return true;
    }
    default: return false;
    }
}

// A field for digits takes no other typed character (ES_NUMBER) and no
// pasted text that holds one either.
bool ClipboardHoldsOnlyDigits(HWND field)
{
    if (!OpenClipboard(field)) return false;
    std::wstring text;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
            text = chars;
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text.find_first_not_of(L"0123456789") == std::wstring::npos;
}

LRESULT CALLBACK DigitFieldProc(HWND field, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR)
{
    if (message == WM_PASTE && !ClipboardHoldsOnlyDigits(field)) {
        MessageBeep(MB_OK);
        return 0;
    }
    if (message == WM_NCDESTROY) RemoveWindowSubclass(field, DigitFieldProc, 0);
    return DefSubclassProc(field, message, wParam, lParam);
}

// One message of the window's loop.
void Handle(ToolWindow& tool, MSG& msg)
{
    if (IsOwnWindow(tool, msg.hwnd)) {
        if (tool.keys && tool.keys(msg)) return;
        if (DialogKeys(tool, msg)) return;
        if (IsDialogMessageW(tool.window, &msg)) return;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
}

}  // namespace

bool CreateToolWindow(ToolWindow& tool, HWND owner, const wchar_t* className, WNDPROC procedure,
                      const std::string& title, int clientWidth, int clientHeight,
                      std::span<const ControlSpec> specs)
{
    RegisterWindowClass(className, procedure, GetSysColor(COLOR_BTNFACE));
    UINT dpi = owner ? WindowDpi(owner) : SystemDpi();
    RECT frame{0, 0, Scaled(clientWidth, dpi), Scaled(clientHeight, dpi)};
    AdjustWindowRectEx(&frame, ToolStyle, FALSE, ToolExStyle);
    int width = frame.right - frame.left, height = frame.bottom - frame.top;
    RECT around{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (owner) GetWindowRect(owner, &around);
    int x = (around.left + around.right - width) / 2, y = (around.top + around.bottom - height) / 2;
    x = std::max(0, std::min(x, GetSystemMetrics(SM_CXSCREEN) - width));
    y = std::max(0, std::min(y, GetSystemMetrics(SM_CYSCREEN) - height));
    tool.owner = owner;
    tool.window = CreateTextWindow(ToolExStyle, className, title, ToolStyle, x, y, width, height, owner);
    if (!tool.window) return false;
    tool.controls.specs = specs;
    tool.controls.fontTexts = ToolFonts;
    CreateControls(tool.window, tool.controls, dpi);
    for (size_t i = 0; i < specs.size(); ++i)
        if (lstrcmpiW(specs[i].className, L"EDIT") == 0 && (specs[i].style & ES_NUMBER))
            SetWindowSubclass(tool.controls[i], DigitFieldProc, 0, 0);
    return true;
}

void RunToolLoop(ToolWindow& tool, int& mode, bool (*keys)(const MSG& msg))
{
    tool.keys = keys;
    if (tool.owner) EnableWindow(tool.owner, FALSE);
    ShowWindow(tool.window, SW_SHOW);
    FocusControl(GetNextDlgTabItem(tool.window, nullptr, FALSE));
    MSG msg{};
    while (!tool.quit && IsWindow(tool.window)) {
        if (GetMessageW(&msg, nullptr, 0, 0) <= 0) {
            tool.quit = true;
            tool.quitCode = int(msg.wParam);
            break;
        }
        Handle(tool, msg);
    }
    if (IsWindow(tool.window)) CloseToolWindow(tool);
    if (tool.owner && IsWindow(tool.owner)) {
        EnableWindow(tool.owner, TRUE);
        SetActiveWindow(tool.owner);
    }
    ReleaseFonts(tool.controls);
    if (tool.quit) PostQuitMessage(tool.quitCode);
    tool = ToolWindow{};
    mode = 0;
}

void CloseToolWindow(ToolWindow& tool)
{
    if (tool.owner && IsWindow(tool.owner)) EnableWindow(tool.owner, TRUE);
    if (tool.window && IsWindow(tool.window)) DestroyWindow(tool.window);
    // The loop waits for a posted message: it also ends when the close came
    // as a sent message.
    PostMessageW(nullptr, WM_NULL, 0, 0);
}

bool HandleToolMessage(ToolWindow& tool, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    result = 0;
    switch (message) {
    case WM_CLOSE: PressButton(tool, IDCANCEL); return true;
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) {
            HWND focus = GetFocus();
            if (IsOwnWindow(tool, focus) && focus != tool.window) tool.lastFocus = focus;
        }
        return false;
    case WM_SETFOCUS:
        if (tool.lastFocus && IsWindow(tool.lastFocus)) SetFocus(tool.lastFocus);
        else FocusControl(GetNextDlgTabItem(tool.window, nullptr, FALSE));
        return true;
    case WM_CTLCOLORSTATIC:
        // A read-only result field is drawn like a field, not greyed out.
        if (!HasClass(HWND(lParam), L"Edit") || !(GetWindowLongW(HWND(lParam), GWL_STYLE) & ES_MULTILINE)) return false;
        SetTextColor(HDC(wParam), GetSysColor(COLOR_WINDOWTEXT));
        SetBkColor(HDC(wParam), GetSysColor(COLOR_WINDOW));
        result = LRESULT(GetSysColorBrush(COLOR_WINDOW));
        return true;
    case WM_DPICHANGED: {
        ScaleControls(tool.controls, HIWORD(wParam));
        const RECT& r = *reinterpret_cast<const RECT*>(lParam);
        SetWindowPos(tool.window, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        return true;
    }
    default: return false;
    }
}

bool ProcessPendingInput(ToolWindow& tool)
{
    // Looking at the queue asks the system each time (under Wine a round
    // trip to its server): every 10 ms is often enough for a user and keeps
    // a long search near full speed.
    static DWORD lastLook = 0;
    DWORD now = GetTickCount();
    if (now - lastLook >= 10) {
        lastLook = now;
        if (HIWORD(GetQueueStatus(QS_ALLINPUT)) != 0) {
            MSG msg{};
            while (!tool.quit && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
                if (msg.message == WM_QUIT) {
                    tool.quit = true;
                    tool.quitCode = int(msg.wParam);
                    break;
                }
                Handle(tool, msg);
            }
        }
    }
    return !tool.quit && IsWindow(tool.window);
}

HWND ToolControl(const ToolWindow& tool, int id) { return GetDlgItem(tool.window, id); }

void AddActionButtons(std::vector<ControlSpec>& specs, int y, const char* actionText)
{
    constexpr int cancelX = ToolClientWidth - 12 - ToolButtonWidth, actionX = cancelX - 12 - ToolButtonWidth;
    specs.push_back({L"BUTTON", BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, 0, IDOK, actionX, y, ToolButtonWidth,
                     ToolButtonHeight, 0, actionText});
    specs.push_back({L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP | WS_GROUP, 0, IDCANCEL, cancelX, y, ToolButtonWidth,
                     ToolButtonHeight, 0, "取消"});
}

void AddYearRow(std::vector<ControlSpec>& specs, int y, int labelId, const char* label, int fieldId, int boxId)
{
    specs.push_back({L"STATIC", SS_CENTERIMAGE, 0, labelId, ToolLabelX, y, 72, 24, 0, label});
    specs.push_back({L"EDIT", WS_BORDER | WS_TABSTOP | WS_GROUP | ES_AUTOHSCROLL | ES_NUMBER, 0, fieldId, ToolFieldX, y,
                     80, 24, 0, ""});
    specs.push_back({L"BUTTON", BS_AUTOCHECKBOX | WS_TABSTOP | WS_GROUP, 0, boxId, ToolBoxX, y + 2, 64, 20, 0,
                     "纪元前"});
}

bool IsButtonChecked(HWND button) { return SendMessageW(button, BM_GETCHECK, 0, 0) == BST_CHECKED; }

void CheckButton(HWND button, bool on) { SendMessageW(button, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0); }
