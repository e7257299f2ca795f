// Start-up time of lumora.exe: from the process start to the main window
// shown with every control painted, for the day window and then for the
// month window, repeated and summarised.
//   lumora-startup-time.exe path\to\lumora.exe [runs]
// Run it on a quiet machine with no copy of the program running. It keeps
// the program's settings in the registry (Version 4.0) so that
// ShowCalendarTypeFlag picks the window; each run closes the program
// normally, which saves the settings.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

double Milliseconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return double(to.QuadPart - from.QuadPart) * 1000.0 / double(frequency.QuadPart);
}

BOOL CALLBACK HasPendingPaint(HWND child, LPARAM pending)
{
    if (IsWindowVisible(child) && GetUpdateRect(child, nullptr, FALSE)) *reinterpret_cast<bool*>(pending) = true;
    return TRUE;
}

// Visible, answering its message loop and nothing left to paint.
bool IsPainted(HWND window)
{
    if (!window || !IsWindowVisible(window)) return false;
    DWORD_PTR result;
    if (!SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, &result)) return false;
    bool pending = GetUpdateRect(window, nullptr, FALSE) != FALSE;
    EnumChildWindows(window, HasPendingPaint, LPARAM(&pending));
    return !pending;
}

void SetSetting(const wchar_t* name, const wchar_t* value)
{
    HKEY key;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Lumora", 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return;
    RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                   DWORD((wcslen(value) + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
}

// The start-up times of one main window, in milliseconds; empty when it did
// not appear.
std::vector<double> TimeWindow(const std::wstring& program, const wchar_t* className, int runs)
{
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        std::wstring command = L"\"" + program + L"\"";
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process{};
        LARGE_INTEGER start, now;
        QueryPerformanceCounter(&start);
        if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                            &process)) {
            std::fprintf(stderr, "cannot start the program\n");
            return {};
        }
        double elapsed = -1;
        for (int poll = 0; poll < 30000; ++poll) {
            if (IsPainted(FindWindowW(className, nullptr))) {
                QueryPerformanceCounter(&now);
                elapsed = Milliseconds(start, now);
                break;
            }
            if (WaitForSingleObject(process.hProcess, 1) == WAIT_OBJECT_0) break;
        }
        // A normal close (the day window takes its notification-area icon away).
        PostMessageW(FindWindowW(className, nullptr), WM_CLOSE, 0, 0);
        if (WaitForSingleObject(process.hProcess, 5000) != WAIT_OBJECT_0) {
            TerminateProcess(process.hProcess, 0);
            WaitForSingleObject(process.hProcess, 5000);
        }
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        if (elapsed < 0) {
            std::fprintf(stderr, "run %d: the window did not appear\n", run + 1);
            return {};
        }
        std::printf("run %d: %.0f ms\n", run + 1, elapsed);
        times.push_back(elapsed);
        Sleep(300);
    }
    std::sort(times.begin(), times.end());
    return times;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: lumora-startup-time lumora.exe [runs]\n");
        return 2;
    }
    int runs = argc > 2 ? std::max(1, _wtoi(argv[2])) : 5;
    struct Window {
        const wchar_t* className;
        const wchar_t* flag;
        const char* name;
    };
    const Window windows[] = {{L"LUMORA_DFORM", L"0", "day window"}, {L"LUMORA_MFORM", L"1", "month window"}};
    SetSetting(L"Version", L"4.0");
    int status = 0;
    for (const Window& window : windows) {
        SetSetting(L"ShowCalendarTypeFlag", window.flag);
        std::vector<double> times = TimeWindow(argv[1], window.className, runs);
        if (times.empty()) {
            status = 1;
            continue;
        }
        std::printf("start-up to the painted %s: median %.0f ms, best %.0f ms, worst %.0f ms (%d runs)\n",
                    window.name, times[times.size() / 2], times.front(), times.back(), runs);
    }
    SetSetting(L"ShowCalendarTypeFlag", L"0");
    return status;
}
