// What every part of the UI driver shares: reporting, the registry, messages
// to the program's windows, the program's settings as the driver mirrors
// them, the running program (Lumora) and reading its pop-up menu.
//
// The driver starts the real lumora.exe, drives it through Win32 messages as
// a user's mouse and keyboard would, and checks what its windows show and
// what it leaves in the registry; the texts the windows must show are
// computed by the same core the program uses.
#pragma once

#ifndef _WIN32_WINNT
#define _WIN32_WINNT 0x0601
#endif
#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <functional>
#include <map>
#include <optional>
#include <tuple>
#include <string>
#include <vector>

#include "calendar_flags.h"
#include "calendar_names.h"
#include "civil_calendar.h"
#include "day_card.h"
#include "day_navigation.h"
#include "era_names.h"
#include "menu_model.h"
#include "places.h"
#include "settings.h"



// ---------------------------------------------------------------------------
// Texts and reporting

inline std::wstring Wide(const std::string& gbk)
{
    if (gbk.empty()) return L"";
    int n = MultiByteToWideChar(936, 0, gbk.data(), int(gbk.size()), nullptr, 0);
    std::wstring out(size_t(n), L'\0');
    MultiByteToWideChar(936, 0, gbk.data(), int(gbk.size()), out.data(), n);
    return out;
}

