// The program's entry: one running copy, the process-wide state, then the
// main window until it closes.
#include <windows.h>
#include <commctrl.h>

#include "audio_playback.h"
#include "day_window.h"
#include "month_window.h"
#include "platform.h"
#include "settings.h"
#include "shown_day.h"
#include "speaking_clock.h"

namespace {

// A single executable run from a downloads folder must not pick up DLLs
// planted beside it: system DLLs come from the system folder only. The call
// exists from Windows 8 on (and on Windows 7 with its update).
void LoadLibrariesFromSystemOnly()
{
    using SetDirectories = BOOL(WINAPI*)(DWORD);
    auto set = reinterpret_cast<SetDirectories>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories")));
    if (set) set(0x00000800 /* LOAD_LIBRARY_SEARCH_SYSTEM32 */);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    LoadLibrariesFromSystemOnly();
    if (IsOtherInstanceRunning("Lumora3.0")) return 0;

    INITCOMMONCONTROLSEX controls{sizeof controls, 0x7FFF};
    if (!InitCommonControlsEx(&controls)) InitCommonControls();
    InitProgramPaths();
    LoadSettings();
    InitAudioState(ProgramDir);
    InitToday();
    InitDateBounds();

    // A switch closes one main window and names the other in
    // ShowCalendarTypeFlag; a close without one ends the program.
    int exitCode = 0;
    do {
        exitCode = ShowCalendarTypeFlag == 1 ? RunMonthWindow() : RunDayWindow();
    } while (SwitchPending != 0);
    // The windows are gone: a copy started now must not be turned away while
    // an announcement still talks, and the announcement stops.
    ReleaseInstanceLock();
    StopAnnouncement();
    return exitCode;
}
