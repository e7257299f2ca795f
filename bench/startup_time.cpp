// Start-up time of lumora.exe: from the process start to the day window
// shown with every control painted, repeated and summarised.
//   lumora-startup-time.exe path\to\lumora.exe [runs]
// Run it on a quiet machine with no copy of the program running; each run
// starts the program with the settings it finds and closes it again (a
// normal close, which saves the settings).
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

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: lumora-startup-time lumora.exe [runs]\n");
        return 2;
    }
    int runs = argc > 2 ? std::max(1, _wtoi(argv[2])) : 5;
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        std::wstring command = L"\"" + std::wstring(argv[1]) + L"\"";
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process{};
        LARGE_INTEGER start, now;
        QueryPerformanceCounter(&start);
        if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                            &process)) {
            std::fprintf(stderr, "cannot start the program\n");
            return 1;
        }
        double elapsed = -1;
        for (int poll = 0; poll < 30000; ++poll) {
            if (IsPainted(FindWindowW(L"LUMORA_DFORM", nullptr))) {
                QueryPerformanceCounter(&now);
                elapsed = Milliseconds(start, now);
                break;
            }
            if (WaitForSingleObject(process.hProcess, 1) == WAIT_OBJECT_0) break;
        }
        // A normal close takes the notification-area icon away again.
        PostMessageW(FindWindowW(L"LUMORA_DFORM", nullptr), WM_CLOSE, 0, 0);
        if (WaitForSingleObject(process.hProcess, 5000) != WAIT_OBJECT_0) {
            TerminateProcess(process.hProcess, 0);
            WaitForSingleObject(process.hProcess, 5000);
        }
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        if (elapsed < 0) {
            std::fprintf(stderr, "run %d: the day window did not appear\n", run + 1);
            return 1;
        }
        std::printf("run %d: %.0f ms\n", run + 1, elapsed);
        times.push_back(elapsed);
        Sleep(300);
    }
    std::sort(times.begin(), times.end());
    std::printf("start-up to the painted day window: median %.0f ms, best %.0f ms, worst %.0f ms (%d runs)\n",
                times[times.size() / 2], times.front(), times.back(), runs);
    return 0;
}