inline std::string Gbk(const std::wstring& text)
{
    if (text.empty()) return "";
    int n = WideCharToMultiByte(936, 0, text.data(), int(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(size_t(n), '\0');
    WideCharToMultiByte(936, 0, text.data(), int(text.size()), out.data(), n, nullptr, nullptr);
    return out;
}

inline std::string Utf8(const std::wstring& text)
{
    if (text.empty()) return "";
    int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(size_t(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), out.data(), n, nullptr, nullptr);
    return out;
}

inline std::wstring Num(long long value) { return std::to_wstring(value); }

inline std::wstring Quoted(const std::optional<std::wstring>& text)
{
    return text ? L"\u00AB" + *text + L"\u00BB" : L"(none)";
}

inline int passed = 0, failed = 0;

// With LUMORA_UI_TIMES set, every line starts with the milliseconds since
// the driver started, to find the slow checks.
inline const bool showTimes = std::getenv("LUMORA_UI_TIMES") != nullptr;
inline const DWORD startTicks = GetTickCount();

inline void Print(const std::wstring& line)
{
    std::string bytes = (showTimes ? std::to_string(GetTickCount() - startTicks) + " " : std::string()) +
                        Utf8(line) + "\n";
    fwrite(bytes.data(), 1, bytes.size(), stdout);
    fflush(stdout);
}

inline bool Check(const std::wstring& name, bool ok, const std::wstring& detail = L"")
{
    if (ok) {
        ++passed;
        Print(L"PASS " + name);
    } else {
        ++failed;
        Print(L"FAIL " + name + (detail.empty() ? L"" : L": " + detail));
    }
    return ok;
}

inline bool CheckText(const std::wstring& name, const std::optional<std::wstring>& expected,
               const std::optional<std::wstring>& got)
{
    return Check(name, expected == got, L"expected " + Quoted(expected) + L" got " + Quoted(got));
}

inline bool CheckNum(const std::wstring& name, long long expected, long long got)
{
    return Check(name, expected == got, L"expected " + Num(expected) + L" got " + Num(got));
}

// Polls cond every 20 ms until it holds or timeoutMs has passed.
inline bool WaitFor(const std::function<bool()>& cond, DWORD timeoutMs = 5000)
{
    DWORD start = GetTickCount();
    for (;;) {
        if (cond()) return true;
        if (GetTickCount() - start >= timeoutMs) return cond();
        Sleep(20);
    }
}

// ---------------------------------------------------------------------------
// Registry

const wchar_t LumoraKey[] = L"Software\\Lumora";
const wchar_t RunKey[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";

inline void SetValue(const wchar_t* name, const std::wstring& text, HKEY root = HKEY_CURRENT_USER,
              const wchar_t* key = LumoraKey)
{
    HKEY h;
    if (RegCreateKeyExW(root, key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &h, nullptr) != ERROR_SUCCESS) return;
    RegSetValueExW(h, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                   DWORD((text.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(h);
}

inline std::optional<std::wstring> GetValue(const wchar_t* name, HKEY root = HKEY_CURRENT_USER,
                                     const wchar_t* key = LumoraKey)
{
    HKEY h;
    if (RegOpenKeyExW(root, key, 0, KEY_READ, &h) != ERROR_SUCCESS) return std::nullopt;
    DWORD type = 0, size = 0;
    std::optional<std::wstring> result;
    if (RegQueryValueExW(h, name, nullptr, &type, nullptr, &size) == ERROR_SUCCESS && type == REG_SZ) {
        std::wstring data(size / sizeof(wchar_t) + 1, L'\0');
        if (RegQueryValueExW(h, name, nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size) ==
            ERROR_SUCCESS)
            result = std::wstring(data.c_str());
    }
    RegCloseKey(h);
    return result;
}

inline void DeleteValue(const wchar_t* name, HKEY root, const wchar_t* key)
{
    HKEY h;
    if (RegOpenKeyExW(root, key, 0, KEY_ALL_ACCESS, &h) != ERROR_SUCCESS) return;
    RegDeleteValueW(h, name);
    RegCloseKey(h);
}

inline bool KeyExists(const wchar_t* key, HKEY root = HKEY_CURRENT_USER)
{
    HKEY h;
    if (RegOpenKeyExW(root, key, 0, KEY_READ, &h) != ERROR_SUCCESS) return false;
    RegCloseKey(h);
    return true;
}

inline std::vector<std::wstring> ValueNames(const wchar_t* key = LumoraKey)
{
    std::vector<std::wstring> names;
    HKEY h;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, key, 0, KEY_READ, &h) != ERROR_SUCCESS) return names;
    for (DWORD i = 0;; ++i) {
        wchar_t name[512];
        DWORD len = 512;
        if (RegEnumValueW(h, i, name, &len, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        names.emplace_back(name, len);
    }
    RegCloseKey(h);
    std::sort(names.begin(), names.end());
    return names;
}

// Nothing of the program's: no settings, no stored days, no Run value.
inline void ClearRegistry()
{
    RegDeleteTreeW(HKEY_CURRENT_USER, LumoraKey);
    RegDeleteKeyW(HKEY_CURRENT_USER, LumoraKey);
    DeleteValue(L"Lumora", HKEY_LOCAL_MACHINE, RunKey);
    DeleteValue(L"Lumora", HKEY_CURRENT_USER, RunKey);
}

// A registry holding only the given settings of the program.
inline void PrepareSettings(std::initializer_list<std::pair<const wchar_t*, std::wstring>> values)
{
    ClearRegistry();
    for (const auto& [name, text] : values) SetValue(name, text);
}

// ---------------------------------------------------------------------------
// Messages to another process

// SendMessage that gives up after timeoutMs instead of hanging the run;
// nullopt when it timed out or failed.
inline std::optional<LRESULT> Send(HWND w, UINT msg, WPARAM wp, LPARAM lp, UINT timeoutMs = 5000)
{
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(w, msg, wp, lp, SMTO_NORMAL, timeoutMs, &result)) return std::nullopt;
    return LRESULT(result);
}

inline std::wstring ClassOf(HWND w)
{
    wchar_t name[256] = {};
    GetClassNameW(w, name, 256);
    return name;
}

inline std::wstring TextOf(HWND w)
{
    auto len = Send(w, WM_GETTEXTLENGTH, 0, 0);
    if (!len || *len < 0) return L"<unreadable>";
    std::wstring text(size_t(*len) + 1, L'\0');
    auto got = Send(w, WM_GETTEXT, WPARAM(text.size()), LPARAM(text.data()));
    if (!got) return L"<unreadable>";
    text.resize(wcslen(text.c_str()));
    return text;
}

inline int ComboCount(HWND combo) { return int(Send(combo, CB_GETCOUNT, 0, 0).value_or(-1)); }
inline int ComboSelection(HWND combo) { return int(Send(combo, CB_GETCURSEL, 0, 0).value_or(-1)); }

inline std::wstring ComboItem(HWND combo, int index)
{
    auto len = Send(combo, CB_GETLBTEXTLEN, WPARAM(index), 0);
    if (!len || *len < 0) return L"<no item " + Num(index) + L">";
    std::wstring text(size_t(*len) + 1, L'\0');
    Send(combo, CB_GETLBTEXT, WPARAM(index), LPARAM(text.data()));
    text.resize(wcslen(text.c_str()));
    return text;
}

inline std::vector<std::wstring> ComboItems(HWND combo)
{
    std::vector<std::wstring> items;
    int n = ComboCount(combo);
    for (int i = 0; i < n; ++i) items.push_back(ComboItem(combo, i));
    return items;
}

inline std::wstring SelectedItem(HWND combo)
{
    int sel = ComboSelection(combo);
    return sel < 0 ? L"<none>" : ComboItem(combo, sel);
}

inline std::vector<HWND> TopWindowsOf(DWORD pid, const wchar_t* className)
{
    struct Search {
        DWORD pid;
        const wchar_t* cls;
        std::vector<HWND> found;
    } search{pid, className, {}};
    EnumWindows(
        [](HWND w, LPARAM lp) -> BOOL {
            auto* s = reinterpret_cast<Search*>(lp);
            DWORD owner = 0;
            GetWindowThreadProcessId(w, &owner);
            if (owner == s->pid && ClassOf(w) == s->cls) s->found.push_back(w);
            return TRUE;
        },
        LPARAM(&search));
    return search.found;
}

inline std::wstring WindowTitle(HWND w)
{
    wchar_t title[256] = {};
    GetWindowTextW(w, title, 256);
    return title;
}

// Texts of all descendants of a window, for finding a line of a dialog.
inline std::vector<std::wstring> ChildTexts(HWND parent)
{
    std::vector<std::wstring> texts;
    EnumChildWindows(
        parent,
        [](HWND w, LPARAM lp) -> BOOL {
            reinterpret_cast<std::vector<std::wstring>*>(lp)->push_back(TextOf(w));
            return TRUE;
        },
        LPARAM(&texts));
    return texts;
}

inline void MouseTo(int x, int y)
{
    int cx = GetSystemMetrics(SM_CXSCREEN), cy = GetSystemMetrics(SM_CYSCREEN);
    INPUT in{};
    in.type = INPUT_MOUSE;
    // Rounded up, so that the system's scaling back gives x and y exactly.
    in.mi.dx = LONG((x * 65536LL + cx - 1) / cx);
    in.mi.dy = LONG((y * 65536LL + cy - 1) / cy);
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &in, sizeof in);
    SetCursorPos(x, y);
}

inline void MouseButton(bool down)
{
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
    SendInput(1, &in, sizeof in);
}

inline void KeyInput(WORD vk, bool up)
{
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.wScan = WORD(MapVirtualKeyW(vk, 0));
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &in, sizeof in);
}

// The keys pressed together and released in reverse order, as typed.
inline void TypeChord(std::initializer_list<WORD> keys)
{
    for (WORD k : keys) KeyInput(k, false);
    for (auto k = std::rbegin(keys); k != std::rend(keys); ++k) KeyInput(*k, true);
}

// ---------------------------------------------------------------------------
// The program's settings as the driver mirrors them, for the expected texts

struct Mirror {
    int infoType = 0;  // DFORMShowInfoTypeFlag
    int dynasty = 0;   // DFORMShowDynastyFlag
    int chunjie = 0;   // GanZhiFromChunjieFlag
    int modern = 0;    // ModernCalculateAncientFlag
    int32_t city = 1;  // NowCityCode
    std::string myName;
    double myLongitude = 0, myLatitude = 0;
    bool operator==(const Mirror&) const = default;
};

inline Mirror mirror;
inline std::optional<Mirror> applied;
inline DateBounds bounds;

// Puts the mirrored settings into the driver's own core.
inline void ApplyMirror()
{
    if (applied == mirror) return;
    GanZhiFromChunjieFlag = mirror.chunjie;
    if (!applied || applied->modern != mirror.modern) {
        SetModernCalculateAncientFlag(mirror.modern);
        bounds = ComputeDateBounds();
    }
    MyCity.name = mirror.myName;
    MyCity.longitude = mirror.myLongitude;
    MyCity.latitude = mirror.myLatitude;
    SelectCity(mirror.city);
    applied = mirror;
}

// ---------------------------------------------------------------------------
// The day window

enum ControlId {
    GregorianYearId = 1001, GregorianMonthId, GregorianDayId, InfoLine1Id,
    LunarYearId, LunarMonthId, LunarDayId, InfoLine2Id,
    HijriYearId, HijriMonthId, HijriDayId, BackgroundId,
};
const int SelectorIds[9] = {GregorianYearId, GregorianMonthId, GregorianDayId, LunarYearId, LunarMonthId,
                            LunarDayId,      HijriYearId,      HijriMonthId,    HijriDayId};
const wchar_t* const SelectorNames[9] = {L"Gregorian year", L"Gregorian month", L"Gregorian day",
                                         L"lunar year",     L"lunar month",     L"lunar day",
                                         L"Hijri year",     L"Hijri month",     L"Hijri day"};

struct DayView {
    std::array<std::wstring, 9> selected;
    std::array<int, 9> counts{};
    std::wstring line1, line2;
    bool operator==(const DayView&) const = default;
};

inline const SelectorList& ListOf(const DayCardLists& lists, int i)
{
    const SelectorList* all[9] = {&lists.gregorianYear, &lists.gregorianMonth, &lists.gregorianDay,
                                  &lists.lunarYear,     &lists.lunarMonth,     &lists.lunarDay,
                                  &lists.hijriYear,     &lists.hijriMonth,     &lists.hijriDay};
    return *all[i];
}

inline DayCardLists ExpectedLists(const CalendarDate& d)
{
    ApplyMirror();
    return FillDayCardLists(d, bounds, mirror.dynasty);
}

inline DayView ExpectedView(const CalendarDate& d)
{
    DayCardLists lists = ExpectedLists(d);
    DayView view;
    for (int i = 0; i < 9; ++i) {
        view.selected[i] = Wide(SelectedText(ListOf(lists, i)));
        view.counts[i] = int(ListOf(lists, i).items.size());
    }
    DayInfo info = ComposeDayInfo(d, mirror.infoType);
    view.line1 = Wide(info.line1);
    view.line2 = Wide(info.line2);
    return view;
}

inline CalendarDate Today()
{
    SYSTEMTIME t;
    GetLocalTime(&t);
    return CalendarDate{t.wYear, t.wMonth, t.wDay};
}

inline std::wstring Differences(const DayView& expected, const DayView& got)
{
    std::wstring out;
    auto add = [&](const std::wstring& what, const std::wstring& e, const std::wstring& g) {
        if (e == g) return;
        if (!out.empty()) out += L"; ";
        out += what + L" expected " + Quoted(e) + L" got " + Quoted(g);
    };
    for (int i = 0; i < 9; ++i) {
        add(SelectorNames[i], expected.selected[i], got.selected[i]);
        add(std::wstring(SelectorNames[i]) + L" items", Num(expected.counts[i]), Num(got.counts[i]));
    }
    add(L"info line 1", expected.line1, got.line1);
    add(L"info line 2", expected.line2, got.line2);
    return out;
}

struct Lumora {
    PROCESS_INFORMATION pi{};
    HWND wnd = nullptr;
    std::wstring path;

    explicit Lumora(std::wstring exe) : path(std::move(exe)) {}
    ~Lumora() { Kill(); }
    Lumora(const Lumora&) = delete;
    Lumora& operator=(const Lumora&) = delete;

    // Starts the program and waits up to 20 s for its main window.
    bool Start()
    {
        Kill();
        std::wstring cmd = L"\"" + path + L"\"";
        STARTUPINFOW si{};
        si.cb = sizeof si;
        if (!CreateProcessW(path.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
            return false;
        return WaitMainWindow(nullptr, 20000);
    }

    // Waits for a visible main window (of className, or of either main
    // window's class) and takes it as the window the checks talk to.
    bool WaitMainWindow(const wchar_t* className, DWORD timeoutMs = 10000)
    {
        wnd = nullptr;
        WaitFor(
            [&] {
                for (const wchar_t* c : {L"LUMORA_DFORM", L"LUMORA_MFORM"}) {
                    if (className && std::wstring(className) != c) continue;
                    for (HWND w : TopWindowsOf(pi.dwProcessId, c))
                        if (IsWindowVisible(w)) wnd = w;
                }
                return wnd != nullptr || WaitForSingleObject(pi.hProcess, 0) == WAIT_OBJECT_0;
            },
            timeoutMs);
        return wnd != nullptr;
    }

    bool Running() const { return pi.hProcess && WaitForSingleObject(pi.hProcess, 0) == WAIT_TIMEOUT; }

    // The normal close ("退出"); true when the process ended within 10 s
    // with exit code 0.
    bool Exit()
    {
        if (!Running()) return false;
        PostMessageW(wnd, WM_COMMAND, Cmd::Exit, 0);
        DWORD code = 1;
        return WaitForSingleObject(pi.hProcess, 10000) == WAIT_OBJECT_0 && GetExitCodeProcess(pi.hProcess, &code) &&
               code == 0;
    }

    void Kill()
    {
        if (!pi.hProcess) return;
        if (Running()) {
            TerminateProcess(pi.hProcess, 99);
            WaitForSingleObject(pi.hProcess, 5000);
        }
        CloseHandle(pi.hProcess);
        CloseHandle(pi.hThread);
        pi = {};
        wnd = nullptr;
    }

    HWND Item(int id) const { return GetDlgItem(wnd, id); }

    std::optional<LRESULT> Command(int number) { return Send(wnd, WM_COMMAND, WPARAM(number), 0); }

    DayView Read() const
    {
        DayView view;
        for (int i = 0; i < 9; ++i) {
            HWND combo = Item(SelectorIds[i]);
            view.selected[i] = SelectedItem(combo);
            view.counts[i] = ComboCount(combo);
        }
        view.line1 = TextOf(Item(InfoLine1Id));
        view.line2 = TextOf(Item(InfoLine2Id));
        return view;
    }

    // Waits until the window shows the expected view, then checks it.
    bool CheckView(const std::wstring& name, const DayView& expected, DWORD timeoutMs = 3000)
    {
        DayView got;
        WaitFor([&] { return (got = Read()) == expected; }, timeoutMs);
        return Check(name, got == expected, Differences(expected, got));
    }

    bool CheckShows(const std::wstring& name, const CalendarDate& d, DWORD timeoutMs = 3000)
    {
        return CheckView(name, ExpectedView(d), timeoutMs);
    }

    // A user's choice in a selector: the new selection, then its notice.
    void Choose(int id, int index)
    {
        HWND combo = Item(id);
        Send(combo, CB_SETCURSEL, WPARAM(index), 0);
        Send(wnd, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), LPARAM(combo));
    }

    // Shows day d by choosing its year, month and day in the Gregorian row.
    bool GoTo(const CalendarDate& d)
    {
        DayCardLists lists = ExpectedLists(d);
        Choose(GregorianYearId, lists.gregorianYear.selected);
        Choose(GregorianMonthId, lists.gregorianMonth.selected);
        Choose(GregorianDayId, lists.gregorianDay.selected);
        DayView expected = ExpectedView(d);
        return WaitFor([&] { return Read() == expected; }, 3000);
    }

    void Key(int id, WPARAM vk)
    {
        UINT scan = MapVirtualKeyW(UINT(vk), 0);
        PostMessageW(Item(id), WM_KEYDOWN, vk, LPARAM(1 | (scan << 16)));
        PostMessageW(Item(id), WM_KEYUP, vk, LPARAM(1 | (scan << 16) | (3u << 30)));
    }

    std::optional<int> Alpha() const
    {
        COLORREF key;
        BYTE alpha = 0;
        DWORD flags = 0;
        if (!GetLayeredWindowAttributes(wnd, &key, &alpha, &flags) || !(flags & LWA_ALPHA)) return std::nullopt;
        return alpha;
    }
    // The alpha the user sees: 255 for a window that is not layered.
    int SeenAlpha() const
    {
        bool layered = GetWindowLongW(wnd, GWL_EXSTYLE) & WS_EX_LAYERED;
        return layered ? Alpha().value_or(255) : 255;
    }

    RECT Rect() const
    {
        RECT r{};
        GetWindowRect(wnd, &r);
        return r;
    }

    bool Topmost() const { return GetWindowLongW(wnd, GWL_EXSTYLE) & WS_EX_TOPMOST; }

    // A visible dialog of the program with this title, if one is open.
    HWND Dialog(const std::wstring& title) const
    {
        for (HWND w : TopWindowsOf(pi.dwProcessId, L"LUMORA_CFORM"))
            if (IsWindowVisible(w) && WindowTitle(w) == title) return w;
        return nullptr;
    }
    HWND WaitDialog(const std::wstring& title, DWORD timeoutMs = 5000) const
    {
        HWND found = nullptr;
        WaitFor([&] { return (found = Dialog(title)) != nullptr; }, timeoutMs);
        return found;
    }
};

inline std::wstring exePath;

// A button click as the button itself reports it: a WM_COMMAND that comes
// through the program's message queue.
inline void Click(HWND dialog, int id)
{
    // The date dialog's OK would set this machine's clock: never press it.
    if (id == IDOK && WindowTitle(dialog) == L"警告") return;
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), LPARAM(GetDlgItem(dialog, id)));
}

// Waits until the program has handled what was posted to it before: a
// selection posted to an edit field shows once its turn has come.
inline bool Barrier(HWND edit)
{
    LRESULT now = Send(edit, EM_GETSEL, 0, 0).value_or(0);
    WPARAM k = LOWORD(now) == 1 ? 2 : 1;
    PostMessageW(edit, EM_SETSEL, k, LPARAM(k));
    return WaitFor([&] { return Send(edit, EM_GETSEL, 0, 0).value_or(0) == LRESULT(MAKELONG(k, k)); }, 3000);
}

// Closes a dialog with its cancel button, or by WM_CLOSE when that fails.
inline bool CloseDialog(Lumora& app, HWND dialog)
{
    Click(dialog, IDCANCEL);
    if (WaitFor([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); }, 2000)) return true;
    PostMessageW(dialog, WM_CLOSE, 0, 0);
    if (WaitFor([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); }, 2000)) return true;
    app.Kill();  // nothing may stay open, least of all the date dialog
    return false;
}

