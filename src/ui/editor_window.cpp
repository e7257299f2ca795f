#include "editor_window.h"

#include <shellapi.h>

#include <vector>

#include "audio_playback.h"
#include "choosers.h"
#include "dpi.h"
#include "editor_dates.h"
#include "memorial_editor.h"
#include "settings.h"
#include "shown_day.h"
#include "tool_window.h"

namespace {

constexpr int ListId = 3201, FirstComboId = 3211, TextId = 3231, AudioId = 3232;
constexpr int FirstAddId = 3241, ChooseId = 3244, PreviewId = 3245, PauseId = 3246, DeleteId = 3247, SaveId = 3248;
constexpr UINT_PTR PreviewTimer = 1;

// The fonts: drop-down lists, labels and text boxes; the list box; the buttons.
const char* const EditorFonts[] = {ToolFontText, "宋体,-14,0,0,0,400,0,0,0,1,0,0,0,0",
                                   "宋体,-12,0,0,0,400,0,0,0,1,0,0,0,0"};
constexpr int BoxFont = 0, ListFont = 1, ButtonFont = 2;

constexpr int ClientWidth = 640, ClientHeight = 418;
constexpr int RowTop = 206, RowStep = 32, TextTop = 306, AudioTop = 338, ButtonTop = 380;

const char* const RowLabels[3][3] = {{"公历年", "公历月", "公历日"}, {"农历年", "农历月", "农历日"}, {"回历年", "回历月", "回历日"}};
const char* const AddCaptions[3][3] = {{"添加公历纪念日", "添加农历纪念日", "添加回历纪念日"},
                                       {"添加公历提醒日", "添加公历提醒日", "添加公历提醒日"},
                                       {"添加公历倒计日", "添加公历倒计日", "添加公历倒计日"}};
const char* const TitleOfMode[3] = {"编辑纪念日", "编辑提醒日", "编辑倒计日"};
const char* const TextLabelOfMode[3] = {"纪念事项", "提醒事项", "倒计事项"};

struct EditorState {
    ToolWindow tool;
    int mode = 0;
    EditorList list;
    std::vector<ControlSpec> specs;
};
EditorState Editor;

EditorMode Mode() { return EditorMode(Editor.mode); }
bool HasAudio() { return Mode() != EditorMode::Countdown; }

// The controls in reading order, which is also the Tab order.
std::vector<ControlSpec> Layout(int mode)
{
    constexpr DWORD Label = SS_CENTERIMAGE, Combo = CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP;
    constexpr DWORD Button = BS_PUSHBUTTON | WS_TABSTOP, Box = WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL;
    std::vector<ControlSpec> specs;
    specs.push_back({L"LISTBOX", LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_HSCROLL | WS_BORDER | WS_TABSTOP,
                     0, ListId, 12, 12, 616, 182, ListFont, ""});
    // Year, month and day lists of a row and where they stand.
    const int comboX[3] = {58, 226, 362}, comboWidth[3] = {116, 84, 64};
    for (int row = 0; row < 3; ++row) {
        int y = RowTop + RowStep * row;
        for (int k = 0; k < 3; ++k) {
            specs.push_back({L"STATIC", Label, 0, 0, comboX[k] - 46, y, 44, 24, BoxFont, RowLabels[row][k]});
            specs.push_back({L"COMBOBOX", Combo, 0, FirstComboId + 3 * row + k, comboX[k], y, comboWidth[k], 300,
                             BoxFont, ""});
        }
        specs.push_back({L"BUTTON", Button, 0, FirstAddId + row, 436, y, 192, 24, ButtonFont, AddCaptions[mode - 1][row]});
    }
    specs.push_back({L"STATIC", Label, 0, 0, 12, TextTop, 60, 24, BoxFont, TextLabelOfMode[mode - 1]});
    specs.push_back({L"EDIT", Box, 0, TextId, 76, TextTop, 200, 24, BoxFont, ""});
    specs.push_back({L"STATIC", Label, 0, 0, 12, AudioTop, 60, 24, BoxFont, "音频文件"});
    if (mode != int(EditorMode::Countdown))
        specs.push_back({L"EDIT", Box, 0, AudioId, 76, AudioTop, 350, 24, BoxFont, ""});
    specs.push_back({L"BUTTON", Button, 0, ChooseId, 436, AudioTop, 100, 24, ButtonFont, "选择音频文件"});
    specs.push_back({L"BUTTON", Button, 0, PreviewId, 542, AudioTop, 40, 24, ButtonFont, "试听"});
    specs.push_back({L"BUTTON", Button, 0, PauseId, 588, AudioTop, 40, 24, ButtonFont, "播放"});
    specs.push_back({L"BUTTON", Button, 0, DeleteId, 372, ButtonTop, 80, 26, ButtonFont, "删除"});
    specs.push_back({L"BUTTON", Button, 0, SaveId, 460, ButtonTop, 80, 26, ButtonFont, "保存"});
    specs.push_back({L"BUTTON", Button, 0, IDCANCEL, 548, ButtonTop, 80, 26, ButtonFont, "取消"});
    return specs;
}

HWND Control(int id) { return ToolControl(Editor.tool, id); }
HWND Combo(MemorialCalendar calendar, int k) { return Control(FirstComboId + 3 * int(calendar) + k); }

void FillDateLists()
{
    for (MemorialCalendar calendar : {MemorialCalendar::Gregorian, MemorialCalendar::Lunar, MemorialCalendar::Hijri}) {
        EditorRowItems items = EditorDateItems(calendar);
        FillList(Combo(calendar, 0), items.years);
        FillList(Combo(calendar, 1), items.months);
        FillList(Combo(calendar, 2), items.days);
    }
}

void ShowRows(const EditorRows& rows)
{
    for (size_t c = 0; c < rows.size(); ++c) {
        if (!rows[c]) continue;
        const int indices[3] = {rows[c]->year, rows[c]->month, rows[c]->day};
        for (int k = 0; k < 3; ++k) SendMessageW(Combo(MemorialCalendar(c), k), CB_SETCURSEL, WPARAM(indices[k]), 0);
    }
}

EditorRow RowShown(MemorialCalendar calendar)
{
    auto at = [&](int k) { return int(SendMessageW(Combo(calendar, k), CB_GETCURSEL, 0, 0)); };
    return {at(0), at(1), at(2)};
}

int SelectedLine() { return int(SendMessageW(Control(ListId), LB_GETCURSEL, 0, 0)); }

void ShowList(int selected)
{
    FillListBox(Control(ListId), Editor.list);
    SendMessageW(Control(ListId), LB_SETCURSEL, WPARAM(selected), 0);
}

// The buttons of the preview follow its state, and so does its timer.
void ShowPreviewState()
{
    SetText(Control(PreviewId), PreviewToggleText());
    SetText(Control(PauseId), PreviewPauseText());
    if (PreviewTimerRunning()) SetTimer(Editor.tool.window, PreviewTimer, 500, nullptr);
    else KillTimer(Editor.tool.window, PreviewTimer);
}

void TakeAudioFile(const std::string& path)
{
    SetPreviewFile(path);
    SetText(Control(AudioId), path);
    ShowPreviewState();
}

void OnSelectLine()
{
    int index = SelectedLine();
    if (index < 0 || size_t(index) >= Editor.list.size()) return;
    const std::string& line = Editor.list[size_t(index)];
    auto fields = ReadEditorLine(line);
    if (!fields) return;
    ShowRows(RowsOfLine(line));
    SetText(Control(TextId), fields->text);
    PreviewStop();
    PreviewPath = HasAudio() ? fields->audio : "";
    if (HasAudio()) SetText(Control(AudioId), fields->audio);
    ShowPreviewState();
}

void OnAdd(MemorialCalendar calendar)
{
    auto date = DateOfRow(calendar, RowShown(calendar));
    if (!date) return;
    std::string audio = HasAudio() ? TextOf(Control(AudioId)) : "";
    AddResult added = AddEditorEntry(Editor.list, Mode(), calendar, date->year, date->month, date->day,
                                     TextOf(Control(TextId)), audio);
    if (added.outcome == AddOutcome::Added) ShowList(added.selected);
}

void OnDelete()
{
    if (DeleteEditorLine(Editor.list, SelectedLine())) ShowList(-1);
    SetText(Control(TextId), "");
    if (HasAudio()) SetText(Control(AudioId), "");
    PreviewStop();
    PreviewPath.clear();
    ShowPreviewState();
}

void OnPreview()
{
    // The audio box may have been typed in: the preview plays what it names.
    if (PreviewOpen == 0) PreviewPath = TextOf(Control(AudioId));
    PreviewToggle();
    ShowPreviewState();
}

void OnCommand(int id)
{
    if (id >= FirstAddId && id < FirstAddId + 3) {
        OnAdd(MemorialCalendar(id - FirstAddId));
        return;
    }
    switch (id) {
    case ChooseId:
        if (std::string path = ChooseAudioFile(Editor.tool.window); !path.empty()) TakeAudioFile(path);
        break;
    case PreviewId: OnPreview(); break;
    case PauseId:
        PreviewPauseResume();
        ShowPreviewState();
        break;
    case DeleteId: OnDelete(); break;
    case SaveId:
        SaveEditorList(Mode(), Editor.list);
        CloseToolWindow(Editor.tool);
        break;
    case IDCANCEL: CloseToolWindow(Editor.tool); break;
    default: break;
    }
}

LRESULT CALLBACK EditorProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND:
        if (LOWORD(wParam) == ListId) {
            if (HIWORD(wParam) == LBN_SELCHANGE) OnSelectLine();
        } else if (HIWORD(wParam) == BN_CLICKED) {
            OnCommand(LOWORD(wParam));
        }
        return 0;
    case WM_TIMER:
        if (wParam == PreviewTimer) {
            PreviewTick();
            ShowPreviewState();
        }
        return 0;
    case WM_DROPFILES: {
        std::string file = DroppedFile(HDROP(wParam));
        if (HasAudio() && IsValidAudioPath(file) == 1) TakeAudioFile(file);
        return 0;
    }
    default: break;
    }
    if (LRESULT result; HandleToolMessage(Editor.tool, message, wParam, lParam, result)) return result;
    return DefWindowProcW(window, message, wParam, lParam);
}

