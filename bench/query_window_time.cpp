// The condition query window's search over the whole range of years
// (104 BC .. 5000) against `lumora-cli query days` with the same criteria:
// what the window's message handling during the search costs.
//   lumora-query-time.exe path\to\lumora.exe path\to\lumora-cli.exe [runs]
// Run it on a quiet machine with no copy of the program running. Each run
// starts the program, opens 查询条件日 through its menu command, chooses the
// criteria, presses 查询 and waits for the status line "共找到"; then it
// runs the command line with its output thrown away.
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr int ConditionDaysCommand = 3076, ExitCommand = 3111;
constexpr int StartYearId = 3202, BeforeYearOneId = 3203, SpanId = 3205, StatusId = 3211, FirstCriterionId = 3240;

// The window's lists are a grid read row by row: 公历月 公历日 星期 / 农历月
// 农历日 节气 / 回历月 回历日 节日 / 干支年 干支月 干支日.
struct Criteria {
    const char* name;
    std::vector<std::pair<int, int>> items;  // list position in the grid, item
    const wchar_t* cliArguments;
};
const Criteria Cases[] = {
    {"Friday the 13th", {{1, 13}, {2, 5}}, L"--gday 13 --weekday 5"},
    {"lunar 15th on a jiazi day", {{4, 15}, {11, 1}}, L"--lday 15 --gz-day 1"},
};

double Seconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return double(to.QuadPart - from.QuadPart) / double(frequency.QuadPart);
}

// The processor time a process has used so far, user and kernel. On a busy
// machine it says more than the clock (Windows only: Wine does not keep it
// for another process).
double ProcessorSeconds(HANDLE process)
{
    FILETIME created, ended, kernel, user;
    if (!GetProcessTimes(process, &created, &ended, &kernel, &user)) return 0;
    auto seconds = [](const FILETIME& t) { return double((uint64_t(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 1e7; };
    return seconds(kernel) + seconds(user);
}

struct Timing {
    double clock = -1, processor = -1;
};

std::wstring TextOf(HWND window)
{
    wchar_t text[256] = L"";
    DWORD_PTR length = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, 256, LPARAM(text), SMTO_NORMAL, 5000, &length);
    return text;
}

HWND WaitWindow(const wchar_t* className, DWORD timeoutMs)
{
    for (DWORD waited = 0; waited < timeoutMs; waited += 50) {
        HWND found = FindWindowW(className, nullptr);
        if (found && IsWindowVisible(found)) return found;
        Sleep(50);
    }
    return nullptr;
}

PROCESS_INFORMATION Start(const std::wstring& command, HANDLE output)
{
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    if (output) {
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdOutput = startup.hStdError = output;
    }
    PROCESS_INFORMATION process{};
    std::wstring line = command;
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, output != nullptr, 0, nullptr, nullptr, &startup,
                        &process))
        process = {};
    return process;
}