// The program's open pop-up menu, waiting up to timeoutMs for it.
inline HWND OpenMenu(Lumora& app, DWORD timeoutMs)
{
    HWND menuWnd = nullptr;
    WaitFor(
        [&] {
            for (HWND w : TopWindowsOf(app.pi.dwProcessId, L"#32768"))
                if (IsWindowVisible(w)) menuWnd = w;
            return menuWnd != nullptr;
        },
        timeoutMs);
    return menuWnd;
}

// Escape, then cancel mode when that was not enough.
// True while the program's thread is tracking a menu.
inline bool InMenuMode(const Lumora& app)
{
    GUITHREADINFO gui{};
    gui.cbSize = sizeof gui;
    return GetGUIThreadInfo(app.pi.dwThreadId, &gui) && (gui.flags & (GUI_INMENUMODE | GUI_POPUPMENUMODE));
}

inline bool CloseMenu(Lumora& app, HWND menuWnd)
{
    PostMessageW(menuWnd, WM_KEYDOWN, VK_ESCAPE, 0);
    auto closed = [&] { return !IsWindowVisible(menuWnd) && !InMenuMode(app); };
    if (!WaitFor(closed, 1500)) {
        Send(app.wnd, WM_CANCELMODE, 0, 0);
        WaitFor(closed, 1500);
    }
    return closed();
}

