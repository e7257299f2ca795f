// usage: lumora-ui-driver LUMORA_EXE [SCENARIO...]
//
// Runs the scenarios (all, or those named) one after another, each with a
// program of its own, and prints one line per check: "PASS name" or
// "FAIL name: ...", then "N passed, M failed". Exit status 0 only when every
// check passed.
#include "scenarios.h"

#include "driver.h"

namespace {

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
    {L"month", ScenarioMonthWindow},
    {L"restart", ScenarioRestartAfterExit},
    {L"converter", ScenarioConverter},
    {L"editor", ScenarioEditor},
    {L"editor-off", ScenarioEditorWithoutRegistry},
    {L"editor-cut", ScenarioEditorCutShort},
    {L"tables", ScenarioTables},
    {L"queries", ScenarioQueries},
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
    CreateThread(nullptr, 0, Watchdog, reinterpret_cast<LPVOID>(uintptr_t(900000)), 0, nullptr);
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
