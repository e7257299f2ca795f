#include "controls.h"

#include <commctrl.h>

#include <algorithm>

#include "dpi.h"
#include "font_text.h"
#include "win32/wide_text.h"

int ControlSet::IndexOf(HWND control) const
{
    auto found = std::find(controls.begin(), controls.end(), control);
    return control && found != controls.end() ? int(found - controls.begin()) : -1;
}

void CreateControls(HWND parent, ControlSet& set, UINT dpi)
{
    HINSTANCE instance = GetModuleHandleW(nullptr);
    set.controls.clear();
    for (const ControlSpec& spec : set.specs)
        set.controls.push_back(CreateWindowExW(spec.exStyle, spec.className,
                                               spec.text ? Wide(spec.text).c_str() : nullptr,
                                               WS_CHILD | WS_VISIBLE | spec.style, 0, 0, 0, 0, parent,
                                               HMENU(INT_PTR(spec.id)), instance, nullptr));
    ScaleControls(set, dpi);
}

void ScaleControls(ControlSet& set, UINT dpi)
{
    std::vector<HFONT> old = std::move(set.fonts);
    set.fonts.clear();
    for (const char* text : set.fontTexts) set.fonts.push_back(MakeFont(text, dpi));
    set.dpi = dpi;
    for (size_t i = 0; i < set.specs.size() && i < set.controls.size(); ++i) {
        const ControlSpec& spec = set.specs[i];
        HWND control = set.controls[i];
        if (spec.font >= 0 && size_t(spec.font) < set.fonts.size())
            SendMessageW(control, WM_SETFONT, WPARAM(set.fonts[size_t(spec.font)]), TRUE);
        MoveWindow(control, Scaled(spec.x, dpi), Scaled(spec.y, dpi), Scaled(spec.width, dpi),
                   Scaled(spec.height, dpi), TRUE);
    }
    for (HFONT font : old)
        if (font) DeleteObject(font);
}

void ReleaseFonts(ControlSet& set)
{
    for (HFONT font : set.fonts)
        if (font) DeleteObject(font);
    set.fonts.clear();
}

HFONT MakeFont(const char* fontText, UINT dpi)
{
    auto font = ParseFontText(fontText ? fontText : "");
    if (!font) return HFONT(GetStockObject(DEFAULT_GUI_FONT));
    return CreateFontW(Scaled(font->height, dpi), Scaled(font->width, dpi), font->escapement, font->orientation,
                       font->weight, DWORD(font->italic), DWORD(font->underline), DWORD(font->strikeOut),
                       DWORD(font->charSet), DWORD(font->outPrecision), DWORD(font->clipPrecision),
                       DWORD(font->quality), DWORD(font->pitchAndFamily), Wide(font->face).c_str());
}

void SetText(HWND window, const std::string& text) { SetWindowTextW(window, Wide(text).c_str()); }

std::string TextOf(HWND window)
{
    int length = GetWindowTextLengthW(window);
    std::wstring text(size_t(length) + 1, L'\0');
    text.resize(size_t(std::max(0, GetWindowTextW(window, text.data(), length + 1))));
    return Gbk(text);
}

int ScreenLength(const std::string& text) { return int(Wide(text).size()); }

void CopyText(wchar_t* into, size_t size, const std::string& text)
{
    if (size == 0) return;
    lstrcpynW(into, Wide(text).c_str(), int(size));
}

void FillList(HWND combo, const std::vector<std::string>& items)
{
    // The dropped list is a window of its own: without its redrawing
    // switched off it would update its scroll bar on every item.
    COMBOBOXINFO parts{};
    parts.cbSize = sizeof parts;
    HWND dropped = GetComboBoxInfo(combo, &parts) ? parts.hwndList : nullptr;
    for (HWND part : {combo, dropped})
        if (part) SendMessageW(part, WM_SETREDRAW, FALSE, 0);
    SendMessageW(combo, CB_RESETCONTENT, 0, 0);
    SendMessageW(combo, CB_INITSTORAGE, items.size(), items.size() * 24);
    for (const std::string& item : items) SendMessageW(combo, CB_ADDSTRING, 0, LPARAM(Wide(item).c_str()));
    for (HWND part : {dropped, combo})
        if (part) SendMessageW(part, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(combo, nullptr, TRUE);
}

void AddListItem(HWND combo, const std::string& item)
{
    SendMessageW(combo, CB_ADDSTRING, 0, LPARAM(Wide(item).c_str()));
}

void FillListBox(HWND listBox, const std::vector<std::string>& lines)
{
    SendMessageW(listBox, WM_SETREDRAW, FALSE, 0);
    SendMessageW(listBox, LB_RESETCONTENT, 0, 0);
    for (const std::string& line : lines) SendMessageW(listBox, LB_ADDSTRING, 0, LPARAM(Wide(line).c_str()));
    SendMessageW(listBox, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(listBox, nullptr, TRUE);
}

HWND CreateTextWindow(DWORD exStyle, const wchar_t* className, const std::string& title, DWORD style, int x, int y,
                      int width, int height, HWND owner)
{
    return CreateWindowExW(exStyle, className, Wide(title).c_str(), style, x, y, width, height, owner, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
}

void RegisterWindowClass(const wchar_t* className, WNDPROC procedure, COLORREF background)
{
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof existing;
    if (GetClassInfoExW(instance, className, &existing)) return;
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hIcon = HICON(LoadImageW(instance, L"FORM_APPICON", IMAGE_ICON, 32, 32, 0));
    windowClass.hIconSm = HICON(LoadImageW(instance, L"FORM_APPICON", IMAGE_ICON, 16, 16, 0));
    windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
    windowClass.hbrBackground = CreateSolidBrush(background);
    windowClass.lpszClassName = className;
    RegisterClassExW(&windowClass);
}

HWND CreateTips(HWND owner)
{
    HWND tips = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
    SendMessageW(tips, TTM_SETMAXTIPWIDTH, 0, Scaled(300, WindowDpi(owner)));
    return tips;
}

namespace {

void SendTip(HWND tips, UINT message, HWND control, const std::string& text)
{
    std::wstring wide = Wide(text);
    TOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND;
    tool.hwnd = GetParent(control);
    tool.uId = UINT_PTR(control);
    tool.lpszText = wide.data();
    SendMessageW(tips, message, 0, LPARAM(&tool));
}

}  // namespace

void AddTip(HWND tips, HWND control, const std::string& text) { SendTip(tips, TTM_ADDTOOLW, control, text); }

void SetTip(HWND tips, HWND control, const std::string& text) { SendTip(tips, TTM_UPDATETIPTEXTW, control, text); }

void RelayToTips(HWND tips, const MSG& msg)
{
    if (!tips || msg.message < WM_MOUSEFIRST || msg.message > WM_MOUSELAST) return;
    MSG relayed = msg;
    SendMessageW(tips, TTM_RELAYEVENT, 0, LPARAM(&relayed));
}