inline bool StartChecked(Lumora& app, const std::wstring& scenario)
{
    return Check(scenario + L": the day window appears", app.Start(),
                 app.Running() ? L"no visible LUMORA_DFORM window within 20 s" : L"the process ended");
}

// A small 24-bit bitmap in the temporary folder, for the background picture.
inline std::wstring CardBitmap()
{
    wchar_t dir[MAX_PATH] = L"";
    GetTempPathW(MAX_PATH, dir);
    std::wstring path = std::wstring(dir) + L"lumora-ui-card.bmp";
    const int w = 4, h = 4, row = 12;
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER info{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + row * h;
    info.biSize = sizeof info;
    info.biWidth = w;
    info.biHeight = h;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biSizeImage = row * h;
    std::string pixels(size_t(row * h), '\x7f');
    HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD n = 0;
    WriteFile(f, &file, sizeof file, &n, nullptr);
    WriteFile(f, &info, sizeof info, &n, nullptr);
    WriteFile(f, pixels.data(), DWORD(pixels.size()), &n, nullptr);
    CloseHandle(f);
    return path;
}

inline bool HasBackground(Lumora& app) { return Send(app.Item(BackgroundId), STM_GETIMAGE, IMAGE_BITMAP, 0).value_or(0) != 0; }

// The program's visible open-file dialog of that title, once it shows
// (null when it has not shown within ms).
inline HWND WaitForFileChooser(Lumora& app, const std::wstring& title, DWORD ms)
{
    HWND chooser = nullptr;
    WaitFor(
        [&] {
            for (HWND w : TopWindowsOf(app.pi.dwProcessId, L"#32770"))
                if (IsWindowVisible(w) && WindowTitle(w) == title) chooser = w;
            return chooser != nullptr;
        },
        ms);
    return chooser;
}

// Chooses a bitmap through "选择位图文件(&S)..." (3100) and the file chooser.
inline void ChooseBackground(Lumora& app, const std::wstring& path)
{
    PostMessageW(app.wnd, WM_COMMAND, Cmd::ChooseBackground, 0);
    HWND chooser = WaitForFileChooser(app, L"选择位图文件", 5000);
    if (!Check(L"3100 opens the file chooser 选择位图文件", chooser != nullptr)) return;
    HWND name = GetDlgItem(chooser, 0x47C);  // the file name box of the chooser
    if (!name) name = GetDlgItem(chooser, 0x480);
    Send(name, WM_SETTEXT, 0, LPARAM(path.c_str()));
    PostMessageW(chooser, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), LPARAM(GetDlgItem(chooser, IDOK)));
    bool closed = WaitFor([&] { return !IsWindow(chooser); }, 5000);
    if (!closed) PostMessageW(chooser, WM_COMMAND, IDCANCEL, 0);
    Check(L"the chosen bitmap becomes the background", closed && WaitFor([&] { return HasBackground(app); }, 2000));
}


