#include "tables_window.h"

#include <vector>

#include "places.h"
#include "shown_day.h"
#include "tool_window.h"
#include "yearly_tables.h"

namespace {

constexpr int LabelId = 3101, YearId = 3102, BeforeYearOneId = 3103, CityId = 3104, SunId = 3105, TwilightId = 3106,
              ResultId = 3107, PreviousId = 3108, NextId = 3109;

// The buttons under the result: 上一年 and 下一年 at the left.
constexpr int ClientWidth = ToolClientWidth, ResultHeight = 320, ButtonWidth = ToolButtonWidth,
              ButtonHeight = ToolButtonHeight;

struct TablesState {
    ToolWindow tool;
    int mode = 0;
    // The year of the table shown, astronomical.
    int32_t year = 0;
    std::string label;
    std::vector<ControlSpec> specs;
};
TablesState Tables;

TableMode Mode() { return TableMode(Tables.mode); }
bool IsSunTimes() { return Mode() == TableMode::SunTimes; }

int ResultTop() { return IsSunTimes() ? 76 : 44; }
int ButtonsTop() { return ResultTop() + ResultHeight + 10; }

std::vector<ControlSpec> Layout()
{
    std::vector<ControlSpec> specs;
    AddYearRow(specs, 12, LabelId, Tables.label.c_str(), YearId, BeforeYearOneId);
    if (IsSunTimes()) {
        specs.push_back({L"COMBOBOX", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP | WS_GROUP, 0, CityId, ToolLabelX, 44, 156,
                         300, 0, nullptr});
        specs.push_back({L"BUTTON", BS_AUTORADIOBUTTON | WS_TABSTOP | WS_GROUP, 0, SunId, ToolBoxX, 46, 120, 20, 0,
                         "日出日落时刻"});
        specs.push_back({L"BUTTON", BS_AUTORADIOBUTTON, 0, TwilightId, 300, 46, 120, 20, 0, "天亮天黑时刻"});
    }
    int buttons = ButtonsTop();
    specs.insert(specs.end(), {
        {L"EDIT", ToolResultStyle, 0, ResultId, 12, ResultTop(), ClientWidth - 24, ResultHeight, 0, ""},
        {L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP | WS_GROUP, 0, PreviousId, 12, buttons, ButtonWidth, ButtonHeight, 0,
         "上一年"},
        {L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP | WS_GROUP, 0, NextId, 12 + ButtonWidth + 12, buttons, ButtonWidth,
         ButtonHeight, 0, "下一年"},
    });
    AddActionButtons(specs, buttons, "计算");
    return specs;
}

HWND Control(int id) { return ToolControl(Tables.tool, id); }
bool IsChecked(int id) { return IsButtonChecked(Control(id)); }
void SetChecked(int id, bool on) { CheckButton(Control(id), on); }

std::string TableOf(int32_t year)
{
    switch (Mode()) {
    case TableMode::LunarMonths: return LunarMonthsTable(year);
    case TableMode::SolarTerms: return SolarTermsTable(year);
    case TableMode::Moons: return MoonsTable(year);
    case TableMode::SunTimes: {
        LRESULT index = SendMessageW(Control(CityId), CB_GETCURSEL, 0, 0);
        return SunTimesTable(year, int32_t(index) + 1, IsChecked(TwilightId));
    }
    }
    return "";
}

void ShowTable(int32_t year)
{
    Tables.year = year;
    // The table may take a moment (a year of sun times): the hourglass meanwhile.
    HCURSOR previous = SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(32514)));
    SetText(Control(ResultId), TableOf(year));
    SetCursor(previous);
}

void ShowYearField(int32_t year)
{
    YearField field = TableYearField(year);
    SetText(Control(YearId), field.text);
    SetChecked(BeforeYearOneId, field.beforeYearOne);
}

void OnCompute()
{
    YearFieldResult read = ReadTableYearField(Mode(), TextOf(Control(YearId)), IsChecked(BeforeYearOneId));
    switch (read.check) {
    case YearFieldCheck::Accepted: ShowTable(read.year); break;
    case YearFieldCheck::Empty: break;
    case YearFieldCheck::NotDigits:
    case YearFieldCheck::OutOfRange: SetText(Control(YearId), ""); break;
    }
}

// 上一年 and 下一年 step from the typed year when it is accepted, else from
// the table shown.
void OnStep(int step)
{
    YearFieldResult read = ReadTableYearField(Mode(), TextOf(Control(YearId)), IsChecked(BeforeYearOneId));
    auto next = StepTableYear(Mode(), read.check == YearFieldCheck::Accepted ? read.year : Tables.year, step);
    if (!next) return;
    ShowYearField(*next);
    ShowTable(*next);
}

void FillCities()
{
    HWND list = Control(CityId);
    std::vector<std::string> names;
    for (int32_t code = 1; code <= BuiltInCityCount; ++code) names.push_back(BuiltInCity(code).name);
    FillList(list, names);
    // The user's own place is not in the list: its first city stands in.
    int32_t code = CurrentPlace.cityCode >= 1 && CurrentPlace.cityCode <= BuiltInCityCount ? CurrentPlace.cityCode : 1;
    SendMessageW(list, CB_SETCURSEL, WPARAM(code - 1), 0);
    SetChecked(SunId, true);
}

LRESULT CALLBACK TablesProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND) {
        switch (LOWORD(wParam)) {
        case IDOK: OnCompute(); break;
        case IDCANCEL: CloseToolWindow(Tables.tool); break;
        case PreviousId: OnStep(-1); break;
        case NextId: OnStep(+1); break;
        default: break;
        }
        return 0;
    }
    if (LRESULT result; HandleToolMessage(Tables.tool, message, wParam, lParam, result)) return result;
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

void RunTablesWindow(HWND owner, int mode)
{
    if (Tables.tool.window || mode < int(TableMode::LunarMonths) || mode > int(TableMode::SunTimes)) return;
    Tables.mode = mode;
    Tables.label = TableYearLabel(Mode());
    Tables.specs = Layout();
    if (!CreateToolWindow(Tables.tool, owner, L"LUMORA_TFORM", TablesProc, TableTitle(Mode()), ClientWidth,
                          ButtonsTop() + ButtonHeight + 12, Tables.specs))
        return;
    if (IsSunTimes()) FillCities();
    // The tool opens on the shown day's year (its lunar year for the lunar
    // months) with the table already made.
    int32_t year = Mode() == TableMode::LunarMonths ? ShownLunar.year : ShownDate.year;
    if (!IsTableYear(Mode(), year)) year = Mode() == TableMode::LunarMonths ? FirstTableYear(Mode()) : ShownDate.year;
    ShowYearField(year);
    ShowTable(year);
    RunToolLoop(Tables.tool, Tables.mode);
    Tables = TablesState{};
}
