// The condition query tool in its two modes, opened through the menu.
#include "scenarios.h"

#include "condition_query.h"
#include "driver.h"

namespace {

constexpr int StartYearId = 3202, BeforeYearOneId = 3203, SpanId = 3205, LeapMonthsId = 3206, LeapMonthId = 3207,
              ThreeLongId = 3208, ThreeShortId = 3209, FourLongId = 3210, StatusId = 3211, ResultId = 3212,
              FirstCriterionLabelId = 3220, FirstCriterionId = 3240;

// The window's grid, row by row: the criterion of each list.
const DayCriterion Grid[DayCriterionCount] = {
    DayCriterion::GregorianMonth, DayCriterion::GregorianDay, DayCriterion::Weekday,
    DayCriterion::LunarMonth,     DayCriterion::LunarDay,     DayCriterion::Term,
    DayCriterion::HijriMonth,     DayCriterion::HijriDay,     DayCriterion::Festival,
    DayCriterion::YearCycle,      DayCriterion::MonthCycle,   DayCriterion::DayCycle,
};

int ListOf(DayCriterion criterion)
{
    for (int i = 0; i < DayCriterionCount; ++i)
        if (Grid[i] == criterion) return FirstCriterionId + i;
    return 0;
}

// Waits for the end of a search: the status line no longer says it runs.
bool Finished(HWND tool, DWORD timeoutMs = 20000)
{
    return WaitFor([&] { return FieldOf(tool, StatusId).find(L"正在查询") == std::wstring::npos && FieldOf(tool, StatusId) != L""; },
                   timeoutMs);
}

struct MonthCase {
    const wchar_t* name;
    int option;
    int leapMonth;
    int32_t firstYear, years;
};

void RunMonthCase(HWND tool, const MonthCase& c)
{
    for (int id : {LeapMonthsId, ThreeLongId, ThreeShortId, FourLongId}) SetCheck(tool, id, id == c.option);
    Send(GetDlgItem(tool, LeapMonthId), CB_SETCURSEL, WPARAM(c.leapMonth), 0);
    SetField(tool, StartYearId, Num(c.firstYear <= 0 ? 1 - c.firstYear : c.firstYear));
    SetCheck(tool, BeforeYearOneId, c.firstYear <= 0);
    SetField(tool, SpanId, Num(c.years));
    SetField(tool, StatusId, L"");
    Click(tool, IDOK);
    MonthQuery query;
    query.search = c.option == ThreeLongId    ? MonthSearch::ThreeLong
                   : c.option == ThreeShortId ? MonthSearch::ThreeShort
                   : c.option == FourLongId   ? MonthSearch::FourLong
                                              : MonthSearch::LeapMonths;
    query.leapMonth = c.leapMonth;
    query.firstYear = c.firstYear;
    query.years = c.years;
    QueryResult expected = SearchConditionMonths(query);
    Finished(tool);
    Check(L"queries: " + std::wstring(c.name),
          FieldOf(tool, StatusId) == Wide(expected.status) && FieldOf(tool, ResultId) == Wide(expected.found),
          L"status " + Quoted(FieldOf(tool, StatusId)) + L" where " + Quoted(Wide(expected.status)) + L" was expected");
}

void CheckMonths(Lumora& app)
{
    HWND tool = OpenTool(app, Cmd::ConditionMonths, L"LUMORA_SFORM", L"查询条件月");
    if (!tool) return;
    std::wstring labels;
    for (int id : {LeapMonthsId, ThreeLongId, ThreeShortId, FourLongId, IDOK, IDCANCEL}) labels += FieldOf(tool, id) + L"|";
    CheckText(L"queries: the options and buttons of 查询条件月", L"农历闰月|三连大月|三连小月|四连大月|查询|取消|", labels);
    std::vector<std::wstring> leap = ComboItems(GetDlgItem(tool, LeapMonthId));
    Check(L"queries: the leap-month list is empty, then 1..12",
          leap.size() == 13 && leap[0].empty() && leap[1] == L"1" && leap[12] == L"12");
    const MonthCase cases[] = {
        {L"no leap month in 2021 and 2022", LeapMonthsId, 0, 2021, 2},
        {L"the leap months of 2000..2030", LeapMonthsId, 0, 2000, 31},
        {L"the leap 4th months of 2000..2030", LeapMonthsId, 4, 2000, 31},
        {L"four long months in a row are one group of three", ThreeLongId, 0, 1920, 2},
        {L"a run across the end of 1903 is one group", ThreeLongId, 0, 1903, 2},
        {L"three short months in a row", ThreeShortId, 0, 2089, 1},
        {L"four long months in a row", FourLongId, 0, 1920, 2},
    };
    for (const MonthCase& c : cases) RunMonthCase(tool, c);
    CheckText(L"queries: the span without a leap month", L"    共找到 0 个农历闰月",
              Wide(SearchConditionMonths({MonthSearch::LeapMonths, 0, 2021, 2}).status));
    // A span past 5000 is cut and the shortened number written back.
    SetField(tool, StartYearId, L"4990");
    SetCheck(tool, BeforeYearOneId, false);
    SetField(tool, SpanId, L"100");
    Click(tool, IDOK);
    Finished(tool);
    CheckText(L"queries: a span running past 5000 is cut to end there", L"11", FieldOf(tool, SpanId));
    SetField(tool, StartYearId, L"19x0");
    Click(tool, IDOK);
    WaitFor([&] { return FieldOf(tool, StartYearId).empty(); }, 3000);
    CheckText(L"queries: a start year with a letter is emptied", L"", FieldOf(tool, StartYearId));
    CloseTool(app, tool, L"查询条件月");
}

void ChooseItem(HWND tool, DayCriterion criterion, int item)
{
    Send(GetDlgItem(tool, ListOf(criterion)), CB_SETCURSEL, WPARAM(item), 0);
}

void ClearCriteria(HWND tool)
{
    for (int i = 0; i < DayCriterionCount; ++i) Send(GetDlgItem(tool, FirstCriterionId + i), CB_SETCURSEL, 0, 0);
    SetField(tool, ListOf(DayCriterion::Festival), L"");
}

void SetSpan(HWND tool, int32_t firstYear, int32_t years)
{
    SetField(tool, StartYearId, Num(firstYear <= 0 ? 1 - firstYear : firstYear));
    SetCheck(tool, BeforeYearOneId, firstYear <= 0);
    SetField(tool, SpanId, Num(years));
}

void CheckDaySearch(HWND tool, const std::wstring& name, const DayQuery& query)
{
    SetSpan(tool, query.firstYear, query.years);
    SetField(tool, StatusId, L"");
    Click(tool, IDOK);
    QueryResult expected = SearchConditionDays(query);
    Finished(tool);
    Check(L"queries: " + name,
          FieldOf(tool, StatusId) == Wide(expected.status) && FieldOf(tool, ResultId) == Wide(expected.found) &&
              expected.count > 0,
          L"status " + Quoted(FieldOf(tool, StatusId)) + L" where " + Quoted(Wide(expected.status)) + L" was expected");
}

// A search over the whole range, started and left running.
bool StartLongSearch(HWND tool)
{
    ClearCriteria(tool);
    ChooseItem(tool, DayCriterion::Festival, 1);  // 复活节: every day's festivals are looked at
    SetSpan(tool, -103, 5104);
    SetField(tool, StatusId, L"");
    Click(tool, IDOK);
    return WaitFor([&] { return FieldOf(tool, StatusId).find(L"正在查询") != std::wstring::npos; }, 5000);
}

void CheckDays(Lumora& app)
{
    HWND tool = OpenTool(app, Cmd::ConditionDays, L"LUMORA_SFORM", L"查询条件日");
    if (!tool) return;
    std::wstring wrong;
    for (int i = 0; i < DayCriterionCount; ++i) {
        std::vector<std::wstring> expected;
        for (const std::string& item : DayCriterionItems(Grid[i])) expected.push_back(Wide(item));
        if (FieldOf(tool, FirstCriterionLabelId + i) != Wide(DayCriterionLabel(Grid[i])) ||
            ComboItems(GetDlgItem(tool, FirstCriterionId + i)) != expected)
            wrong += Wide(DayCriterionLabel(Grid[i])) + L" ";
    }
    Check(L"queries: the twelve criteria with their lists", wrong.empty(), wrong);

    DayQuery beginning;
    beginning.gregorianMonth = 2;
    beginning.term = "立春";
    beginning.firstYear = 2020;
    beginning.years = 5;
    ClearCriteria(tool);
    ChooseItem(tool, DayCriterion::GregorianMonth, 2);
    ChooseItem(tool, DayCriterion::Term, 3);
    CheckDaySearch(tool, L"立春 in February of 2020..2024, listed", beginning);
    DayQuery typed;
    typed.festival = "国庆";
    typed.firstYear = 2024;
    typed.years = 1;
    ClearCriteria(tool);
    SetField(tool, ListOf(DayCriterion::Festival), L"国庆");
    CheckDaySearch(tool, L"a typed festival name", typed);

    // 取消 during a search over the whole range; the window answers meanwhile.
    if (Check(L"queries: a search over -103..5000 runs", StartLongSearch(tool))) {
        DWORD t0 = GetTickCount();
        bool answered = Send(tool, WM_GETTEXTLENGTH, 0, 0, 1000).has_value();
        Check(L"queries: the window answers a sent message within a second during the search",
              answered && GetTickCount() - t0 < 1000, Num(GetTickCount() - t0) + L" ms");
        Click(tool, IDOK);  // ignored while the search runs
        Click(tool, IDCANCEL);
        bool stopped = WaitFor([&] { return FieldOf(tool, StatusId).empty(); }, 5000);
        Sleep(1000);
        Check(L"queries: 取消 stops the search, empties the status line and lists nothing",
              stopped && FieldOf(tool, StatusId).empty() && FieldOf(tool, ResultId).empty() && IsWindow(tool),
              L"status " + Quoted(FieldOf(tool, StatusId)));
    }
    ClearCriteria(tool);
    SetField(tool, ListOf(DayCriterion::Festival), L"国庆");
    CheckDaySearch(tool, L"a search after a stopped one", typed);
    if (StartLongSearch(tool)) {
        PostMessageW(tool, WM_CLOSE, 0, 0);
        Check(L"queries: closing the window during a search stops it and closes",
              WaitFor([&] { return !IsWindow(tool) && IsWindowEnabled(app.wnd); }, 5000));
    }
    if (IsWindow(tool)) CloseTool(app, tool, L"查询条件日");
}

}  // namespace

void ScenarioQueries(Lumora& app)
{
    PrepareSettings({{L"Version", L"4.0"}});
    mirror = Mirror{};
    if (!StartChecked(app, L"queries")) return;
    app.GoTo({2024, 6, 1});
    CheckMonths(app);
    CheckDays(app);
    Check(L"queries: 退出 ends the program with exit code 0", app.Exit());
}
