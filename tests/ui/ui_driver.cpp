// Drives the real lumora.exe through Win32 messages, as a user's mouse and
// keyboard would, and checks what its windows show and what it leaves in the
// registry. It runs in the same Wine prefix (or on the same Windows desktop)
// as the program, prepares the registry itself, starts the program several
// times and prints one line per check: "PASS name" or "FAIL name: ...",
// then "N passed, M failed". Exit status 0 only when every check passed.
//
// usage: lumora-ui-driver LUMORA_EXE [SCENARIO...]
//
// The texts the day window must show are computed by the same core the
// program uses (with the driver's own copy of the program's settings), and a
// few known days are also checked against fixed texts.
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
#include "places.h"
#include "platform.h"
#include "settings.h"

namespace {

// ---------------------------------------------------------------------------
// Texts and reporting

std::wstring Wide(const std::string& gbk)
{
    if (gbk.empty()) return L"";
    int n = MultiByteToWideChar(936, 0, gbk.data(), int(gbk.size()), nullptr, 0);
    std::wstring out(size_t(n), L'\0');
    MultiByteToWideChar(936, 0, gbk.data(), int(gbk.size()), out.data(), n);
    return out;
}

std::string Gbk(const std::wstring& text)
{
    if (text.empty()) return "";
    int n = WideCharToMultiByte(936, 0, text.data(), int(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(size_t(n), '\0');
    WideCharToMultiByte(936, 0, text.data(), int(text.size()), out.data(), n, nullptr, nullptr);
    return out;
}

std::string Utf8(const std::wstring& text)
{
    if (text.empty()) return "";
    int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(size_t(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), out.data(), n, nullptr, nullptr);
    return out;
}

std::wstring Num(long long value) { return std::to_wstring(value); }

std::wstring Quoted(const std::optional<std::wstring>& text)
{
    return text ? L"\u00AB" + *text + L"\u00BB" : L"(none)";
}

int passed = 0, failed = 0;

// With LUMORA_UI_TIMES set, every line starts with the milliseconds since
// the driver started, to find the slow checks.
const bool showTimes = std::getenv("LUMORA_UI_TIMES") != nullptr;
const DWORD startTicks = GetTickCount();

void Print(const std::wstring& line)
{
    std::string bytes = (showTimes ? std::to_string(GetTickCount() - startTicks) + " " : std::string()) +
                        Utf8(line) + "\n";
    fwrite(bytes.data(), 1, bytes.size(), stdout);
    fflush(stdout);
}

bool Check(const std::wstring& name, bool ok, const std::wstring& detail = L"")
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

bool CheckText(const std::wstring& name, const std::optional<std::wstring>& expected,
               const std::optional<std::wstring>& got)
{
    return Check(name, expected == got, L"expected " + Quoted(expected) + L" got " + Quoted(got));
}

bool CheckNum(const std::wstring& name, long long expected, long long got)
{
    return Check(name, expected == got, L"expected " + Num(expected) + L" got " + Num(got));
}

// Polls cond every 20 ms until it holds or timeoutMs has passed.
bool WaitFor(const std::function<bool()>& cond, DWORD timeoutMs = 5000)
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

void SetValue(const wchar_t* name, const std::wstring& text, HKEY root = HKEY_CURRENT_USER,
              const wchar_t* key = LumoraKey)
{
    HKEY h;
    if (RegCreateKeyExW(root, key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &h, nullptr) != ERROR_SUCCESS) return;
    RegSetValueExW(h, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                   DWORD((text.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(h);
}

std::optional<std::wstring> GetValue(const wchar_t* name, HKEY root = HKEY_CURRENT_USER,
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

void DeleteValue(const wchar_t* name, HKEY root, const wchar_t* key)
{
    HKEY h;
    if (RegOpenKeyExW(root, key, 0, KEY_ALL_ACCESS, &h) != ERROR_SUCCESS) return;
    RegDeleteValueW(h, name);
    RegCloseKey(h);
}

bool KeyExists(const wchar_t* key, HKEY root = HKEY_CURRENT_USER)
{
    HKEY h;
    if (RegOpenKeyExW(root, key, 0, KEY_READ, &h) != ERROR_SUCCESS) return false;
    RegCloseKey(h);
    return true;
}

std::vector<std::wstring> ValueNames(const wchar_t* key = LumoraKey)
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
void ClearRegistry()
{
    RegDeleteTreeW(HKEY_CURRENT_USER, LumoraKey);
    RegDeleteKeyW(HKEY_CURRENT_USER, LumoraKey);
    DeleteValue(L"Lumora", HKEY_LOCAL_MACHINE, RunKey);
    DeleteValue(L"Lumora", HKEY_CURRENT_USER, RunKey);
}

// A registry holding only the given settings of the program.
void PrepareSettings(std::initializer_list<std::pair<const wchar_t*, std::wstring>> values)
{
    ClearRegistry();
    for (const auto& [name, text] : values) SetValue(name, text);
}

// ---------------------------------------------------------------------------
// Messages to another process

// SendMessage that gives up after timeoutMs instead of hanging the run;
// nullopt when it timed out or failed.
std::optional<LRESULT> Send(HWND w, UINT msg, WPARAM wp, LPARAM lp, UINT timeoutMs = 5000)
{
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(w, msg, wp, lp, SMTO_NORMAL, timeoutMs, &result)) return std::nullopt;
    return LRESULT(result);
}

std::wstring ClassOf(HWND w)
{
    wchar_t name[256] = {};
    GetClassNameW(w, name, 256);
    return name;
}

std::wstring TextOf(HWND w)
{
    auto len = Send(w, WM_GETTEXTLENGTH, 0, 0);
    if (!len || *len < 0) return L"<unreadable>";
    std::wstring text(size_t(*len) + 1, L'\0');
    auto got = Send(w, WM_GETTEXT, WPARAM(text.size()), LPARAM(text.data()));
    if (!got) return L"<unreadable>";
    text.resize(wcslen(text.c_str()));
    return text;
}

int ComboCount(HWND combo) { return int(Send(combo, CB_GETCOUNT, 0, 0).value_or(-1)); }
int ComboSelection(HWND combo) { return int(Send(combo, CB_GETCURSEL, 0, 0).value_or(-1)); }

std::wstring ComboItem(HWND combo, int index)
{
    auto len = Send(combo, CB_GETLBTEXTLEN, WPARAM(index), 0);
    if (!len || *len < 0) return L"<no item " + Num(index) + L">";
    std::wstring text(size_t(*len) + 1, L'\0');
    Send(combo, CB_GETLBTEXT, WPARAM(index), LPARAM(text.data()));
    text.resize(wcslen(text.c_str()));
    return text;
}

std::vector<std::wstring> ComboItems(HWND combo)
{
    std::vector<std::wstring> items;
    int n = ComboCount(combo);
    for (int i = 0; i < n; ++i) items.push_back(ComboItem(combo, i));
    return items;
}

std::wstring SelectedItem(HWND combo)
{
    int sel = ComboSelection(combo);
    return sel < 0 ? L"<none>" : ComboItem(combo, sel);
}

std::vector<HWND> TopWindowsOf(DWORD pid, const wchar_t* className)
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

std::wstring WindowTitle(HWND w)
{
    wchar_t title[256] = {};
    GetWindowTextW(w, title, 256);
    return title;
}

// Texts of all descendants of a window, for finding a line of a dialog.
std::vector<std::wstring> ChildTexts(HWND parent)
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

void MouseTo(int x, int y)
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

void MouseButton(bool down)
{
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
    SendInput(1, &in, sizeof in);
}

void KeyInput(WORD vk, bool up)
{
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.wScan = WORD(MapVirtualKeyW(vk, 0));
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &in, sizeof in);
}

// The keys pressed together and released in reverse order, as typed.
void TypeChord(std::initializer_list<WORD> keys)
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

Mirror mirror;
std::optional<Mirror> applied;
DateBounds bounds;

// Puts the mirrored settings into the driver's own core.
void ApplyMirror()
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

const SelectorList& ListOf(const DayCardLists& lists, int i)
{
    const SelectorList* all[9] = {&lists.gregorianYear, &lists.gregorianMonth, &lists.gregorianDay,
                                  &lists.lunarYear,     &lists.lunarMonth,     &lists.lunarDay,
                                  &lists.hijriYear,     &lists.hijriMonth,     &lists.hijriDay};
    return *all[i];
}

DayCardLists ExpectedLists(const CalendarDate& d)
{
    ApplyMirror();
    return FillDayCardLists(d, bounds, mirror.dynasty);
}

DayView ExpectedView(const CalendarDate& d)
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

CalendarDate Today()
{
    SYSTEMTIME t;
    GetLocalTime(&t);
    return CalendarDate{t.wYear, t.wMonth, t.wDay};
}

std::wstring Differences(const DayView& expected, const DayView& got)
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

    // Starts the program and waits up to 20 s for its day window.
    bool Start()
    {
        Kill();
        std::wstring cmd = L"\"" + path + L"\"";
        STARTUPINFOW si{};
        si.cb = sizeof si;
        if (!CreateProcessW(path.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
            return false;
        WaitFor(
            [&] {
                auto found = TopWindowsOf(pi.dwProcessId, L"LUMORA_DFORM");
                for (HWND w : found)
                    if (IsWindowVisible(w)) wnd = w;
                return wnd != nullptr || WaitForSingleObject(pi.hProcess, 0) == WAIT_OBJECT_0;
            },
            20000);
        return wnd != nullptr;
    }

    bool Running() const { return pi.hProcess && WaitForSingleObject(pi.hProcess, 0) == WAIT_TIMEOUT; }

    // The normal close ("退出"); true when the process ended within 10 s
    // with exit code 0.
    bool Exit()
    {
        if (!Running()) return false;
        PostMessageW(wnd, WM_COMMAND, 3111, 0);
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

std::wstring exePath;

// A button click as the button itself reports it: a WM_COMMAND that comes
// through the program's message queue.
void Click(HWND dialog, int id)
{
    // The date dialog's OK would set this machine's clock: never press it.
    if (id == IDOK && WindowTitle(dialog) == L"警告") return;
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), LPARAM(GetDlgItem(dialog, id)));
}

// Waits until the program has handled what was posted to it before: a
// selection posted to an edit field shows once its turn has come.
bool Barrier(HWND edit)
{
    LRESULT now = Send(edit, EM_GETSEL, 0, 0).value_or(0);
    WPARAM k = LOWORD(now) == 1 ? 2 : 1;
    PostMessageW(edit, EM_SETSEL, k, LPARAM(k));
    return WaitFor([&] { return Send(edit, EM_GETSEL, 0, 0).value_or(0) == LRESULT(MAKELONG(k, k)); }, 3000);
}

// Closes a dialog with its cancel button, or by WM_CLOSE when that fails.
bool CloseDialog(Lumora& app, HWND dialog)
{
    Click(dialog, IDCANCEL);
    if (WaitFor([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); }, 2000)) return true;
    PostMessageW(dialog, WM_CLOSE, 0, 0);
    if (WaitFor([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); }, 2000)) return true;
    app.Kill();  // nothing may stay open, least of all the date dialog
    return false;
}

// The program's open pop-up menu, waiting up to timeoutMs for it.
HWND OpenMenu(Lumora& app, DWORD timeoutMs)
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
bool InMenuMode(const Lumora& app)
{
    GUITHREADINFO gui{};
    gui.cbSize = sizeof gui;
    return GetGUIThreadInfo(app.pi.dwThreadId, &gui) && (gui.flags & (GUI_INMENUMODE | GUI_POPUPMENUMODE));
}

bool CloseMenu(Lumora& app, HWND menuWnd)
{
    PostMessageW(menuWnd, WM_KEYDOWN, VK_ESCAPE, 0);
    auto closed = [&] { return !IsWindowVisible(menuWnd) && !InMenuMode(app); };
    if (!WaitFor(closed, 1500)) {
        Send(app.wnd, WM_CANCELMODE, 0, 0);
        WaitFor(closed, 1500);
    }
    return closed();
}

bool StartChecked(Lumora& app, const std::wstring& scenario)
{
    return Check(scenario + L": the day window appears", app.Start(),
                 app.Running() ? L"no visible LUMORA_DFORM window within 20 s" : L"the process ended");
}

// A small 24-bit bitmap in the temporary folder, for the background picture.
std::wstring CardBitmap()
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

bool HasBackground(Lumora& app) { return Send(app.Item(BackgroundId), STM_GETIMAGE, IMAGE_BITMAP, 0).value_or(0) != 0; }

// Chooses a bitmap through "选择位图文件(&S)..." (3100) and the file chooser.
void ChooseBackground(Lumora& app, const std::wstring& path)
{
    PostMessageW(app.wnd, WM_COMMAND, 3100, 0);
    HWND chooser = nullptr;
    WaitFor(
        [&] {
            for (HWND w : TopWindowsOf(app.pi.dwProcessId, L"#32770"))
                if (IsWindowVisible(w) && WindowTitle(w) == L"选择位图文件") chooser = w;
            return chooser != nullptr;
        },
        5000);
    if (!Check(L"3100 opens the file chooser 选择位图文件", chooser != nullptr)) return;
    HWND name = GetDlgItem(chooser, 0x47C);  // the file name box of the chooser
    if (!name) name = GetDlgItem(chooser, 0x480);
    Send(name, WM_SETTEXT, 0, LPARAM(path.c_str()));
    PostMessageW(chooser, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), LPARAM(GetDlgItem(chooser, IDOK)));
    bool closed = WaitFor([&] { return !IsWindow(chooser); }, 5000);
    if (!closed) PostMessageW(chooser, WM_COMMAND, IDCANCEL, 0);
    Check(L"the chosen bitmap becomes the background", closed && WaitFor([&] { return HasBackground(app); }, 2000));
}

// ---------------------------------------------------------------------------
// Scenarios

const CalendarDate SpringFestival2024{2024, 2, 10};

// The window itself: class, title, size, styles, shape and first placement.
void CheckWindowFrame(Lumora& app, const std::wstring& s, POINT expectedPos)
{
    CheckText(s + L": window title", L"岚舟日历", WindowTitle(app.wnd));
    RECT r = app.Rect();
    Check(s + L": window placed and sized", r.left == expectedPos.x && r.top == expectedPos.y &&
                                                r.right - r.left == 260 && r.bottom - r.top == 150,
          L"expected (" + Num(expectedPos.x) + L"," + Num(expectedPos.y) + L") 260x150 got (" + Num(r.left) +
              L"," + Num(r.top) + L") " + Num(r.right - r.left) + L"x" + Num(r.bottom - r.top));
    LONG style = GetWindowLongW(app.wnd, GWL_STYLE), ex = GetWindowLongW(app.wnd, GWL_EXSTYLE);
    Check(s + L": pop-up without caption or border, tool window, control parent, topmost",
          (style & WS_POPUP) && !(style & (WS_CAPTION | WS_THICKFRAME)) && (ex & WS_EX_TOOLWINDOW) &&
              (ex & WS_EX_CONTROLPARENT) && (ex & WS_EX_TOPMOST),
          L"style " + Num(style) + L" exstyle " + Num(ex));
    Check(s + L": opaque at start", app.SeenAlpha() == 255, L"alpha " + Num(app.SeenAlpha()));
    DWORD classStyle = GetClassLongW(app.wnd, GCL_STYLE);
    Check(s + L": class redraws on resizing and takes double clicks",
          (classStyle & (CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS)) == (CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS),
          L"class style " + Num(classStyle));
    GUITHREADINFO gui{};
    gui.cbSize = sizeof gui;
    GetGUIThreadInfo(app.pi.dwThreadId, &gui);
    CheckNum(s + L": the focus is on the Gregorian year selector", GregorianYearId,
             gui.hwndFocus ? GetDlgCtrlID(gui.hwndFocus) : 0);
}

// Every control where the card's layout puts it (client pixels at 96 DPI).
void CheckLayout(Lumora& app)
{
    struct Place {
        int id, x, y, width, height;  // height 0: the selector's own closed height
    };
    const Place places[] = {
        {GregorianYearId, 9, 16, 109, 0}, {GregorianMonthId, 118, 16, 81, 0}, {GregorianDayId, 199, 16, 52, 0},
        {InfoLine1Id, 9, 45, 242, 13},    {LunarYearId, 9, 64, 109, 0},       {LunarMonthId, 118, 64, 81, 0},
        {LunarDayId, 199, 64, 52, 0},     {InfoLine2Id, 9, 92, 242, 14},      {HijriYearId, 9, 112, 109, 0},
        {HijriMonthId, 118, 112, 81, 0},  {HijriDayId, 199, 112, 52, 0},      {BackgroundId, 0, 0, 260, 150},
    };
    std::wstring detail;
    for (const Place& p : places) {
        HWND control = app.Item(p.id);
        RECT r{};
        GetWindowRect(control, &r);
        MapWindowPoints(nullptr, app.wnd, reinterpret_cast<POINT*>(&r), 2);
        bool ok = control && r.left == p.x && r.top == p.y && r.right - r.left == p.width &&
                  (p.height == 0 || r.bottom - r.top == p.height);
        if (!ok)
            detail += Num(p.id) + L" at " + Num(r.left) + L"," + Num(r.top) + L" size " + Num(r.right - r.left) +
                      L"x" + Num(r.bottom - r.top) + L"; ";
    }
    Check(L"the controls lie where the card's layout puts them", detail.empty(), detail);
    std::wstring kinds;
    for (int id : SelectorIds) {
        HWND c = app.Item(id);
        if (ClassOf(c) != L"ComboBox" || (GetWindowLongW(c, GWL_STYLE) & 3) != CBS_DROPDOWNLIST) kinds += Num(id) + L" ";
    }
    for (int id : {InfoLine1Id, InfoLine2Id})
        if (ClassOf(app.Item(id)) != L"Edit" || !(GetWindowLongW(app.Item(id), GWL_STYLE) & ES_READONLY))
            kinds += Num(id) + L" ";
    Check(L"drop-down lists and read-only information lines", kinds.empty(), kinds);
}

void CheckShape(Lumora& app, const std::wstring& s)
{
    HRGN rgn = CreateRectRgn(0, 0, 0, 0);
    int kind = GetWindowRgn(app.wnd, rgn);
    RECT box{};
    GetRgnBox(rgn, &box);
    // The corners are cut away by the scallops, the middle and the edge
    // circles' centres are in. How the system rasterises the circles' last
    // pixel column and row is its own affair.
    bool ok = kind == COMPLEXREGION && box.left == 0 && box.top == 0 && box.right >= 259 && box.right <= 260 &&
              box.bottom >= 149 && box.bottom <= 150 &&
              !PtInRegion(rgn, 0, 0) && !PtInRegion(rgn, 259, 149) && !PtInRegion(rgn, 0, 75) &&
              PtInRegion(rgn, 130, 75) && PtInRegion(rgn, 10, 2) && PtInRegion(rgn, 2, 10) &&
              PtInRegion(rgn, 250, 147);
    Check(s + L": scalloped card shape", ok,
          L"region kind " + Num(kind) + L" box " + Num(box.left) + L"," + Num(box.top) + L"," + Num(box.right) +
              L"," + Num(box.bottom));
    DeleteObject(rgn);
}

// Every list of 2024-02-10 against fixed texts, then against the core.
void CheckKnownDay(Lumora& app)
{
    const std::wstring s = L"day 2024-02-10";
    app.GoTo(SpringFestival2024);
    DayView fixed;
    fixed.selected = {L"    2024年", L"   2月", L"10日", L"  二○二四年", L"正月小", L"初一",
                      L"  回历1445年", L"   7月", L"30日"};
    fixed.line1 = L"星期六 水瓶座  甲辰(龙)年丙寅月甲辰日";
    fixed.line2 = L"春节 国际气象节 2月19日雨水 六九第6天";
    DayView got = app.Read();
    fixed.counts = got.counts;
    Check(s + L": known texts in all rows and both lines", got == fixed, Differences(fixed, got));
    app.CheckShows(s + L": as the core computes it", SpringFestival2024);

    // The short lists in full; the long year lists by their ends.
    DayCardLists lists = ExpectedLists(SpringFestival2024);
    for (int i = 0; i < 9; ++i) {
        const SelectorList& list = ListOf(lists, i);
        HWND combo = app.Item(SelectorIds[i]);
        std::wstring name = s + L": " + SelectorNames[i] + L" list";
        if (list.items.size() <= 40) {
            std::vector<std::wstring> expected;
            for (const auto& item : list.items) expected.push_back(Wide(item));
            std::vector<std::wstring> items = ComboItems(combo);
            std::wstring detail;
            for (size_t k = 0; k < std::max(expected.size(), items.size()); ++k) {
                std::wstring e = k < expected.size() ? expected[k] : L"(none)";
                std::wstring g = k < items.size() ? items[k] : L"(none)";
                if (e != g && detail.size() < 400)
                    detail += L"item " + Num(long(k)) + L" expected " + Quoted(e) + L" got " + Quoted(g) + L"; ";
            }
            Check(name, expected == items, detail);
        } else {
            int n = ComboCount(combo);
            std::wstring first = ComboItem(combo, 0), last = ComboItem(combo, n - 1);
            std::wstring ef = Wide(list.items.front()), el = Wide(list.items.back());
            Check(name + L" ends", n == int(list.items.size()) && first == ef && last == el,
                  L"expected " + Num(long(list.items.size())) + L" items " + Quoted(ef) + L".." + Quoted(el) +
                      L" got " + Num(n) + L" items " + Quoted(first) + L".." + Quoted(last));
        }
    }
}

// Choices that must adjust the day, and the carry-over at the list ends.
void CheckNavigation(Lumora& app)
{
    // October 1582 lacks the 5th to the 14th: the 10th becomes the 4th.
    app.GoTo({1582, 9, 10});
    app.Choose(GregorianMonthId, 9);
    app.CheckShows(L"choosing October 1582 with the 10th shown moves to the 4th", {1582, 10, 4});
    CheckText(L"October 1582 day list skips from the 4th to the 15th", L" 4日15日",
              ComboItem(app.Item(GregorianDayId), 3) + ComboItem(app.Item(GregorianDayId), 4));

    // A day beyond the new month's end becomes its last day.
    app.GoTo({2023, 3, 31});
    app.Choose(GregorianMonthId, 1);
    app.CheckShows(L"choosing February with the 31st shown gives the 28th", {2023, 2, 28});

    // Lunar row: Down on 腊月 goes to 正月 of the next lunar year.
    CalendarDate lastMonthDay{2024, 1, 20};  // 2023 腊月初十
    app.GoTo(lastMonthDay);
    ApplyMirror();
    LunarDate lunar = *LunarDateOf(lastMonthDay);
    Check(L"2024-01-20 lies in 腊月 of the last listed month",
          lunar.month == 12 && ComboSelection(app.Item(LunarMonthId)) == ComboCount(app.Item(LunarMonthId)) - 1,
          L"lunar month " + Num(lunar.month) + L" selection " + Num(ComboSelection(app.Item(LunarMonthId))));
    app.Key(LunarMonthId, VK_DOWN);
    auto next = StepMonth(lastMonthDay, DayRow::Lunar, +1, bounds);
    if (Check(L"core steps 腊月 into the next lunar year", next.has_value() && next->year == 2024 &&
                  next->month == 2 && next->day == 19))
        app.CheckShows(L"Down on 腊月 shows 正月 of the next lunar year", *next);
    CheckText(L"after Down on 腊月 the lunar month is 正月", L"正月",
              SelectedItem(app.Item(LunarMonthId)).substr(0, 2));

    // Up on the first lunar month goes back to the last month of the year before.
    app.Key(LunarMonthId, VK_UP);
    app.CheckShows(L"Up on 正月 returns to 腊月 of the year before", lastMonthDay);

    // Gregorian row: Up on January, Down on December, Down on the last day.
    app.GoTo({2024, 1, 15});
    app.Key(GregorianMonthId, VK_UP);
    app.CheckShows(L"Up on January shows December of the year before", {2023, 12, 15});
    app.Key(GregorianMonthId, VK_RIGHT);
    app.CheckShows(L"Right on December shows January of the next year", {2024, 1, 15});
    app.Key(GregorianMonthId, VK_DOWN);
    app.CheckShows(L"Down inside the month list moves one month", {2024, 2, 15});
    app.GoTo({2024, 2, 29});
    app.Key(GregorianDayId, VK_DOWN);
    app.CheckShows(L"Down on the last day of February 2024 shows 1 March", {2024, 3, 1});
    app.Key(GregorianDayId, VK_LEFT);
    app.CheckShows(L"Left on the 1st shows the day before", {2024, 2, 29});

    // Hijri row: Down on month 12 goes into the next Hijri year.
    CalendarDate hijriEnd{2024, 7, 1};
    app.GoTo(hijriEnd);
    HijriDate h = *HijriDateOf(hijriEnd);
    auto hnext = StepMonth(hijriEnd, DayRow::Hijri, +1, bounds);
    if (Check(L"2024-07-01 lies in Hijri month 12", h.month == 12 && hnext.has_value(),
              L"Hijri month " + Num(h.month))) {
        app.Key(HijriMonthId, VK_DOWN);
        app.CheckShows(L"Down on Hijri month 12 shows month 1 of the next year", *hnext);
    }
    // Lunar day: Down on the last day of a lunar month.
    app.GoTo({2024, 2, 9});  // 2023 腊月廿九, the last day of a short month
    app.Key(LunarDayId, VK_DOWN);
    app.CheckShows(L"Down on the last lunar day shows the next day", SpringFestival2024);

    // A choice in the lunar and the Hijri row moves the Gregorian one.
    app.Choose(LunarDayId, 14);
    app.CheckShows(L"choosing 十五 in the lunar day list shows 2024-02-24", {2024, 2, 24});
    HijriDate shownHijri = *HijriDateOf({2024, 2, 24});
    CalendarDate hijriFirst = *DayNumberToDate(DateToDayNumber(2024, 2, 24) - (shownHijri.day - 1));
    app.Choose(HijriDayId, 0);
    app.CheckShows(L"choosing day 1 in the Hijri day list shows the month's first day", hijriFirst);

    // The carry-over stops at the first day of the span.
    app.GoTo({MinShownYear, 1, 1});
    DayView before = app.Read();
    app.Key(GregorianMonthId, VK_UP);
    app.Key(GregorianDayId, VK_UP);
    app.Key(LunarDayId, VK_UP);
    app.Key(HijriMonthId, VK_UP);
    Barrier(app.Item(InfoLine1Id));
    DayView after = app.Read();
    Check(L"Up on the first month and day of every row on the first shown day changes nothing", before == after,
          Differences(before, after));
    app.CheckShows(L"the first shown day", {MinShownYear, 1, 1});
    // And at the last day of the span.
    app.GoTo({MaxShownYear, 12, 31});
    before = app.Read();
    app.Key(GregorianMonthId, VK_DOWN);
    app.Key(GregorianDayId, VK_DOWN);
    app.Key(LunarDayId, VK_DOWN);
    app.Key(HijriDayId, VK_DOWN);
    Barrier(app.Item(InfoLine1Id));
    after = app.Read();
    Check(L"Down on the last items of every row on the last shown day changes nothing", before == after,
          Differences(before, after));
    app.CheckShows(L"the last shown day", {MaxShownYear, 12, 31});

    // A new lunar year keeps the month: a leap month it lacks becomes the
    // ordinary month of that name. 2023-03-22 is 闰二月初一.
    CalendarDate leap{2023, 3, 22};
    app.GoTo(leap);
    CheckText(L"2023-03-22 shows 闰二月", L"闰二月小", SelectedItem(app.Item(LunarMonthId)));
    const SelectorList years = ExpectedLists(leap).lunarYear;
    auto year2024 = std::find(years.values.begin(), years.values.end(), 2024);
    app.Choose(LunarYearId, int(year2024 - years.values.begin()));
    app.CheckShows(L"choosing lunar year 2024 on 闰二月初一 shows 二月初一 of 2024", {2024, 3, 10});

    // The wheel carries over like the arrow keys.
    app.GoTo({2024, 1, 15});
    PostMessageW(app.Item(GregorianMonthId), WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
    app.CheckShows(L"the wheel turned forward on January shows December of the year before", {2023, 12, 15});
    PostMessageW(app.Item(GregorianMonthId), WM_MOUSEWHEEL, MAKEWPARAM(0, WORD(-WHEEL_DELTA)), 0);
    app.CheckShows(L"the wheel turned backward on December shows January of the next year", {2024, 1, 15});
    PostMessageW(app.Item(LunarDayId), WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
    app.CheckShows(L"the wheel turned forward on the lunar day list moves by itself", {2024, 1, 14});

    // A list closed without a choice shows the shown day again.
    app.GoTo(SpringFestival2024);
    HWND month = app.Item(GregorianMonthId);
    Send(month, CB_SHOWDROPDOWN, TRUE, 0);
    WaitFor([&] { return Send(month, CB_GETDROPPEDSTATE, 0, 0).value_or(0) != 0; }, 2000);
    Send(month, CB_SETCURSEL, 5, 0);
    Send(month, CB_SHOWDROPDOWN, FALSE, 0);
    app.CheckShows(L"a list closed without a choice shows the shown day again", SpringFestival2024);
}

void CheckInfoKinds(Lumora& app)
{
    app.GoTo(SpringFestival2024);
    app.Command(3097);
    mirror.infoType = 1;
    app.CheckShows(L"日出日落 on line 2 (3097)", SpringFestival2024);
    std::wstring line2 = app.Read().line2;
    Check(L"line 2 reads 日出时刻..  日落时刻..",
          line2.rfind(L"日出时刻", 0) == 0 && line2.find(L"  日落时刻") != std::wstring::npos, Quoted(line2));
    app.Command(3098);
    mirror.infoType = 2;
    app.CheckShows(L"天亮天黑 on line 2 (3098)", SpringFestival2024);
    line2 = app.Read().line2;
    Check(L"line 2 reads 天亮时刻..  天黑时刻..",
          line2.rfind(L"天亮时刻", 0) == 0 && line2.find(L"  天黑时刻") != std::wstring::npos, Quoted(line2));
    app.Command(3096);
    mirror.infoType = 0;
    app.CheckShows(L"festivals on line 2 again (3096)", SpringFestival2024);
}

// The options that change what the rows show.
void CheckDisplayOptions(Lumora& app)
{
    // Era-name years in the lunar year list.
    CalendarDate han{-100, 6, 1};
    app.GoTo(han);
    app.Command(3095);
    mirror.dynasty = 1;
    app.CheckShows(L"era-name lunar years (3095)", han);
    LunarDate lunar = *LunarDateOf(han);
    CheckText(L"the lunar year item is the era-name year", Wide(EraYearText(lunar.year) + "年"),
              SelectedItem(app.Item(LunarYearId)));
    app.Command(3095);
    mirror.dynasty = 0;
    app.CheckShows(L"Chinese-digit lunar years again (3095)", han);

    // The stem-branch year from the Spring Festival: 2024-02-05 is after 立春
    // and before 春节.
    CalendarDate between{2024, 2, 5};
    app.GoTo(between);
    std::wstring fromTerm = app.Read().line1;
    app.Command(3090);
    mirror.chunjie = 1;
    app.CheckShows(L"stem-branch years from the Spring Festival (3090)", between);
    Check(L"3090 changes the stem-branch year of 2024-02-05", app.Read().line1 != fromTerm, Quoted(fromTerm));
    app.Command(3090);
    mirror.chunjie = 0;
    app.CheckShows(L"stem-branch years from 立春 again (3090)", between);

    // Modern astronomy for ancient dates moves the lunar months of 1000.
    CalendarDate ancient{1000, 1, 20};
    app.GoTo(ancient);
    DayView historical = app.Read();
    app.Command(3092);
    mirror.modern = 1;
    app.CheckShows(L"modern astronomy for ancient dates (3092)", ancient, 8000);
    Check(L"3092 changes the lunar row of 1000-01-20", app.Read().selected != historical.selected,
          Quoted(historical.selected[5]));
    app.Command(3092);
    mirror.modern = 0;
    app.CheckShows(L"the historical calendar again (3092)", ancient, 8000);

    // Go to the system date.
    app.Command(3105);
    app.CheckShows(L"go to the system date (3105)", Today());
}

void CheckHideAndShow(Lumora& app)
{
    PostMessageW(app.Item(GregorianDayId), WM_KEYDOWN, VK_ESCAPE, LPARAM(1 | (1u << 16)));
    PostMessageW(app.Item(GregorianDayId), WM_KEYUP, VK_ESCAPE, LPARAM(1 | (1u << 16) | (3u << 30)));
    Check(L"Escape in a selector hides the window", WaitFor([&] { return !IsWindowVisible(app.wnd); }, 3000));
    Send(app.wnd, WM_HOTKEY, 0xB001, MAKELPARAM(MOD_CONTROL | MOD_ALT, 'R'));
    Check(L"Ctrl+Alt+R shows it again", WaitFor([&] { return IsWindowVisible(app.wnd) != FALSE; }, 3000));
    PostMessageW(app.wnd, WM_KEYDOWN, VK_ESCAPE, LPARAM(1 | (1u << 16)));
    PostMessageW(app.wnd, WM_KEYUP, VK_ESCAPE, LPARAM(1 | (1u << 16) | (3u << 30)));
    Check(L"Escape on the window hides it", WaitFor([&] { return !IsWindowVisible(app.wnd); }, 3000));
    TypeChord({VK_CONTROL, VK_MENU, 'R'});
    Check(L"Ctrl+Alt+R typed on the keyboard shows it (the hot key is registered)",
          WaitFor([&] { return IsWindowVisible(app.wnd) != FALSE; }, 3000));

    // Escape that closes a dropped list only closes the list.
    HWND month = app.Item(GregorianMonthId);
    Send(month, CB_SHOWDROPDOWN, TRUE, 0);
    WaitFor([&] { return Send(month, CB_GETDROPPEDSTATE, 0, 0).value_or(0) != 0; }, 2000);
    app.Key(GregorianMonthId, VK_ESCAPE);
    Barrier(app.Item(InfoLine1Id));
    Check(L"Escape on a dropped list closes the list and leaves the window shown",
          Send(month, CB_GETDROPPEDSTATE, 0, 0).value_or(1) == 0 && IsWindowVisible(app.wnd));
    if (!IsWindowVisible(app.wnd)) Send(app.wnd, WM_HOTKEY, 0xB001, MAKELPARAM(MOD_CONTROL | MOD_ALT, 'R'));

    // Escape that closed the menu: its release reaches a selector, which
    // must not hide the card.
    PostMessageW(app.wnd, 1124, 0, WM_RBUTTONDOWN);
    PostMessageW(app.wnd, 1124, 0, WM_RBUTTONUP);
    if (HWND menuWnd = OpenMenu(app, 3000); Check(L"the menu opens before Escape closes it", menuWnd != nullptr)) {
        CloseMenu(app, menuWnd);
        PostMessageW(app.Item(GregorianYearId), WM_KEYUP, VK_ESCAPE, LPARAM(1 | (1u << 16) | (3u << 30)));
        Barrier(app.Item(InfoLine1Id));
        Check(L"Escape that closed the menu leaves the window shown", IsWindowVisible(app.wnd) != FALSE);
    }
}

// The items of the pop-up menu and of its two submenus with check marks, in
// their order on the screen (separators left out; 0 for a submenu item).
const std::vector<int> TopMenuItems = {3025, 3026, 3035, 3036, 3037, 0, 3055, 0, 3080, 0, 3105, 3106, 3110, 3111};
const std::vector<int> TransparencyItems = {3040, 3041, 3042, 3043, 3044, 3045, 3046, 3047, 3048, 3049, 3050};
const std::vector<int> OptionItems = {3085, 3086, 3087, 3090, 3091, 3092, 3093, 3095, 3096, 3097, 3098, 3100};

// A window's pixels as they are on the screen.
struct Capture {
    int width = 0, height = 0;
    std::vector<DWORD> pixels;
    DWORD At(int x, int y) const { return pixels[size_t(y) * size_t(width) + size_t(x)] & 0xFFFFFF; }
    bool operator==(const Capture&) const = default;
};

Capture Grab(HWND w)
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
DWORD CommonColour(const Capture& c, int x0, int y0, int x1, int y1)
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
std::optional<std::vector<bool>> MarksOnScreen(HWND menuWnd, size_t items, std::wstring& why)
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
std::optional<std::map<int, bool>> ReadMenuChecks(Lumora& app, const std::vector<int>& commands, std::wstring& why,
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
        for (auto [key, order, low, high] : {std::tuple{L'p', &TransparencyItems, 3040, 3050},
                                             std::tuple{L'o', &OptionItems, 3085, 3100}}) {
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

bool menuReadable = true;

void CheckMenuMarks(Lumora& app, const std::wstring& name, const std::map<int, bool>& expected)
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

void CheckTransparency(Lumora& app)
{
    std::wstring got;
    bool ok = true;
    for (int level = 9; level >= 0; --level) {
        app.Command(3040 + level);
        int alpha = app.Alpha().value_or(-1);
        got += Num(alpha) + L" ";
        if (alpha != 255 - 25 * level) ok = false;
    }
    Check(L"transparency levels 90%..0% give alpha 30..255 (3049..3040)", ok, L"got " + got);
    Check(L"level 0 keeps the layered style", (GetWindowLongW(app.wnd, GWL_EXSTYLE) & WS_EX_LAYERED) != 0);

    // Automatic fading while the pointer is away.
    RECT r = app.Rect();
    POINT away{r.left > 300 ? 40 : 1200, r.top > 300 ? 40 : 760};
    MouseTo(away.x, away.y);
    app.Command(3050);
    std::vector<int> seen;
    DWORD start = GetTickCount();
    WaitFor(
        [&] {
            int a = app.SeenAlpha();
            if (seen.empty() || seen.back() != a) seen.push_back(a);
            return a == 30;
        },
        8000);
    DWORD took = GetTickCount() - start;
    Sleep(500);
    int settled = app.SeenAlpha();
    std::wstring trace;
    bool steps = true;
    for (size_t i = 0; i < seen.size(); ++i) {
        trace += Num(seen[i]) + L" ";
        if ((255 - seen[i]) % 15 != 0 || (i > 0 && seen[i] >= seen[i - 1])) steps = false;
    }
    Check(L"automatic fading falls by steps of 15 to alpha 30 and stays (3050)",
          steps && !seen.empty() && seen.back() == 30 && settled == 30 && took >= 2000,
          L"alpha seen " + trace + L"in " + Num(took) + L" ms, then " + Num(settled));

    // The pointer over the window makes it opaque at once.
    MouseTo((r.left + r.right) / 2, r.top + 41);
    MouseTo((r.left + r.right) / 2 + 3, r.top + 42);
    Check(L"the pointer over the fading window makes it opaque",
          WaitFor([&] { return app.SeenAlpha() == 255; }, 2000), L"alpha " + Num(app.SeenAlpha()));
    MouseTo(away.x, away.y);
    Check(L"fading starts again when the pointer leaves", WaitFor([&] { return app.SeenAlpha() < 255; }, 3000),
          L"alpha " + Num(app.SeenAlpha()));

    // The fading pauses while the pop-up menu or a dropped list is open, and
    // goes on once it has closed, with or without a choice.
    PostMessageW(app.wnd, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(130, 41));
    PostMessageW(app.wnd, WM_RBUTTONUP, 0, MAKELPARAM(130, 41));
    HWND menuWnd = OpenMenu(app, 3000);
    int paused = app.SeenAlpha();
    Sleep(700);
    Check(L"the fading pauses while the pop-up menu is open", menuWnd && app.SeenAlpha() == paused,
          L"alpha " + Num(paused) + L" then " + Num(app.SeenAlpha()));
    if (menuWnd) CloseMenu(app, menuWnd);
    Check(L"the fading goes on after the menu closed without a choice",
          WaitFor([&] { return app.SeenAlpha() < paused; }, 2000), L"alpha stays " + Num(app.SeenAlpha()));
    HWND month = app.Item(GregorianMonthId);
    Send(month, CB_SHOWDROPDOWN, TRUE, 0);
    paused = app.SeenAlpha();
    Sleep(700);
    Check(L"the fading pauses while a list is dropped", app.SeenAlpha() == paused,
          L"alpha " + Num(paused) + L" then " + Num(app.SeenAlpha()));
    Send(month, CB_SHOWDROPDOWN, FALSE, 0);
    MouseTo(away.x, away.y);
    Check(L"the fading goes on after the list closed", WaitFor([&] { return app.SeenAlpha() < paused; }, 2000),
          L"alpha stays " + Num(app.SeenAlpha()));

    std::map<int, bool> automatic;
    for (int c = 3040; c <= 3050; ++c) automatic[c] = c == 3050;
    CheckMenuMarks(app, L"after 自动 (3050): 自动 alone", automatic);

    app.Command(3040);
    Sleep(600);
    Check(L"a fixed level stops the fading (3040)", app.SeenAlpha() == 255, L"alpha " + Num(app.SeenAlpha()));
}

bool IsTopLevel(HWND w) { return GetAncestor(w, GA_PARENT) == GetDesktopWindow(); }

void CheckPlacement(Lumora& app)
{
    Check(L"topmost at start", app.Topmost());
    app.Command(3035);
    Check(L"3035 from topmost gives a normal window", !app.Topmost() && IsTopLevel(app.wnd));
    app.Command(3035);
    Check(L"3035 from normal makes it topmost again", app.Topmost());
    app.Command(3036);
    HWND parent = GetAncestor(app.wnd, GA_PARENT);
    std::wstring parentClass = parent == GetDesktopWindow() ? L"(desktop)" : ClassOf(parent);
    Check(L"3036 from topmost embeds in the desktop (or stays top-level without one), not topmost",
          !app.Topmost() && (parentClass == L"SysListView32" || parentClass == L"(desktop)"),
          L"parent " + parentClass + (app.Topmost() ? L", topmost" : L""));
    Print(L"NOTE embedding parent under this desktop: " + parentClass);
    CheckMenuMarks(app, L"when embedded: 嵌入桌面 alone", {{3035, false}, {3036, true}});
    app.Command(3036);
    Check(L"3036 twice returns to normal placement, not topmost", !app.Topmost() && IsTopLevel(app.wnd),
          app.Topmost() ? L"topmost" : L"parent " + ClassOf(GetAncestor(app.wnd, GA_PARENT)));
    CheckMenuMarks(app, L"in normal placement: neither 最前显示 nor 嵌入桌面", {{3035, false}, {3036, false}});
    app.Command(3036);
    app.Command(3035);
    Check(L"3035 while embedded leaves the desktop and makes it topmost", app.Topmost() && IsTopLevel(app.wnd));

    // The window stays wholly on the screen when moved past an edge.
    int cx = GetSystemMetrics(SM_CXSCREEN), cy = GetSystemMetrics(SM_CYSCREEN);
    SetWindowPos(app.wnd, nullptr, cx - 100, cy - 50, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    RECT r;
    WaitFor([&] { r = app.Rect(); return r.left == cx - 260; }, 2000);
    Check(L"moved past the bottom-right corner it stops flush with the edges",
          r.left == cx - 260 && r.top == cy - 150, L"at " + Num(r.left) + L"," + Num(r.top));
    SetWindowPos(app.wnd, nullptr, -40, -30, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    WaitFor([&] { r = app.Rect(); return r.left == 0; }, 2000);
    Check(L"moved past the top-left corner it stops at 0,0", r.left == 0 && r.top == 0,
          L"at " + Num(r.left) + L"," + Num(r.top));
}

// Presses the left button on the card's margin and drags it by (dx, dy),
// pausing pace milliseconds between the steps.
RECT Drag(Lumora& app, int dx, int dy, DWORD pace = 60)
{
    RECT r = app.Rect();
    POINT p{r.left + 7, r.top + 75};
    MouseTo(p.x, p.y);
    Sleep(pace + 40);
    MouseButton(true);
    Sleep(pace * 5 / 2);
    for (int i = 1; i <= 4; ++i) {
        MouseTo(p.x + dx * i / 4, p.y + dy * i / 4);
        Sleep(pace);
    }
    MouseButton(false);
    RECT now = r;
    WaitFor([&] { now = app.Rect(); return now.left != r.left || now.top != r.top; }, 1000);
    Sleep(100);
    return app.Rect();
}

// A drag that should move the card: a busy machine may let the pointer run
// ahead of the move loop, so a drag that did not arrive is tried again more
// slowly from the same place.
RECT DragExpectingMove(Lumora& app, int dx, int dy)
{
    RECT start = app.Rect(), moved = start;
    for (DWORD pace : {60, 200, 500}) {
        moved = Drag(app, dx, dy, pace);
        if (moved.left == start.left + dx && moved.top == start.top + dy) break;
        SetWindowPos(app.wnd, nullptr, start.left, start.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        WaitFor([&] { return app.Rect().left == start.left && app.Rect().top == start.top; }, 2000);
    }
    return moved;
}

void CheckMoveLock(Lumora& app)
{
    SetWindowPos(app.wnd, nullptr, 400, 300, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    WaitFor([&] { return app.Rect().left == 400; }, 2000);
    RECT moved = DragExpectingMove(app, 60, 40);
    bool dragWorks = moved.left == 460 && moved.top == 340;
    Check(L"dragging the card moves it", dragWorks,
          L"from 400,300 by 60,40 it is at " + Num(moved.left) + L"," + Num(moved.top));
    app.Command(3037);
    RECT before = app.Rect();
    RECT after = Drag(app, 60, 40, 200);
    Check(L"with 禁止移动 (3037) dragging leaves it in place", after.left == before.left && after.top == before.top,
          L"moved from " + Num(before.left) + L"," + Num(before.top) + L" to " + Num(after.left) + L"," +
              Num(after.top));
    app.Command(3037);
    if (dragWorks) {
        RECT again = DragExpectingMove(app, -60, -40);
        Check(L"3037 again allows moving", again.left == before.left - 60 && again.top == before.top - 40,
              L"at " + Num(again.left) + L"," + Num(again.top));
    }
}

// Opens the pop-up menu as the right button does and reads its check marks
// through MN_GETHMENU. nullopt when the menu cannot be read from here.
// The notification icon's messages, a double click on an information line,
// and the day window's own entry of the menu.
void CheckSmallInputs(Lumora& app)
{
    PostMessageW(app.wnd, 1124, 0, WM_RBUTTONDOWN);
    PostMessageW(app.wnd, 1124, 0, WM_RBUTTONUP);
    HWND menuWnd = OpenMenu(app, 3000);
    if (Check(L"the notification icon's right button shows the pop-up menu", menuWnd != nullptr))
        Check(L"the notification icon's menu closes again", CloseMenu(app, menuWnd));

    HWND line = app.Item(InfoLine1Id);
    Send(line, EM_SETSEL, 2, 2);
    PostMessageW(line, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(4, 4));
    LRESULT length = Send(line, WM_GETTEXTLENGTH, 0, 0).value_or(-1);
    Check(L"a double click on information line 1 selects its whole text",
          WaitFor([&] { return Send(line, EM_GETSEL, 0, 0).value_or(0) == LRESULT(MAKELONG(0, length)); }, 2000),
          L"selection " + Num(long(Send(line, EM_GETSEL, 0, 0).value_or(0))) + L" of " + Num(long(length)));

    DayView before = app.Read();
    app.Command(3025);
    Barrier(app.Item(InfoLine1Id));
    Check(L"岚舟日历 (3025) in the day window changes nothing",
          app.Running() && IsWindow(app.wnd) && IsWindowVisible(app.wnd) && app.Read() == before);
}

void CheckDialogs(Lumora& app)
{
    // Help.
    PostMessageW(app.wnd, WM_COMMAND, 3110, 0);
    HWND help = app.WaitDialog(L"帮助");
    if (Check(L"help dialog opens (3110)", help != nullptr)) {
        Check(L"help dialog is modal", !IsWindowEnabled(app.wnd));
        bool found = false;
        for (const auto& t : ChildTexts(help))
            if (t.find(L"岚舟万年历V4.0") != std::wstring::npos) found = true;
        Check(L"help text names 岚舟万年历V4.0", found);
        Click(help, IsWindowVisible(GetDlgItem(help, IDCANCEL)) ? IDCANCEL : IDOK);
        if (!WaitFor([&] { return !IsWindow(help) || !IsWindowVisible(help); }, 2000)) CloseDialog(app, help);
        Check(L"help dialog closes and the day window is enabled again",
              WaitFor([&] { return IsWindowEnabled(app.wnd) != FALSE; }, 2000));
    }

    // The system-date dialog: only for 1980..2099; always cancelled here.
    app.GoTo({1979, 6, 1});
    auto sent = Send(app.wnd, WM_COMMAND, 3106, 0, 3000);
    HWND warn = app.Dialog(L"警告");
    Check(L"3106 with 1979 shown opens no dialog", sent.has_value() && warn == nullptr);
    if (warn) CloseDialog(app, warn);
    if (!app.Running()) return;
    app.GoTo({2024, 6, 1});
    PostMessageW(app.wnd, WM_COMMAND, 3106, 0);
    warn = app.WaitDialog(L"警告");
    if (Check(L"3106 with 2024 shown asks 是否修改系统日期？", warn != nullptr)) {
        bool asks = false;
        for (const auto& t : ChildTexts(warn))
            if (t.find(L"是否修改系统日期？") != std::wstring::npos) asks = true;
        Check(L"the date dialog asks 是否修改系统日期？", asks);
        Check(L"the date dialog is cancelled", CloseDialog(app, warn));
        if (!app.Running()) return;
        app.CheckShows(L"cancelling the date dialog keeps the shown day", {2024, 6, 1});
    }
}

// A first start: nothing stored, everything at its default, nothing kept at close.
void ScenarioFresh(Lumora& app)
{
    const std::wstring s = L"fresh start";
    ClearRegistry();
    mirror = Mirror{};
    if (!StartChecked(app, s)) return;
    int cx = GetSystemMetrics(SM_CXSCREEN), cy = GetSystemMetrics(SM_CYSCREEN);
    CheckWindowFrame(app, s, {(cx - 260) / 2, (cy - 150) / 2});
    CheckShape(app, s);
    CheckLayout(app);
    Check(s + L": no background picture", !HasBackground(app));
    app.CheckShows(s + L": shows today", Today(), 5000);

    HANDLE mutex = OpenMutexW(SYNCHRONIZE, FALSE, L"Lumora3.0");
    Check(L"the running copy holds the mutex Lumora3.0", mutex != nullptr);
    if (mutex) CloseHandle(mutex);  // held here, it would keep the next start from running

    // A second copy ends at once without a window.
    Lumora second(exePath);
    bool started = second.Start();
    DWORD code = 12345;
    if (second.pi.hProcess) GetExitCodeProcess(second.pi.hProcess, &code);
    Check(L"a second copy exits at once with code 0 and no window",
          !started && !second.Running() && code == 0,
          started ? L"it showed a window" : second.Running() ? L"still running" : L"exit code " + Num(code));
    second.Kill();
    Check(L"the first copy keeps running", app.Running() && IsWindowVisible(app.wnd));

    CheckKnownDay(app);
    CheckNavigation(app);
    CheckInfoKinds(app);
    CheckDisplayOptions(app);
    CheckHideAndShow(app);
    CheckSmallInputs(app);
    CheckMenuMarks(app, L"at start", {{3025, true}, {3026, false}, {3035, true}, {3036, false}, {3037, false},
                                      {3040, true}, {3045, false}, {3050, false}, {3085, false}, {3086, false},
                                      {3087, false}, {3090, false}, {3091, false}, {3092, false}, {3093, false},
                                      {3095, false}, {3096, true}, {3097, false}, {3098, false}});
    CheckTransparency(app);
    CheckPlacement(app);
    CheckMoveLock(app);
    CheckDialogs(app);
    if (!app.Running()) return;

    Check(s + L": 退出 ends the program with exit code 0", app.Exit());
    Check(s + L": a close without registry use leaves no settings", !KeyExists(LumoraKey),
          L"values " + std::to_wstring(ValueNames().size()));
}

// Settings of another version are neither read nor kept.
void ScenarioForeignVersion(Lumora& app)
{
    const std::wstring s = L"foreign version";
    PrepareSettings({{L"Version", L"3.9"}, {L"FormLeft", L"100"}, {L"FormTop", L"200"},
                     {L"DFORMShowInfoTypeFlag", L"1"}, {L"DFORMShowDynastyFlag", L"1"}});
    SetValue(L"Lumora", L"old", HKEY_CURRENT_USER, L"Software\\Lumora\\SolarMemorial");
    mirror = Mirror{};
    if (!StartChecked(app, s)) return;
    int cx = GetSystemMetrics(SM_CXSCREEN), cy = GetSystemMetrics(SM_CYSCREEN);
    RECT r = app.Rect();
    Check(s + L": stored position ignored, window centred",
          r.left == (cx - 260) / 2 && r.top == (cy - 150) / 2, L"at " + Num(r.left) + L"," + Num(r.top));
    app.CheckShows(s + L": stored options ignored", Today(), 5000);
    Check(s + L": 退出 ends the program with exit code 0", app.Exit());
    Check(s + L": the close removes the settings and stored days", !KeyExists(LumoraKey));
}

// A prepared registry read at start, changed through the menu, written at close.
void ScenarioPrepared(Lumora& app)
{
    const std::wstring s = L"prepared settings";
    std::wstring bitmap = CardBitmap();
    PrepareSettings({{L"Version", L"4.0"}, {L"FormLeft", L"100"}, {L"FormTop", L"200"},
                     {L"DFORMShowInfoTypeFlag", L"1"}, {L"DFORMShowDynastyFlag", L"1"}, {L"NowCityCode", L"21"},
                     {L"FORMTransFlag", L"7"}, {L"DFORMBackBitmapName", bitmap}});
    mirror = Mirror{};
    mirror.infoType = 1;
    mirror.dynasty = 1;
    mirror.city = 21;
    if (!StartChecked(app, s)) return;
    CheckWindowFrame(app, s, {100, 200});
    Check(s + L": the stored background picture is shown", HasBackground(app));
    app.CheckShows(s + L": 上海's sun times and era-name years for today", Today(), 5000);
    app.GoTo(SpringFestival2024);
    app.CheckShows(s + L": 2024-02-10 with 上海's sun times", SpringFestival2024);

    CheckMenuMarks(app, L"of the stored settings",
                   {{3085, true}, {3086, false}, {3095, true}, {3096, false}, {3097, true}, {3098, false}});
    for (int c : {3087, 3090, 3091, 3093, 3095, 3098, 3043, 3037, 3086}) app.Command(c);
    mirror.dynasty = 0;
    mirror.infoType = 2;
    mirror.chunjie = 1;
    app.CheckShows(s + L": after the menu changes", SpringFestival2024);
    CheckMenuMarks(app, L"after the changes",
                   {{3037, true}, {3043, true}, {3040, false}, {3086, true}, {3087, true}, {3090, true},
                    {3091, true}, {3092, false}, {3093, true}, {3095, false}, {3097, false}, {3098, true}});
    app.Command(3037);

    int cx = GetSystemMetrics(SM_CXSCREEN), cy = GetSystemMetrics(SM_CYSCREEN);
    SetWindowPos(app.wnd, nullptr, cx, cy, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    WaitFor([&] { return app.Rect().left == cx - 260; }, 2000);
    Check(s + L": 退出 ends the program with exit code 0", app.Exit());

    std::map<std::wstring, std::wstring> expected = {
        {L"Version", L"4.0"},
        {L"FormLeft", Num(cx - 260)},
        {L"FormTop", Num(cy - 150)},
        {L"WholeAutoReportTimeFlag", L"1"},
        {L"GanZhiFromChunjieFlag", L"1"},
        {L"CloseFORMAudioPlayFlag", L"1"},
        {L"ModernCalculateAncientFlag", L"0"},
        {L"NearLocateMemorialFlag", L"1"},
        {L"DFORMShowDynastyFlag", L"0"},
        {L"DFORMShowInfoTypeFlag", L"2"},
        {L"ShowCalendarTypeFlag", L"0"},
        {L"MyCityName", L""},
        {L"MyCityLongitude", L""},
        {L"MyCityLatitude", L""},
        {L"NowCityCode", L"21"},
        {L"FORMTransFlag", L"3"},
        {L"DFORMBackBitmapName", bitmap},
    };
    std::wstring detail;
    for (auto& [name, value] : expected) {
        auto got = GetValue(name.c_str());
        if (got != value) detail += name + L" expected " + Quoted(value) + L" got " + Quoted(got) + L"; ";
    }
    Check(s + L": the settings written at close", detail.empty(), detail);
    std::wstring extra;
    for (const auto& name : ValueNames())
        if (!expected.count(name)) extra += name + L" ";
    Check(s + L": no other values written", extra.empty(), extra);

    SetProgramPathsUtf8(Utf8(exePath));
    std::wstring command = Wide(Utf8ToGbk(AutoRunCommand()).value_or(""));
    CheckText(s + L": 开机自动运行 writes the Run value naming the program", command,
              GetValue(L"Lumora", HKEY_LOCAL_MACHINE, RunKey));
    Check(s + L": the Run value is the quoted program path", command == L"\"" + exePath + L"\"", command);
}

void CheckCoordinatesDialog(Lumora& app)
{
    const CalendarDate d = SpringFestival2024;
    app.GoTo(d);
    // A built-in city chosen and cancelled leaves the place as it was.
    PostMessageW(app.wnd, WM_COMMAND, 3055, 0);
    HWND dlg = app.WaitDialog(L"本地坐标");
    if (!Check(L"coordinates dialog opens (3055)", dlg != nullptr)) return;
    Check(L"coordinates dialog is modal", !IsWindowEnabled(app.wnd));
    std::wstring labels;
    for (const auto& t : ChildTexts(dlg)) labels += L"|" + t;
    Check(L"coordinates dialog labels",
          labels.find(L"|地 名") != std::wstring::npos && labels.find(L"|经 度") != std::wstring::npos &&
              labels.find(L"|纬 度") != std::wstring::npos && labels.find(L"|历算时区为东8区") != std::wstring::npos &&
              labels.find(L"|确定") != std::wstring::npos && labels.find(L"|取消") != std::wstring::npos,
          labels);
    PostMessageW(app.wnd, 1124, 0, WM_RBUTTONUP);
    Barrier(GetDlgItem(dlg, 2002));
    HWND strayMenu = OpenMenu(app, 0);
    Check(L"the notification icon shows no menu while the dialog is open", strayMenu == nullptr);
    if (strayMenu) CloseMenu(app, strayMenu);
    HWND list = GetDlgItem(dlg, 2001), lon = GetDlgItem(dlg, 2002), lat = GetDlgItem(dlg, 2003),
         name = GetDlgItem(dlg, 2004);
    int n = ComboCount(list);
    Check(L"the city list holds 43 cities and 自定义...",
          n == 44 && ComboItem(list, 0) == L"天安门" && ComboItem(list, 42) == L"台北" &&
              ComboItem(list, 43) == L"自定义...",
          Num(n) + L" items, last " + Quoted(ComboItem(list, n - 1)));
    CheckText(L"the list shows the current city", L"上海", SelectedItem(list));
    Check(L"a built-in city's fields are read-only and the name hidden",
          (GetWindowLongW(lon, GWL_STYLE) & ES_READONLY) && (GetWindowLongW(lat, GWL_STYLE) & ES_READONLY) &&
              !IsWindowVisible(name));
    Check(L"the three fields take at most 12 typed characters",
          Send(lon, EM_GETLIMITTEXT, 0, 0).value_or(0) == 12 && Send(lat, EM_GETLIMITTEXT, 0, 0).value_or(0) == 12 &&
              Send(name, EM_GETLIMITTEXT, 0, 0).value_or(0) == 12);
    CheckText(L"longitude field of 上海", L"东经121.4667度", TextOf(lon));
    CheckText(L"latitude field of 上海", L"北纬31.2333度", TextOf(lat));
    Send(list, CB_SETCURSEL, 30, 0);
    Send(dlg, WM_COMMAND, MAKEWPARAM(2001, CBN_SELCHANGE), LPARAM(list));
    CheckText(L"choosing 拉萨 shows its longitude", L"东经91.1333度", TextOf(lon));
    CheckText(L"choosing 拉萨 shows its latitude", L"北纬29.6500度", TextOf(lat));
    Click(dlg, IDCANCEL);
    Check(L"取消 closes the dialog",
          WaitFor([&] { return !IsWindow(dlg) && IsWindowEnabled(app.wnd); }, 3000));
    app.CheckShows(L"after 拉萨 and 取消 the sun times are still 上海's", d);

    // A custom place: a bad longitude first, then a good one.
    PostMessageW(app.wnd, WM_COMMAND, 3055, 0);
    dlg = app.WaitDialog(L"本地坐标");
    if (!Check(L"coordinates dialog opens again", dlg != nullptr)) return;
    list = GetDlgItem(dlg, 2001), lon = GetDlgItem(dlg, 2002), lat = GetDlgItem(dlg, 2003),
    name = GetDlgItem(dlg, 2004);
    Send(list, CB_SETCURSEL, 43, 0);
    Send(dlg, WM_COMMAND, MAKEWPARAM(2001, CBN_SELCHANGE), LPARAM(list));
    Check(L"自定义... makes the fields editable and shows the name",
          !(GetWindowLongW(lon, GWL_STYLE) & ES_READONLY) && !(GetWindowLongW(lat, GWL_STYLE) & ES_READONLY) &&
              IsWindowVisible(name));
    Send(name, WM_SETTEXT, 0, LPARAM(L""));
    for (wchar_t c : std::wstring(L"一二三四五六七")) Send(name, WM_CHAR, c, 1);
    CheckText(L"a typed name stops at 12 bytes", L"一二三四五六", TextOf(name));
    Send(name, WM_SETTEXT, 0, LPARAM(L"测试"));
    Send(lon, WM_SETTEXT, 0, LPARAM(L"东经181度"));
    Send(lat, WM_SETTEXT, 0, LPARAM(L"北纬39.9度"));
    Click(dlg, IDOK);
    Barrier(lon);
    Check(L"东经181度 keeps the dialog open", IsWindow(dlg) && IsWindowVisible(dlg));
    CheckText(L"东经181度 resets the longitude field", L"东经0.0000度", TextOf(lon));
    Send(lon, WM_SETTEXT, 0, LPARAM(L"东经1.2.3度"));
    Click(dlg, IDOK);
    Barrier(lon);
    CheckText(L"东经1.2.3度 resets the longitude field", L"东经0.0000度", TextOf(lon));
    Send(lon, WM_SETTEXT, 0, LPARAM(L"东经116.38度"));
    Send(lat, WM_SETTEXT, 0, LPARAM(L"北纬-5度"));
    Click(dlg, IDOK);
    Barrier(lon);
    Check(L"北纬-5度 keeps the dialog open", IsWindow(dlg) && IsWindowVisible(dlg));
    CheckText(L"北纬-5度 resets the latitude field", L"北纬0.0000度", TextOf(lat));
    Send(name, WM_SETTEXT, 0, LPARAM(L""));
    Send(lon, WM_SETTEXT, 0, LPARAM(L"东经116.38度"));
    Send(lat, WM_SETTEXT, 0, LPARAM(L"北纬39.9度"));
    Click(dlg, IDOK);
    Barrier(lon);
    Check(L"an empty name keeps the dialog open with the fields as typed",
          IsWindow(dlg) && IsWindowVisible(dlg) && TextOf(lon) == L"东经116.38度" && TextOf(lat) == L"北纬39.9度");
    Send(name, WM_SETTEXT, 0, LPARAM(L"测试"));
    Click(dlg, IDOK);
    Check(L"确定 with 测试 东经116.38度 北纬39.9度 closes the dialog",
          WaitFor([&] { return !IsWindow(dlg) && IsWindowEnabled(app.wnd); }, 3000));
    if (IsWindow(dlg)) CloseDialog(app, dlg);
    mirror.city = CustomCityCode;
    mirror.myName = Gbk(L"测试");
    mirror.myLongitude = -116.38;
    mirror.myLatitude = 39.9;
    app.CheckShows(L"the sun times follow the custom place", d);

    // Reopened, the dialog shows the custom place.
    PostMessageW(app.wnd, WM_COMMAND, 3055, 0);
    dlg = app.WaitDialog(L"本地坐标");
    if (!Check(L"coordinates dialog opens a third time", dlg != nullptr)) return;
    CheckText(L"the list shows 自定义...", L"自定义...", SelectedItem(GetDlgItem(dlg, 2001)));
    CheckText(L"the custom longitude", L"东经116.3800度", TextOf(GetDlgItem(dlg, 2002)));
    CheckText(L"the custom latitude", L"北纬39.9000度", TextOf(GetDlgItem(dlg, 2003)));
    CheckText(L"the custom name", L"测试", TextOf(GetDlgItem(dlg, 2004)));
    CloseDialog(app, dlg);
}

// The own place chosen in the dialog reaches the registry; a position off
// the screen is not used; the auto-run value is recognised.
void ScenarioCoordinates(Lumora& app)
{
    const std::wstring s = L"coordinates";
    int cx = GetSystemMetrics(SM_CXSCREEN), cy = GetSystemMetrics(SM_CYSCREEN);
    // One pixel too far right: the card opens centred.
    PrepareSettings({{L"Version", L"4.0"}, {L"DFORMShowInfoTypeFlag", L"1"}, {L"NowCityCode", L"21"},
                     {L"FormLeft", Num(cx - 259)}, {L"FormTop", L"0"}});
    SetProgramPaths(Gbk(exePath));
    std::wstring runCommand = Wide(AutoRunCommand());
    SetValue(L"Lumora", runCommand, HKEY_LOCAL_MACHINE, RunKey);
    mirror = Mirror{};
    mirror.infoType = 1;
    mirror.city = 21;
    if (!StartChecked(app, s)) return;
    RECT r = app.Rect();
    Check(s + L": a position partly off the screen gives a centred window",
          r.left == (cx - 260) / 2 && r.top == (cy - 150) / 2, L"at " + Num(r.left) + L"," + Num(r.top));
    CheckMenuMarks(app, L"with the Run value present", {{3086, true}, {3085, true}});
    CheckCoordinatesDialog(app);
    if (!app.Running()) return;
    std::wstring bitmap = CardBitmap();
    Check(s + L": no background picture at start", !HasBackground(app));
    ChooseBackground(app, bitmap);
    if (!app.Running()) return;
    Check(s + L": 退出 ends the program with exit code 0", app.Exit());
    std::wstring detail;
    std::map<std::wstring, std::wstring> expected = {{L"MyCityName", L"测试"},
                                                     {L"MyCityLongitude", L"-116.38"},
                                                     {L"MyCityLatitude", L"39.9"},
                                                     {L"NowCityCode", L"44"},
                                                     {L"FormLeft", Num((cx - 260) / 2)},
                                                     {L"FormTop", Num((cy - 150) / 2)},
                                                     {L"DFORMBackBitmapName", bitmap}};
    for (auto& [name, value] : expected) {
        auto got = GetValue(name.c_str());
        if (got != value) detail += name + L" expected " + Quoted(value) + L" got " + Quoted(got) + L"; ";
    }
    Check(s + L": the custom place and the chosen background are saved at close", detail.empty(), detail);
    CheckText(s + L": the recognised Run value is kept", runCommand,
              GetValue(L"Lumora", HKEY_LOCAL_MACHINE, RunKey));
}

// The saved custom place is read back; registry use switched off and on.
void ScenarioRegistryUse(Lumora& app)
{
    const std::wstring s = L"registry use";
    int cx = GetSystemMetrics(SM_CXSCREEN), cy = GetSystemMetrics(SM_CYSCREEN);
    // Flush with the bottom-right corner: the card still fits there.
    PrepareSettings({{L"Version", L"4.0"}, {L"DFORMShowInfoTypeFlag", L"1"}, {L"MyCityName", L"测试"},
                     {L"MyCityLongitude", L"-116.38"}, {L"MyCityLatitude", L"39.9"}, {L"NowCityCode", L"44"},
                     {L"DFORMBackBitmapName", L"C:\\no such folder\\card.bmp"}, {L"FormLeft", Num(cx - 260)},
                     {L"FormTop", Num(cy - 150)}});
    SetProgramPaths(Gbk(exePath));
    SetValue(L"Lumora", Wide(AutoRunCommand()), HKEY_LOCAL_MACHINE, RunKey);
    mirror = Mirror{};
    mirror.infoType = 1;
    mirror.city = CustomCityCode;
    mirror.myName = Gbk(L"测试");
    mirror.myLongitude = -116.38;
    mirror.myLatitude = 39.9;
    if (!StartChecked(app, s)) return;
    RECT r = app.Rect();
    Check(s + L": a stored position flush with the screen's corner is used",
          r.left == cx - 260 && r.top == cy - 150, L"at " + Num(r.left) + L"," + Num(r.top));
    app.GoTo(SpringFestival2024);
    app.CheckShows(s + L": the stored custom place gives the sun times", SpringFestival2024);

    SetValue(L"Lumora", L"stored day", HKEY_CURRENT_USER, L"Software\\Lumora\\SolarMemorial");
    app.Command(3085);
    Check(s + L": switching it off (3085) removes the settings and stored days at once",
          !KeyExists(LumoraKey) && !KeyExists(L"Software\\Lumora\\SolarMemorial"));
    CheckMenuMarks(app, L"with registry use off", {{3085, false}});
    app.Command(3085);
    CheckText(s + L": switching it on again writes Version 4.0 at once", L"4.0", GetValue(L"Version"));
    app.Command(3086);  // the Run value goes at close
    Check(s + L": 退出 ends the program with exit code 0", app.Exit());
    CheckText(s + L": switched on again, the close writes the settings", L"4.0", GetValue(L"Version"));
    CheckText(s + L": the custom place survives the switch", L"测试", GetValue(L"MyCityName"));
    CheckText(s + L": a stored background that does not exist is dropped", L"", GetValue(L"DFORMBackBitmapName"));
    Check(s + L": 开机自动运行 switched off removes the Run value",
          !GetValue(L"Lumora", HKEY_LOCAL_MACHINE, RunKey) && !GetValue(L"Lumora", HKEY_CURRENT_USER, RunKey));

    // Off at close: nothing is left.
    if (!StartChecked(app, s + L" off")) return;
    app.Command(3085);
    Check(s + L" off: 退出 ends the program with exit code 0", app.Exit());
    Check(s + L" off: a close with registry use off leaves no settings", !KeyExists(LumoraKey));
}

// Values of the wrong type, too long, cut or damaged, and many of them.
#include "damaged_registry.cpp"

struct Scenario {
    const wchar_t* name;
    void (*run)(Lumora&);
};
const Scenario Scenarios[] = {
    {L"fresh", ScenarioFresh},
    {L"foreign", ScenarioForeignVersion},
    {L"prepared", ScenarioPrepared},
    {L"coordinates", ScenarioCoordinates},
    {L"registry", ScenarioRegistryUse},
    {L"damaged", ScenarioDamagedRegistry},
};

// Ends a run that hangs: nothing may keep the test waiting for ever.
DWORD WINAPI Watchdog(LPVOID limit)
{
    Sleep(DWORD(reinterpret_cast<uintptr_t>(limit)));
    Print(L"FAIL the UI checks did not finish in time");
    Print(Num(passed) + L" passed, " + Num(failed + 1) + L" failed");
    ExitProcess(3);
}

}  // namespace

int main()
{
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (argc < 2) {
        fputs("usage: lumora-ui-driver LUMORA_EXE [SCENARIO...]\n", stderr);
        return 2;
    }
    exePath = argv[1];
    UseRegistry = 0;  // the driver's own core never looks up stored days
    CreateThread(nullptr, 0, Watchdog, reinterpret_cast<LPVOID>(uintptr_t(240000)), 0, nullptr);
    Print(L"screen " + Num(GetSystemMetrics(SM_CXSCREEN)) + L"x" + Num(GetSystemMetrics(SM_CYSCREEN)) +
          L", ANSI code page " + Num(GetACP()));

    for (const Scenario& scenario : Scenarios) {
        bool wanted = argc == 2;
        for (int i = 2; i < argc; ++i)
            if (scenario.name == std::wstring(argv[i])) wanted = true;
        if (!wanted) continue;
        DWORD t0 = GetTickCount();
        {
            Lumora app(exePath);
            scenario.run(app);
            if (app.Running()) Print(L"NOTE scenario " + std::wstring(scenario.name) + L" left the program running; ended");
        }  // the program is always ended here
        Print(L"NOTE scenario " + std::wstring(scenario.name) + L" took " + Num(GetTickCount() - t0) + L" ms");
    }
    ClearRegistry();
    Print(Num(passed) + L" passed, " + Num(failed) + L" failed");
    return failed == 0 && passed > 0 ? 0 : 1;
}