void End(PROCESS_INFORMATION& process)
{
    if (WaitForSingleObject(process.hProcess, 10000) != WAIT_OBJECT_0) {
        TerminateProcess(process.hProcess, 0);
        WaitForSingleObject(process.hProcess, 5000);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}

// From 查询 to the status line "共找到"; negative when it failed.
Timing WindowSearch(const std::wstring& lumora, const Criteria& criteria)
{
    PROCESS_INFORMATION process = Start(L"\"" + lumora + L"\"", nullptr);
    if (!process.hProcess) return {};
    Timing elapsed;
    HWND day = WaitWindow(L"LUMORA_DFORM", 30000);
    if (day) PostMessageW(day, WM_COMMAND, ConditionDaysCommand, 0);
    if (HWND tool = day ? WaitWindow(L"LUMORA_SFORM", 10000) : nullptr) {
        SendMessageW(GetDlgItem(tool, StartYearId), WM_SETTEXT, 0, LPARAM(L"104"));
        SendMessageW(GetDlgItem(tool, BeforeYearOneId), BM_SETCHECK, BST_CHECKED, 0);
        SendMessageW(GetDlgItem(tool, SpanId), WM_SETTEXT, 0, LPARAM(L"5104"));
        for (auto [list, item] : criteria.items)
            SendMessageW(GetDlgItem(tool, FirstCriterionId + list), CB_SETCURSEL, WPARAM(item), 0);
        HWND status = GetDlgItem(tool, StatusId);
        LARGE_INTEGER start, now;
        QueryPerformanceCounter(&start);
        double used = ProcessorSeconds(process.hProcess);
        PostMessageW(tool, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), LPARAM(GetDlgItem(tool, IDOK)));
        // Looked at ten times a second, so that the looking costs the search little.
        for (int poll = 0; poll < 36000; ++poll) {
            Sleep(100);
            if (TextOf(status).find(L"共找到") != std::wstring::npos) {
                QueryPerformanceCounter(&now);
                elapsed = {Seconds(start, now), ProcessorSeconds(process.hProcess) - used};
                break;
            }
        }
        PostMessageW(tool, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        Sleep(300);
    }
    if (day) PostMessageW(day, WM_COMMAND, ExitCommand, 0);
    End(process);
    return elapsed;
}

Timing CommandLineSearch(const std::wstring& cli, const Criteria& criteria)
{
    // A file, not NUL: a device counts as a terminal and would get the progress line.
    wchar_t folder[MAX_PATH] = L"";
    GetTempPathW(MAX_PATH, folder);
    std::wstring path = std::wstring(folder) + L"lumora-query-time.txt";
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE nul = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_WRITE, &inherit, CREATE_ALWAYS, 0, nullptr);
    LARGE_INTEGER start, now;
    QueryPerformanceCounter(&start);
    PROCESS_INFORMATION process = Start(L"\"" + cli + L"\" query days " + criteria.cliArguments +
                                            L" --from 104 --bc --years 5104",
                                        nul);
    if (!process.hProcess) return {};
    WaitForSingleObject(process.hProcess, INFINITE);
    QueryPerformanceCounter(&now);
    Timing elapsed{Seconds(start, now), ProcessorSeconds(process.hProcess)};
    End(process);
    CloseHandle(nul);
    DeleteFileW(path.c_str());
    return elapsed;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? -1 : values[values.size() / 2];
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: lumora-query-time lumora.exe lumora-cli.exe [runs]\n");
        return 2;
    }
    int runs = argc > 3 ? std::max(1, _wtoi(argv[3])) : 3;
    for (const Criteria& criteria : Cases) {
        std::vector<double> window, cli, windowCpu, cliCpu;
        for (int run = 0; run < runs; ++run) {
            Timing w = WindowSearch(argv[1], criteria), c = CommandLineSearch(argv[2], criteria);
            if (w.clock < 0 || c.clock < 0) {
                std::fprintf(stderr, "%s: run %d failed\n", criteria.name, run + 1);
                return 1;
            }
            std::printf("%s, run %d: window %.2f s (processor %.2f s), lumora-cli %.2f s (processor %.2f s)\n",
                        criteria.name, run + 1, w.clock, w.processor, c.clock, c.processor);
            std::fflush(stdout);
            window.push_back(w.clock);
            cli.push_back(c.clock);
            windowCpu.push_back(w.processor);
            cliCpu.push_back(c.processor);
        }
        double w = Median(window), c = Median(cli), wp = Median(windowCpu), cp = Median(cliCpu);
        std::printf("%s over 104 BC..5000, medians: window %.2f s, lumora-cli %.2f s (%+.1f %%); processor time "
                    "window %.2f s, lumora-cli %.2f s (%+.1f %%)\n",
                    criteria.name, w, c, (w / c - 1) * 100, wp, cp, (wp / cp - 1) * 100);
        std::fflush(stdout);
    }
    return 0;
}