const CalendarDate SpringFestival2024{2024, 2, 10};

// The items of the pop-up menu and of its two submenus with check marks, in
// their order on the screen (separators left out; 0 for a submenu item).
const std::vector<int> TopMenuItems = {Cmd::DayWindow,   Cmd::MonthWindow,
                                       Cmd::Topmost,     Cmd::EmbedInDesktop,
                                       Cmd::NoMoving,    0,
                                       Cmd::Coordinates, 0,
                                       Cmd::SpeakTime,   0,
                                       Cmd::GoToToday,   Cmd::SetSystemDate,
                                       Cmd::Help,        Cmd::Exit};
const std::vector<int> TransparencyItems = {
    Cmd::Transparency0,       (Cmd::Transparency0 + 1), (Cmd::Transparency0 + 2), (Cmd::Transparency0 + 3),
    (Cmd::Transparency0 + 4), (Cmd::Transparency0 + 5), (Cmd::Transparency0 + 6), (Cmd::Transparency0 + 7),
    (Cmd::Transparency0 + 8), Cmd::Transparency90,      Cmd::TransparencyAuto};
const std::vector<int> OptionItems = {Cmd::UseRegistry,       Cmd::AutoRun,      Cmd::HourlyReport,
                                      Cmd::GanZhiFromChunjie, Cmd::NoDayAudio,   Cmd::ModernAncient,
                                      Cmd::NearMemorials,     Cmd::ShowDynasty,  Cmd::InfoFestivals,
                                      Cmd::InfoSunTimes,      Cmd::InfoTwilight, Cmd::ChooseBackground};