// What the buttons allow: no audio for a countdown, no change of the
// stored days while the program keeps out of the registry.
void EnableButtons()
{
    for (int id : {ChooseId, PreviewId, PauseId}) EnableWindow(Control(id), HasAudio());
    for (int id : {FirstAddId, FirstAddId + 1, FirstAddId + 2, DeleteId, SaveId}) EnableWindow(Control(id), UseRegistry == 1);
}

// For the UI tests: LUMORA_END_SAVE_AFTER_WRITES=1 ends the program the
// moment a save has written its values, as a crash or a log-off would.
void EndSavesAfterWritesWhenAsked()
{
    wchar_t value[4] = L"";
    if (GetEnvironmentVariableW(L"LUMORA_END_SAVE_AFTER_WRITES", value, 4) == 1 && value[0] == L'1')
        AfterEditorWrites = [] { TerminateProcess(GetCurrentProcess(), 9); };
}

}  // namespace

void RunEditorWindow(HWND owner, int mode)
{
    if (Editor.tool.window || mode < int(EditorMode::Memorial) || mode > int(EditorMode::Countdown)) return;
    Editor.mode = mode;
    Editor.specs = Layout(mode);
    if (!CreateToolWindow(Editor.tool, owner, L"LUMORA_EFORM", EditorProc, TitleOfMode[mode - 1], ClientWidth,
                          ClientHeight, Editor.specs))
        return;
    // The editor's controls have fonts of their own.
    Editor.tool.controls.fontTexts = EditorFonts;
    ScaleControls(Editor.tool.controls, Editor.tool.controls.dpi);
    EndSavesAfterWritesWhenAsked();
    FillDateLists();
    ShowRows(RowsOfShownDay(ShownDate));
    Editor.list = LoadEditorList(Mode());
    // Lines with an audio path are longer than the box is wide.
    SendMessageW(Control(ListId), LB_SETHORIZONTALEXTENT, WPARAM(Scaled(1600, Editor.tool.controls.dpi)), 0);
    ShowList(-1);
    EnableButtons();
    PreviewPath.clear();
    ShowPreviewState();
    if (HasAudio()) DragAcceptFiles(Editor.tool.window, TRUE);
    RunToolLoop(Editor.tool, Editor.mode);
    ClosePreview();
    Editor = EditorState{};
}
