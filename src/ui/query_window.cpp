#include "query_window.h"

#include <algorithm>
#include <vector>

#include "condition_query.h"
#include "shown_day.h"
#include "tool_window.h"

namespace {

constexpr int StartLabelId = 3201, StartYearId = 3202, BeforeYearOneId = 3203, SpanLabelId = 3204, SpanId = 3205,
              LeapMonthsId = 3206, LeapMonthId = 3207, ThreeLongId = 3208, ThreeShortId = 3209, FourLongId = 3210,
              StatusId = 3211, ResultId = 3212, FirstCriterionLabelId = 3220, FirstCriterionId = 3240;

// The criteria of the days mode in a grid of three columns, read row by row.
constexpr DayCriterion Grid[DayCriterionCount] = {
    DayCriterion::GregorianMonth, DayCriterion::GregorianDay, DayCriterion::Weekday,
    DayCriterion::LunarMonth,     DayCriterion::LunarDay,     DayCriterion::Term,
    DayCriterion::HijriMonth,     DayCriterion::HijriDay,     DayCriterion::Festival,
    DayCriterion::YearCycle,      DayCriterion::MonthCycle,   DayCriterion::DayCycle,
};

constexpr int ClientWidth = ToolClientWidth, ResultHeight = 320;
constexpr DWORD FieldStyle = WS_BORDER | WS_TABSTOP | WS_GROUP | ES_AUTOHSCROLL | ES_NUMBER;
constexpr DWORD ListStyle = CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP | WS_GROUP;

struct QueryState {
    ToolWindow tool;
    int mode = 0;
    bool searching = false;
    bool stopRequested = false;
    // The window was closed during a search: it closes once the search stopped.
    bool closeRequested = false;
    // A percentage not shown yet, and when the status line last changed.
    std::string pendingStatus;
    DWORD statusShownAt = 0;
    std::vector<std::string> labels;
    std::vector<ControlSpec> specs;
};
QueryState Query;

QueryMode Mode() { return QueryMode(Query.mode); }
int StatusTop() { return Mode() == QueryMode::Months ? 76 : 172; }
int ButtonsTop() { return StatusTop() + 24 + ResultHeight + 10; }

std::vector<ControlSpec> Layout()
{
    std::vector<ControlSpec> specs;
    AddYearRow(specs, 12, StartLabelId, "起始年份", StartYearId, BeforeYearOneId);
    specs.insert(specs.end(), {
        {L"STATIC", SS_CENTERIMAGE, 0, SpanLabelId, 250, 12, 72, 24, 0, "查询范围"},
        {L"EDIT", FieldStyle, 0, SpanId, 326, 12, 80, 24, 0, "10"},
    });
    if (Mode() == QueryMode::Months) {
        constexpr DWORD Radio = BS_AUTORADIOBUTTON;
        specs.insert(specs.end(), {
            {L"BUTTON", Radio | WS_TABSTOP | WS_GROUP, 0, LeapMonthsId, 12, 46, 84, 20, 0, "农历闰月"},
            {L"BUTTON", Radio, 0, ThreeLongId, 166, 46, 88, 20, 0, "三连大月"},
            {L"BUTTON", Radio, 0, ThreeShortId, 258, 46, 88, 20, 0, "三连小月"},
            {L"BUTTON", Radio, 0, FourLongId, 350, 46, 88, 20, 0, "四连大月"},
            {L"COMBOBOX", ListStyle, 0, LeapMonthId, 100, 44, 56, 300, 0, nullptr},
        });
    } else {
        for (int i = 0; i < DayCriterionCount; ++i) {
            int x = 12 + 152 * (i % 3), y = 44 + 32 * (i / 3);
            DWORD style = Grid[i] == DayCriterion::Festival ? (ListStyle & ~DWORD(CBS_DROPDOWNLIST)) | CBS_DROPDOWN |
                                                                  CBS_AUTOHSCROLL
                                                            : ListStyle;
            specs.push_back({L"STATIC", SS_CENTERIMAGE, 0, FirstCriterionLabelId + i, x, y, 44, 24, 0,
                             Query.labels[size_t(i)].c_str()});
            specs.push_back({L"COMBOBOX", style, 0, FirstCriterionId + i, x + 46, y, 96, 300, 0, nullptr});
        }
    }
    int buttons = ButtonsTop();
    specs.insert(specs.end(), {
        {L"STATIC", SS_LEFTNOWORDWRAP | SS_NOPREFIX, 0, StatusId, 12, StatusTop(), ClientWidth - 24, 20, 0, ""},
        {L"EDIT", ToolResultStyle, 0, ResultId, 12, StatusTop() + 24, ClientWidth - 24, ResultHeight, 0, ""},
    });
    AddActionButtons(specs, buttons, "查询");
    return specs;
}

HWND Control(int id) { return ToolControl(Query.tool, id); }
bool IsChecked(int id) { return IsButtonChecked(Control(id)); }
int Selected(int id) { return int(SendMessageW(Control(id), CB_GETCURSEL, 0, 0)); }

MonthQuery ReadMonthQuery()
{
    MonthQuery query;
    query.search = IsChecked(ThreeLongId)    ? MonthSearch::ThreeLong
                   : IsChecked(ThreeShortId) ? MonthSearch::ThreeShort
                   : IsChecked(FourLongId)   ? MonthSearch::FourLong
                                             : MonthSearch::LeapMonths;
    query.leapMonth = std::max(0, Selected(LeapMonthId));
    return query;
}

DayQuery ReadDayQuery()
{
    DayQuery query;
    for (int i = 0; i < DayCriterionCount; ++i)
        SetDayCriterion(query, Grid[i], Selected(FirstCriterionId + i), TextOf(Control(FirstCriterionId + i)));
    return query;
}

// The search runs on the window's thread: after every step the waiting
// input is handled, so "取消" and the close box are heard.
QueryResult Search(const QuerySpan& span)
{
    QueryHooks hooks;
    // The percentage changes ten thousand times in a long search of days;
    // drawing each change would cost more than the search itself, so the
    // line shows the latest percentage ten times a second.
    hooks.progress = [](const QueryProgress& progress) {
        if (progress.statusChanged) Query.pendingStatus = progress.statusLine;
        DWORD now = GetTickCount();
        if (!Query.pendingStatus.empty() && now - Query.statusShownAt >= 100) {
            SetText(Control(StatusId), Query.pendingStatus);
            Query.pendingStatus.clear();
            Query.statusShownAt = now;
        }
        if (!ProcessPendingInput(Query.tool)) Query.stopRequested = true;
    };
    hooks.stopRequested = [] { return Query.stopRequested; };
    if (Mode() == QueryMode::Months) {
        MonthQuery query = ReadMonthQuery();
        query.firstYear = span.firstYear;
        query.years = span.years;
        return SearchConditionMonths(query, hooks);
    }
    DayQuery query = ReadDayQuery();
    query.firstYear = span.firstYear;
    query.years = span.years;
    return SearchConditionDays(query, hooks);
}

void OnQuery()
{
    if (Query.searching) return;
    QuerySpan span = ReadQuerySpan(Mode(), {TextOf(Control(StartYearId)), IsChecked(BeforeYearOneId),
                                            TextOf(Control(SpanId))});
    SetText(Control(StartYearId), span.fields.startYear);
    SetText(Control(SpanId), span.fields.years);
    if (!span.ok || (Mode() == QueryMode::Days && !HasAnyCriterion(ReadDayQuery()))) return;
    Query.searching = true;
    Query.stopRequested = false;
    Query.statusShownAt = GetTickCount() - 1000;
    SetText(Control(StatusId), "");
    SetText(Control(ResultId), "");
    QueryResult result = Search(span);
    Query.searching = false;
    Query.stopRequested = false;
    // The window may have gone with its owner meanwhile.
    if (!IsWindow(Query.tool.window)) return;
    if (Query.closeRequested) {
        CloseToolWindow(Query.tool);
        return;
    }
    SetText(Control(StatusId), result.status);
    SetText(Control(ResultId), result.found);
}

void OnCancel()
{
    if (Query.searching) Query.stopRequested = true;
    else CloseToolWindow(Query.tool);
}

LRESULT CALLBACK QueryProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) OnQuery();
        else if (LOWORD(wParam) == IDCANCEL) OnCancel();
        return 0;
    case WM_CLOSE:
        // A search stops first; the window closes when it has.
        if (Query.searching) {
            Query.closeRequested = Query.stopRequested = true;
            return 0;
        }
        break;
    default: break;
    }
    if (LRESULT result; HandleToolMessage(Query.tool, message, wParam, lParam, result)) return result;
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