// A window's pixels as they are on the screen.
struct Capture {
    int width = 0, height = 0;
    std::vector<DWORD> pixels;
    DWORD At(int x, int y) const { return pixels[size_t(y) * size_t(width) + size_t(x)] & 0xFFFFFF; }
    bool operator==(const Capture&) const = default;
};

inline Capture Grab(HWND w)
{
    RECT r{};
    GetWindowRect(w, &r);
    Capture c;
    c.width = r.right - r.left;
    c.height = r.bottom - r.top;
    if (c.width <= 0 || c.height <= 0) return c;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = c.width;
    info.bmiHeader.biHeight = -c.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, c.width, c.height, screen, r.left, r.top, SRCCOPY);
    GdiFlush();
    auto* p = static_cast<const DWORD*>(bits);
    c.pixels.assign(p, p + size_t(c.width) * size_t(c.height));
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return c;
}

// The most frequent colour in a rectangle of a capture.
inline DWORD CommonColour(const Capture& c, int x0, int y0, int x1, int y1)
{
    std::map<DWORD, int> counts;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) ++counts[c.At(x, y)];
    DWORD best = 0;
    int most = -1;
    for (auto& [colour, n] : counts)
        if (n > most) best = colour, most = n;
    return best;
}

// The check marks of an open menu window, read from the screen: its items
// are the runs of rows with ink right of the check column (separators are
// thinner lines), and an item is checked when its check column holds more
// than its own background (the highlighted item has a background of its own).
inline std::optional<std::vector<bool>> MarksOnScreen(HWND menuWnd, size_t items, std::wstring& why)
{
    // What an earlier menu left on the screen may still be where this one
    // opens: have it painted now, then wait until the pixels stay as they are.
    RedrawWindow(menuWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
    Capture c = Grab(menuWnd), again;
    for (int i = 0, same = 0; i < 40 && same < 3; ++i) {
        Sleep(40);
        again = Grab(menuWnd);
        same = again == c ? same + 1 : 0;
        c = again;
    }
    if (c.width < 30 || c.height < 30) {
        why = L"the menu window is " + Num(c.width) + L"x" + Num(c.height);
        return std::nullopt;
    }
    int column = GetSystemMetrics(SM_CXMENUCHECK) + 3;  // text starts right of this
    DWORD background = CommonColour(c, 0, 0, c.width, c.height);
    std::vector<std::pair<int, int>> bands;
    int start = -1;
    for (int y = 2; y <= c.height - 2; ++y) {
        bool ink = false;
        if (y < c.height - 2)
            for (int x = column; x < c.width - 3 && !ink; ++x) ink = c.At(x, y) != background;
        if (ink && start < 0) start = y;
        if (!ink && start >= 0) {
            if (y - start > 3) bands.emplace_back(start, y);  // thinner runs are separators
            start = -1;
        }
    }
    if (bands.size() != items) {
        why = L"the menu shows " + Num(long(bands.size())) + L" items where " + Num(long(items)) + L" were expected";
        return std::nullopt;
    }
    // The check column without the frame and the highlight's edge.
    const int x0 = 4, x1 = column - 2;
    std::vector<bool> marks;
    for (auto [y0, y1] : bands) {
        DWORD own = CommonColour(c, x0, y0, x1, y1);
        int differing = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x) differing += c.At(x, y) != own;
        marks.push_back(differing >= 4);
    }
    return marks;
}

