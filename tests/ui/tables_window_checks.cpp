// The yearly tables tool in its four modes, opened through the menu.
#include "scenarios.h"

#include "driver.h"
#include "yearly_tables.h"

namespace {

constexpr int LabelId = 3101, YearId = 3102, BeforeYearOneId = 3103, CityId = 3104, SunId = 3105, TwilightId = 3106,
              ResultId = 3107, PreviousId = 3108, NextId = 3109;

struct TableLook {
    int command;
    const wchar_t* title;
    const wchar_t* label;
};
const TableLook Looks[] = {
    {Cmd::LunarMonths, L"计算农历月", L"农历年份"},
    {Cmd::SolarTerms, L"计算节气日", L"公历年份"},
    {Cmd::MoonPhases, L"计算朔望日", L"公历年份"},
    {Cmd::SunTimes, L"计算太阳升降时刻", L"公历年份"},
};

std::wstring Table(int command, int32_t year, int32_t city = 1, bool twilight = false)
{
    ApplyMirror();
    switch (command) {
    case Cmd::LunarMonths: return Wide(LunarMonthsTable(year));
    case Cmd::SolarTerms: return Wide(SolarTermsTable(year));
    case Cmd::MoonPhases: return Wide(MoonsTable(year));
    default: return Wide(SunTimesTable(year, city, twilight));
    }
}

std::vector<std::wstring> LinesOf(const std::wstring& text)
{
    std::vector<std::wstring> lines;
    for (size_t start = 0; start <= text.size();) {
        size_t end = text.find(L"\r\n", start);
        if (end == std::wstring::npos) end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

// The first year from 2000 whose first event is a full moon.
int32_t YearStartingWithFullMoon()
{
    for (int32_t y = 2000; y < 2040; ++y) {
        std::wstring header = LinesOf(Table(Cmd::MoonPhases, y))[0];
        size_t full = header.find(L"次望日"), fresh = header.find(L"次朔日");
        if (full != std::wstring::npos && fresh != std::wstring::npos && full < fresh) return y;
    }
    return 0;
}

// One press in the tool and what the fields show afterwards.
struct TableCase {
    const wchar_t* name;
    int command;
    std::wstring typed;  // the year field before the press (nullopt-like "-" keeps it)
    bool beforeYearOne;
    int button;
    std::wstring yearAfter;
    bool beforeYearOneAfter;
    int32_t tableYear;  // the table shown afterwards
};

bool Shows(HWND tool, const TableCase& c, const std::wstring& table)
{
    return FieldOf(tool, YearId) == c.yearAfter && IsCheckedIn(tool, BeforeYearOneId) == c.beforeYearOneAfter &&
           FieldOf(tool, ResultId) == table;
}

void RunCase(HWND tool, const TableCase& c)
{
    if (c.typed != L"-") SetField(tool, YearId, c.typed);
    SetCheck(tool, BeforeYearOneId, c.beforeYearOne);
    Click(tool, c.button);
    std::wstring table = Table(c.command, c.tableYear);
    WaitFor([&] { return Shows(tool, c, table); }, 5000);
    std::wstring got = FieldOf(tool, ResultId);
    Check(L"tables: " + std::wstring(c.name), Shows(tool, c, table),
          L"year field " + Quoted(FieldOf(tool, YearId)) + L", table " + Quoted(LinesOf(got)[0]) + L" where " +
              Quoted(LinesOf(table)[0]) + L" was expected");
}

// Opens mode command, runs its cases in order and closes it again.
void RunCases(Lumora& app, int command, const std::vector<TableCase>& cases)
{
    const TableLook& look = Looks[command - Cmd::LunarMonths];
    HWND tool = OpenTool(app, command, L"LUMORA_TFORM", look.title);
    if (!tool) return;
    for (const TableCase& c : cases) RunCase(tool, c);
    CloseTool(app, tool, look.title);
}

void CheckLooks(Lumora& app, const CalendarDate& shown, int32_t shownLunarYear)
{
    for (const TableLook& look : Looks) {
        HWND tool = OpenTool(app, look.command, L"LUMORA_TFORM", look.title);
        if (!tool) continue;
        std::wstring t = look.title;
        int32_t year = look.command == Cmd::LunarMonths ? shownLunarYear : shown.year;
        CheckText(t + L": the year label", look.label, FieldOf(tool, LabelId));
        CheckText(t + L": the buttons and the box", L"计算|取消|上一年|下一年|纪元前",
                  FieldOf(tool, IDOK) + L"|" + FieldOf(tool, IDCANCEL) + L"|" + FieldOf(tool, PreviousId) + L"|" +
                      FieldOf(tool, NextId) + L"|" + FieldOf(tool, BeforeYearOneId));
        CheckText(t + L": opens on the shown day's year", Num(year), FieldOf(tool, YearId));
        Check(t + L": opens with that year's table", FieldOf(tool, ResultId) == Table(look.command, year, mirror.city));
        Check(t + L": the city list and the two options only in mode 4",
              (GetDlgItem(tool, CityId) != nullptr) == (look.command == Cmd::SunTimes));
        CloseTool(app, tool, t);
    }
}

// The year field takes digits only, typed or pasted.
void CheckYearField(Lumora& app)
{
    HWND tool = OpenTool(app, Cmd::SolarTerms, L"LUMORA_TFORM", L"计算节气日");
    if (!tool) return;
    HWND field = GetDlgItem(tool, YearId);
    for (auto [pasted, after] : {std::pair{L"19a9", L"2024"}, std::pair{L"1999", L"1999"}}) {
        SetField(tool, YearId, L"2024");
        Send(field, EM_SETSEL, 0, -1);
        if (!PutOnClipboard(pasted)) continue;
        Send(field, WM_PASTE, 0, 0);
        CheckText(std::wstring(L"tables: pasting ") + pasted + L" into the year field", after, FieldOf(tool, YearId));
    }
    Send(field, WM_SETTEXT, 0, LPARAM(L""));
    Send(field, WM_CHAR, L'x', 1);
    Send(field, WM_CHAR, L'7', 1);
    CheckText(L"tables: typing x7 into the year field", L"7", FieldOf(tool, YearId));
    CloseTool(app, tool, L"计算节气日");
}

void CheckSunTimes(Lumora& app, int32_t year)
{
    HWND tool = OpenTool(app, Cmd::SunTimes, L"LUMORA_TFORM", L"计算太阳升降时刻");
    if (!tool) return;
    HWND cities = GetDlgItem(tool, CityId);
    Check(L"tables: the city list holds the 43 cities",
          ComboCount(cities) == 43 && ComboItem(cities, 0) == L"天安门" && ComboItem(cities, 42) == L"台北");
    CheckText(L"tables: the list starts at the own place", L"上海", SelectedItem(cities));
    CheckText(L"tables: the two options", L"日出日落时刻|天亮天黑时刻",
              FieldOf(tool, SunId) + L"|" + FieldOf(tool, TwilightId));
    const int32_t lhasa = 31;
    Send(cities, CB_SETCURSEL, WPARAM(lhasa - 1), 0);
    for (bool twilight : {false, true}) {
        SetCheck(tool, SunId, !twilight);
        SetCheck(tool, TwilightId, twilight);
        Click(tool, IDOK);
        std::wstring table = Table(Cmd::SunTimes, year, lhasa, twilight);
        WaitFor([&] { return FieldOf(tool, ResultId) == table; }, 5000);
        Check(std::wstring(L"tables: 拉萨's ") + (twilight ? L"dawn and dusk" : L"sunrise and sunset") + L" of " +
                  Num(year) + L", a line for every day",
              FieldOf(tool, ResultId) == table && LinesOf(table).size() == 367, Quoted(LinesOf(FieldOf(tool, ResultId))[0]));
    }
    CloseTool(app, tool, L"计算太阳升降时刻");
}

}  // namespace

void ScenarioTables(Lumora& app)
{
    PrepareSettings({{L"Version", L"4.0"}, {L"DFORMShowInfoTypeFlag", L"1"}, {L"NowCityCode", L"21"}});
    mirror = Mirror{};
    mirror.infoType = 1;
    mirror.city = 21;
    if (!StartChecked(app, L"tables")) return;
    // 1 February 2024 lies in the lunar year 2023.
    const CalendarDate shown{2024, 2, 1};
    app.GoTo(shown);
    CheckLooks(app, shown, 2023);

    int32_t fullMoonFirst = YearStartingWithFullMoon();
    RunCases(app, Cmd::LunarMonths, {
        {L"2020 has 13 months, the leap 4th after the 4th", Cmd::LunarMonths, L"2020", false, IDOK, L"2020", false, 2020},
        {L"a non-digit year empties the field and keeps the table", Cmd::LunarMonths, L"20a4", false, IDOK, L"", false,
         2020},
        {L"下一年 steps from the table when the field is empty", Cmd::LunarMonths, L"", false, NextId, L"2021", false,
         2021},
    });
    RunCases(app, Cmd::SolarTerms, {
        {L"the terms of 2024", Cmd::SolarTerms, L"2024", false, IDOK, L"2024", false, 2024},
        {L"纪元前 with 1 is the year 0", Cmd::SolarTerms, L"1", true, IDOK, L"1", true, 0},
        {L"上一年 from 1 BC", Cmd::SolarTerms, L"-", true, PreviousId, L"2", true, -1},
        {L"5000 is the last year", Cmd::SolarTerms, L"5000", false, IDOK, L"5000", false, 5000},
        {L"下一年 at 5000 does nothing", Cmd::SolarTerms, L"-", false, NextId, L"5000", false, 5000},
        {L"5001 empties the field and keeps the table", Cmd::SolarTerms, L"5001", false, IDOK, L"", false, 5000},
        {L"104 BC is the first year", Cmd::SolarTerms, L"104", true, IDOK, L"104", true, -103},
        {L"上一年 at 104 BC does nothing", Cmd::SolarTerms, L"-", true, PreviousId, L"104", true, -103},
        {L"下一年 from 104 BC", Cmd::SolarTerms, L"-", true, NextId, L"103", true, -102},
    });
    RunCases(app, Cmd::MoonPhases, {
        {L"a year whose first event is a full moon", Cmd::MoonPhases, Num(fullMoonFirst), false, IDOK,
         Num(fullMoonFirst), false, fullMoonFirst},
    });
    // What the cases above rest on, checked on the expected texts themselves.
    std::vector<std::wstring> months = LinesOf(Table(Cmd::LunarMonths, 2020));
    Check(L"tables: 2020's table has 13 month lines, 闰四月 after 四月",
          months.size() == 14 && months[4].rfind(L"四月", 0) == 0 && months[5].rfind(L"闰四月", 0) == 0);
    Check(L"tables: the year 0 is headed 前1", LinesOf(Table(Cmd::SolarTerms, 0))[0].rfind(L"    公历 前1 年共 ", 0) == 0);
    Check(L"tables: a full moon first heads each line",
          fullMoonFirst != 0 && LinesOf(Table(Cmd::MoonPhases, fullMoonFirst))[1].rfind(L"望日 ", 0) == 0);

    CheckYearField(app);
    CheckSunTimes(app, 2024);
    app.CheckShows(L"tables: the day window's sun times are still 上海's", shown);
    Check(L"tables: 退出 ends the program with exit code 0", app.Exit());
    CheckText(L"tables: the own place is saved unchanged", L"21", GetValue(L"NowCityCode"));
}