void RunQueryWindow(HWND owner, int mode)
{
    if (Query.tool.window || mode < int(QueryMode::Months) || mode > int(QueryMode::Days)) return;
    Query.mode = mode;
    for (DayCriterion criterion : Grid) Query.labels.push_back(DayCriterionLabel(criterion));
    Query.specs = Layout();
    if (!CreateToolWindow(Query.tool, owner, L"LUMORA_SFORM", QueryProc, QueryTitle(Mode()), ClientWidth,
                          ButtonsTop() + ToolButtonHeight + 12, Query.specs))
        return;
    if (Mode() == QueryMode::Months) {
        FillList(Control(LeapMonthId), LeapMonthItems());
        SendMessageW(Control(LeapMonthId), CB_SETCURSEL, 0, 0);
        CheckButton(Control(LeapMonthsId), true);
    } else {
        for (int i = 0; i < DayCriterionCount; ++i) {
            FillList(Control(FirstCriterionId + i), DayCriterionItems(Grid[i]));
            SendMessageW(Control(FirstCriterionId + i), CB_SETCURSEL, 0, 0);
        }
    }
    // The search starts at the shown day's year (its lunar year for months).
    int32_t year = Mode() == QueryMode::Months ? ShownLunar.year : ShownDate.year;
    if (!IsQueryStartYear(Mode(), year)) year = FirstQueryYear(Mode());
    SetText(Control(StartYearId), std::to_string(year <= 0 ? 1 - int64_t(year) : year));
    CheckButton(Control(BeforeYearOneId), year <= 0);
    RunToolLoop(Query.tool, Query.mode);
    Query = QueryState{};
}