// The check marks of the pop-up menu as the right button shows it. Through
// the menu handle where the system lets another process read it, else from
// the screen (the top menu and the two submenus with marks, opened by their
// access keys). nullopt when neither works.
inline std::optional<std::map<int, bool>> ReadMenuChecks(Lumora& app, const std::vector<int>& commands, std::wstring& why,
                                                  bool& shown)
{
    shown = false;
    // The menu opens at the pointer: put it, and the submenus that open to
    // its right, clear of the card, which may be in front of them.
    RECT r = app.Rect();
    MouseTo(r.left >= 500 ? 10 : r.right + 10, 10);
    // After the card has been re-parented (embedded in the desktop, or back
    // from it) Wine ends the next menu it opens at once: one more try.
    HWND menuWnd = nullptr;
    for (int attempt = 0; attempt < 2 && !menuWnd; ++attempt) {
        PostMessageW(app.wnd, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(130, 41));
        PostMessageW(app.wnd, WM_RBUTTONUP, 0, MAKELPARAM(130, 41));
        menuWnd = OpenMenu(app, 1500);
        if (menuWnd && !WaitFor([&] { return !IsWindowVisible(menuWnd); }, 100)) break;
        menuWnd = nullptr;
    }
    if (!menuWnd) {
        why = L"no pop-up menu showed (or it closed at once)";
        return std::nullopt;
    }
    shown = true;
    std::optional<std::map<int, bool>> checks;
    auto hmenu = Send(menuWnd, MN_GETHMENU, 0, 0);
    if (hmenu && *hmenu && GetMenuState(HMENU(*hmenu), UINT(commands.front()), MF_BYCOMMAND) != UINT(-1)) {
        checks.emplace();
        for (int c : commands) (*checks)[c] = (GetMenuState(HMENU(*hmenu), UINT(c), MF_BYCOMMAND) & MF_CHECKED) != 0;
    } else {
        checks.emplace();
        auto take = [&](const std::vector<int>& order, const std::optional<std::vector<bool>>& marks) {
            if (!marks) return false;
            for (size_t i = 0; i < order.size(); ++i)
                if (order[i]) (*checks)[order[i]] = (*marks)[i];
            return true;
        };
        bool ok = take(TopMenuItems, MarksOnScreen(menuWnd, TopMenuItems.size(), why));
        auto wants = [&](int low, int high) {
            return std::any_of(commands.begin(), commands.end(), [&](int c) { return c >= low && c <= high; });
        };
        for (auto [key, order, low, high] : {std::tuple{L'p', &TransparencyItems, Cmd::Transparency0, Cmd::TransparencyAuto},
                                             std::tuple{L'o', &OptionItems, Cmd::UseRegistry, Cmd::ChooseBackground}}) {
            if (!ok || !wants(low, high)) continue;
            PostMessageW(menuWnd, WM_CHAR, key, 0);
            HWND sub = nullptr;
            WaitFor(
                [&] {
                    for (HWND w : TopWindowsOf(app.pi.dwProcessId, L"#32768"))
                        if (w != menuWnd && IsWindowVisible(w)) sub = w;
                    return sub != nullptr;
                },
                2000);
            if (!sub) {
                why = L"the submenu did not open";
                ok = false;
                break;
            }
            ok = take(*order, MarksOnScreen(sub, order->size(), why));
            PostMessageW(menuWnd, WM_KEYDOWN, VK_ESCAPE, 0);
            WaitFor([&] { return !IsWindowVisible(sub); }, 1500);
        }
        if (!ok) checks.reset();
    }
    Check(L"the pop-up menu closes again", CloseMenu(app, menuWnd));
    return checks;
}

