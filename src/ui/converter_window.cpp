#include "converter_window.h"

#include <vector>

#include "converter.h"
#include "shown_day.h"
#include "tool_window.h"

namespace {

// A date field's row: the field, its three calendars and "纪元前".
constexpr int FirstRowId = 3001, SecondRowId = 3011, CaptionId = 3021, ResultId = 3022;
constexpr int FieldOffset = 0, GregorianOffset = 1, LunarOffset = 2, HijriOffset = 3, BeforeYearOneOffset = 4;

// Rows are 32 pixels apart; the buttons sit under the last row.
constexpr int RowHeight = 32, TopMargin = 12;

struct ConverterState {
    ToolWindow tool;
    int mode = 0;
    // The interval mode's second arrangement: a date and a number of days
    // give the second date.
    bool intervalToDate = false;
    std::string caption, action;
    std::vector<ControlSpec> specs;
};
ConverterState Converter;

bool HasSecondDate(int mode) { return mode == IntervalMode || mode == ConversionMode; }
bool HasResult(int mode) { return mode != ConversionMode; }

void AddDateRow(std::vector<ControlSpec>& specs, int firstId, int y)
{
    constexpr DWORD Radio = BS_AUTORADIOBUTTON;
    specs.push_back({L"EDIT", WS_BORDER | WS_TABSTOP | WS_GROUP | ES_AUTOHSCROLL, 0, firstId + FieldOffset, 12, y, 110,
                     24, 0, ""});
    specs.push_back({L"BUTTON", Radio | WS_TABSTOP | WS_GROUP, 0, firstId + GregorianOffset, 134, y + 2, 84, 20, 0,
                     "公历日期"});
    specs.push_back({L"BUTTON", Radio, 0, firstId + LunarOffset, 222, y + 2, 84, 20, 0, "农历日期"});
    specs.push_back({L"BUTTON", Radio, 0, firstId + HijriOffset, 310, y + 2, 84, 20, 0, "回历日期"});
    specs.push_back({L"BUTTON", BS_AUTOCHECKBOX | WS_TABSTOP | WS_GROUP, 0, firstId + BeforeYearOneOffset, 398, y + 2,
                     64, 20, 0, "纪元前"});
}

// The controls of a mode in reading order, which is also the Tab order. In
// the second arrangement the number of days comes before the second date.
std::vector<ControlSpec> Layout(int mode, bool intervalToDate)
{
    std::vector<ControlSpec> specs;
    int row = 0;
    auto y = [&row] { return TopMargin + RowHeight * row++; };
    auto addResult = [&] {
        int at = y();
        specs.push_back({L"STATIC", SS_NOTIFY | SS_CENTERIMAGE, 0, CaptionId, 12, at, 110, 24, 0,
                         Converter.caption.c_str()});
        specs.push_back({L"EDIT", WS_BORDER | WS_TABSTOP | WS_GROUP | ES_AUTOHSCROLL, 0, ResultId, 134, at, 324, 24,
                         0, ""});
    };
    AddDateRow(specs, FirstRowId, y());
    if (HasResult(mode) && intervalToDate) addResult();
    if (HasSecondDate(mode)) AddDateRow(specs, SecondRowId, y());
    if (HasResult(mode) && !intervalToDate) addResult();
    AddActionButtons(specs, TopMargin + RowHeight * row + 6, Converter.action.c_str());
    return specs;
}

int ClientHeight(int mode)
{
    return TopMargin + RowHeight * (1 + HasSecondDate(mode) + HasResult(mode)) + 6 + ToolButtonHeight + 12;
}

HWND Control(int id) { return ToolControl(Converter.tool, id); }

bool IsChecked(int id) { return IsButtonChecked(Control(id)); }
void SetChecked(int id, bool on) { CheckButton(Control(id), on); }

DateField ReadRow(int firstId)
{
    DateField field;
    field.text = TextOf(Control(firstId + FieldOffset));
    field.calendar = IsChecked(firstId + LunarOffset)   ? FieldCalendar::Lunar
                     : IsChecked(firstId + HijriOffset) ? FieldCalendar::Hijri
                                                        : FieldCalendar::Gregorian;
    field.beforeYearOne = IsChecked(firstId + BeforeYearOneOffset);
    return field;
}

void ShowRow(int firstId, const DateField& field)
{
    SetText(Control(firstId + FieldOffset), field.text);
    SetChecked(firstId + GregorianOffset, field.calendar == FieldCalendar::Gregorian);
    SetChecked(firstId + LunarOffset, field.calendar == FieldCalendar::Lunar);
    SetChecked(firstId + HijriOffset, field.calendar == FieldCalendar::Hijri);
    SetChecked(firstId + BeforeYearOneOffset, field.beforeYearOne);
}

void OnAction()
{
    const int mode = Converter.mode;
    ConverterFields fields;
    fields.first = ReadRow(FirstRowId);
    if (HasSecondDate(mode)) fields.second = ReadRow(SecondRowId);
    if (HasResult(mode)) fields.result = TextOf(Control(ResultId));
    ConverterFields after = ConverterAction(mode, Converter.intervalToDate, fields);
    SetText(Control(FirstRowId + FieldOffset), after.first.text);
    if (HasSecondDate(mode)) SetText(Control(SecondRowId + FieldOffset), after.second.text);
    if (HasResult(mode)) SetText(Control(ResultId), after.result);
}

// A double click on "间隔日数" switches the arrangement: the controls move,
// and the Tab order follows them.
void SwitchArrangement()
{
    Converter.intervalToDate = !Converter.intervalToDate;
    std::vector<ControlSpec> next = Layout(Converter.mode, Converter.intervalToDate);
    ControlSet& set = Converter.tool.controls;
    std::vector<HWND> reordered;
    for (const ControlSpec& spec : next) reordered.push_back(Control(spec.id));
    Converter.specs = std::move(next);
    set.specs = Converter.specs;
    set.controls = reordered;
    ScaleControls(set, set.dpi);
    for (size_t i = 1; i < reordered.size(); ++i)
        SetWindowPos(reordered[i], reordered[i - 1], 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

// A double click on a field selects its whole text.
bool ConverterKeys(const MSG& msg)
{
    if (msg.message != WM_LBUTTONDBLCLK) return false;
    int id = GetDlgCtrlID(msg.hwnd);
    if (id != ResultId && id != FirstRowId + FieldOffset && id != SecondRowId + FieldOffset) return false;
    SetFocus(msg.hwnd);
    SendMessageW(msg.hwnd, EM_SETSEL, 0, -1);
    return true;
}

LRESULT CALLBACK ConverterProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND) {
        int id = LOWORD(wParam);
        if (id == IDOK) OnAction();
        else if (id == IDCANCEL) CloseToolWindow(Converter.tool);
        else if (id == CaptionId && HIWORD(wParam) == STN_DBLCLK && Converter.mode == IntervalMode)
            SwitchArrangement();
        return 0;
    }
    if (LRESULT result; HandleToolMessage(Converter.tool, message, wParam, lParam, result)) return result;
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

void RunConverterWindow(HWND owner, int mode)
{
    if (Converter.tool.window || mode < JulianDayMode || mode > ConversionMode) return;
    Converter.mode = mode;
    Converter.intervalToDate = false;
    Converter.caption = ResultCaption(mode);
    Converter.action = ActionButtonText(mode);
    Converter.specs = Layout(mode, false);
    if (!CreateToolWindow(Converter.tool, owner, L"LUMORA_JFORM", ConverterProc, ConverterTitle(mode), ToolClientWidth,
                          ClientHeight(mode), Converter.specs))
        return;
    DateField shown = InitialDateField(ShownDate);
    ShowRow(FirstRowId, shown);
    if (HasSecondDate(mode)) ShowRow(SecondRowId, shown);
    RunToolLoop(Converter.tool, Converter.mode, ConverterKeys);
    Converter = ConverterState{};
}