inline bool menuReadable = true;

inline void CheckMenuMarks(Lumora& app, const std::wstring& name, const std::map<int, bool>& expected)
{
    if (!menuReadable) return;
    std::vector<int> commands;
    for (auto& [c, on] : expected) commands.push_back(c);
    std::wstring why;
    bool shown = false;
    auto checks = ReadMenuChecks(app, commands, why, shown);
    if (!checks) {
        // A menu that shows but cannot be read here will not be readable
        // later either: one failure says it.
        menuReadable = !shown;
        Check(L"menu check marks " + name, false, why);
        return;
    }
    std::wstring detail;
    for (auto& [c, on] : expected)
        if ((*checks)[c] != on) detail += Num(c) + (on ? L" not checked; " : L" checked; ");
    Check(L"menu check marks " + name, detail.empty(), detail);
}

// ---------------------------------------------------------------------------
// The tool windows

// The program's visible top-level window of a class, waiting up to timeoutMs.
inline HWND WaitWindowOf(const Lumora& app, const wchar_t* className, DWORD timeoutMs = 5000)
{
    HWND found = nullptr;
    WaitFor(
        [&] {
            for (HWND w : TopWindowsOf(app.pi.dwProcessId, className))
                if (IsWindowVisible(w)) found = w;
            return found != nullptr;
        },
        timeoutMs);
    return found;
}

// Opens a tool through its menu command and checks that it is modal to the
// day window. Null when it did not open.
inline HWND OpenTool(Lumora& app, int command, const wchar_t* className, const std::wstring& title)
{
    PostMessageW(app.wnd, WM_COMMAND, WPARAM(command), 0);
    HWND tool = WaitWindowOf(app, className);
    if (!Check(Num(command) + L" opens " + className + L" " + title, tool && WindowTitle(tool) == title,
               tool ? L"title " + Quoted(WindowTitle(tool)) : L"no window"))
        return nullptr;
    Check(title + L": the day window is disabled while the tool is open", !IsWindowEnabled(app.wnd));
    return tool;
}

// Closes a tool with 取消; true when it is gone and the day window enabled again.
inline bool CloseTool(Lumora& app, HWND tool, const std::wstring& title)
{
    Click(tool, IDCANCEL);
    bool closed = WaitFor([&] { return !IsWindow(tool) && IsWindowEnabled(app.wnd); }, 5000);
    Check(title + L": 取消 closes the tool and enables the day window", closed);
    if (!closed && IsWindow(tool)) PostMessageW(tool, WM_CLOSE, 0, 0);
    return closed;
}

inline void SetField(HWND tool, int id, const std::wstring& text) { Send(GetDlgItem(tool, id), WM_SETTEXT, 0, LPARAM(text.c_str())); }
inline std::wstring FieldOf(HWND tool, int id) { return TextOf(GetDlgItem(tool, id)); }
inline void SetCheck(HWND tool, int id, bool on) { Send(GetDlgItem(tool, id), BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0); }
inline bool IsCheckedIn(HWND tool, int id) { return Send(GetDlgItem(tool, id), BM_GETCHECK, 0, 0).value_or(0) == BST_CHECKED; }

// A key typed on a control: down and up through the program's queue.
inline void KeyOn(HWND control, WPARAM vk)
{
    UINT scan = MapVirtualKeyW(UINT(vk), 0);
    PostMessageW(control, WM_KEYDOWN, vk, LPARAM(1 | (scan << 16)));
    PostMessageW(control, WM_KEYUP, vk, LPARAM(1 | (scan << 16) | (3u << 30)));
}

// The control that has the focus in the program's thread.
inline HWND FocusOf(const Lumora& app)
{
    GUITHREADINFO gui{};
    gui.cbSize = sizeof gui;
    return GetGUIThreadInfo(app.pi.dwThreadId, &gui) ? gui.hwndFocus : nullptr;
}

// Puts text on the clipboard, which the program shares with the driver.
inline bool PutOnClipboard(const std::wstring& text)
{
    if (!OpenClipboard(nullptr)) return false;
    EmptyClipboard();
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
    if (memory) {
        memcpy(GlobalLock(memory), text.c_str(), (text.size() + 1) * sizeof(wchar_t));
        GlobalUnlock(memory);
        if (!SetClipboardData(CF_UNICODETEXT, memory)) GlobalFree(memory);
    }
    CloseClipboard();
    return memory != nullptr;
}
