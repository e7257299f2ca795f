// The memorial editor in its three modes, opened through the menu, against
// the real registry: what it lists, adds, replaces, deletes and saves, what
// the day window shows afterwards, and a save cut short after its writes.
#include "scenarios.h"

#include "driver.h"

#include <commctrl.h>

#include "editor_dates.h"
#include "platform.h"
#include "stored_days.h"

namespace {

constexpr int ListId = 3201, FirstComboId = 3211, TextId = 3231, AudioId = 3232;
constexpr int FirstAddId = 3241, ChooseId = 3244, PreviewId = 3245, PauseId = 3246, DeleteId = 3247, SaveId = 3248;

const wchar_t SolarKey[] = L"Software\\Lumora\\SolarMemorial";
const wchar_t LunarKey[] = L"Software\\Lumora\\LunarMemorial";
const wchar_t HijriKey[] = L"Software\\Lumora\\MuharramMemorial";
const wchar_t ReminderKey[] = L"Software\\Lumora\\SolarReminded";

const wchar_t* const Titles[] = {L"编辑纪念日", L"编辑提醒日", L"编辑倒计日"};

// Stored data as the program writes it: era and year, then the text
// right-aligned in 20 bytes.
std::wstring Stored(const std::string& eraDate, const std::string& text)
{
    return Wide(eraDate + RightAlignedStoredText(CutStoredText(text)));
}

struct Value {
    const wchar_t* key;
    const wchar_t* name;
    std::wstring data;  // L"" for a value that must be absent
};

// One date added with one of the three add buttons.
struct Added {
    MemorialCalendar calendar;
    int32_t year;
    int month, day;
    std::string text;
};

struct EditorCase {
    const wchar_t* name;
    int command;
    std::vector<Value> before;
    std::vector<int> deleted;  // lines deleted first, in this order
    std::vector<Added> added;
    size_t lines;              // the list's lines afterwards
    bool save;                 // 保存, else 取消
    std::vector<Value> after;
    std::vector<const wchar_t*> keysGone;
};

std::vector<EditorCase> Cases()
{
    const MemorialCalendar G = MemorialCalendar::Gregorian, L = MemorialCalendar::Lunar, H = MemorialCalendar::Hijri;
    std::vector<Value> twenty;
    for (int i = 0; i < 20; ++i)
        twenty.push_back({ReminderKey, nullptr, Stored("AD01-" + std::string(i < 9 ? "0" : "") + std::to_string(i + 1) + "-2030", "日")});
    static const wchar_t* const letters[] = {L"A", L"B", L"C", L"D", L"E", L"F", L"G", L"H", L"I", L"J",
                                             L"K", L"L", L"M", L"N", L"O", L"P", L"Q", L"R", L"S", L"T"};
    for (int i = 0; i < 20; ++i) twenty[size_t(i)].name = letters[i];
    return {
        {L"05-12 of another year replaces the first 05-12", Cmd::EditMemorials, {}, {},
         {{G, 2000, 5, 12, "生日"}, {G, 1990, 5, 12, "又一年"}}, 1, true,
         {{SolarKey, L"05-12", Stored("AD1990", "又一年")}}, {LunarKey, HijriKey}},
        {L"a lunar memorial in 闰四月 is stored as month 16", Cmd::EditMemorials, {}, {}, {{L, 2020, 16, 2, "闰四"}}, 1,
         true, {{LunarKey, L"16-02", Stored("AD2020", "闰四")}}, {SolarKey, HijriKey}},
        {L"a 22-byte text is stored cut at 20 bytes", Cmd::EditMemorials, {}, {},
         {{H, 1445, 9, 1, "一二三四五六七八九十甲"}}, 1, true,
         {{HijriKey, L"09-01", Wide("AD1445一二三四五六七八九十")}}, {}},
        {L"删除 then 保存 removes the value", Cmd::EditMemorials,
         {{SolarKey, L"05-12", Stored("AD2000", "生日")}, {SolarKey, L"06-01", Stored("AD2000", "儿童")}}, {0}, {}, 1,
         true, {{SolarKey, L"05-12", L""}, {SolarKey, L"06-01", Stored("AD2000", "儿童")}}, {}},
        {L"saving an empty list deletes the three memorial keys", Cmd::EditMemorials,
         {{SolarKey, L"05-12", Stored("AD2000", "生日")}, {LunarKey, L"01-01", Stored("AD2000", "春节")},
          {HijriKey, L"09-01", Stored("AD1445", "斋月")}},
         {0, 0, 0}, {}, 0, true, {}, {SolarKey, LunarKey, HijriKey}},
        {L"取消 writes nothing", Cmd::EditMemorials, {{SolarKey, L"05-12", Stored("AD2000", "生日")}}, {0},
         {{G, 2000, 6, 1, "儿童"}}, 1, false,
         {{SolarKey, L"05-12", Stored("AD2000", "生日")}, {SolarKey, L"06-01", L""}}, {}},
        {L"the same reminder date twice keeps one line", Cmd::EditReminders, {}, {},
         {{G, 2030, 1, 1, "新年"}, {G, 2030, 1, 1, "元旦"}}, 1, true,
         {{ReminderKey, L"A", Stored("AD01-01-2030", "元旦")}, {ReminderKey, L"B", L""}}, {}},
        {L"lunar 2026-01-01 becomes the reminder of 2026-02-17", Cmd::EditReminders, {}, {}, {{L, 2026, 1, 1, "春节"}},
         1, true, {{ReminderKey, L"A", Stored("AD02-17-2026", "春节")}}, {}},
        {L"the 21st reminder is refused", Cmd::EditReminders, twenty, {}, {{G, 2031, 1, 1, "第21"}}, 20, true,
         {twenty[0], twenty[19], {ReminderKey, L"U", L""}}, {}},
        {L"a second countdown replaces the first", Cmd::EditCountdowns,
         {{LumoraKey, L"MyCountdownDay", Stored("AD01-01-2030", "新年")}}, {}, {{G, 2031, 1, 1, "再一年"}}, 1, true,
         {{LumoraKey, L"MyCountdownDay", Stored("AD01-01-2031", "再一年")}}, {}},
    };
}

HWND Combo(HWND editor, MemorialCalendar calendar, int k)
{
    return GetDlgItem(editor, FirstComboId + 3 * int(calendar) + k);
}

std::vector<std::wstring> Lines(HWND editor)
{
    HWND list = GetDlgItem(editor, ListId);
    std::vector<std::wstring> lines;
    int n = int(Send(list, LB_GETCOUNT, 0, 0).value_or(0));
    for (int i = 0; i < n; ++i) {
        std::wstring text(size_t(Send(list, LB_GETTEXTLEN, WPARAM(i), 0).value_or(0)) + 1, L'\0');
        Send(list, LB_GETTEXT, WPARAM(i), LPARAM(text.data()));
        lines.push_back(text.c_str());
    }
    return lines;
}

void SelectLine(HWND editor, int index)
{
    HWND list = GetDlgItem(editor, ListId);
    Send(list, LB_SETCURSEL, WPARAM(index), 0);
    PostMessageW(editor, WM_COMMAND, MAKEWPARAM(ListId, LBN_SELCHANGE), LPARAM(list));
}

void Add(HWND editor, const Added& added)
{
    EditorRow row = RowOfDate(added.calendar, added.year, added.month, added.day);
    const int indices[3] = {row.year, row.month, row.day};
    for (int k = 0; k < 3; ++k) Send(Combo(editor, added.calendar, k), CB_SETCURSEL, WPARAM(indices[k]), 0);
    SetField(editor, TextId, Wide(added.text));
    Click(editor, FirstAddId + int(added.calendar));
    Barrier(GetDlgItem(editor, TextId));
}

void PrepareStoredDays(const std::vector<Value>& values)
{
    for (const wchar_t* key : {SolarKey, LunarKey, HijriKey, ReminderKey}) RegDeleteTreeW(HKEY_CURRENT_USER, key);
    for (const wchar_t* key : {SolarKey, LunarKey, HijriKey, ReminderKey}) RegDeleteKeyW(HKEY_CURRENT_USER, key);
    DeleteValue(L"MyCountdownDay", HKEY_CURRENT_USER, LumoraKey);
    for (const Value& v : values) SetValue(v.name, v.data, HKEY_CURRENT_USER, v.key);
}

void RunCase(Lumora& app, const EditorCase& c)
{
    PrepareStoredDays(c.before);
    std::wstring title = Titles[c.command - Cmd::EditMemorials];
    HWND editor = OpenTool(app, c.command, L"LUMORA_EFORM", title);
    if (!editor) return;
    std::wstring name = title + L": " + c.name;
    for (int line : c.deleted) {
        SelectLine(editor, line);
        Click(editor, DeleteId);
        Barrier(GetDlgItem(editor, TextId));
    }
    for (const Added& added : c.added) Add(editor, added);
    CheckNum(name + L" (lines in the list)", long(c.lines), long(Lines(editor).size()));
    if (c.save) {
        Click(editor, SaveId);
        Check(name + L" (保存 closes the editor)",
              WaitFor([&] { return !IsWindow(editor) && IsWindowEnabled(app.wnd); }, 5000));
    } else {
        CloseTool(app, editor, title);
    }
    std::wstring detail;
    for (const Value& v : c.after) {
        std::wstring got = GetValue(v.name, HKEY_CURRENT_USER, v.key).value_or(L"");
        if (got != v.data) detail += std::wstring(v.name) + L" " + Quoted(got) + L" not " + Quoted(v.data) + L"; ";
    }
    for (const wchar_t* key : c.keysGone)
        if (KeyExists(key)) detail += std::wstring(key) + L" still there; ";
    Check(name, detail.empty(), detail);
}

// The captions and buttons of each mode as it opens.
void CheckLook(Lumora& app, int command, bool registryUse)
{
    std::wstring title = Titles[command - Cmd::EditMemorials];
    HWND editor = OpenTool(app, command, L"LUMORA_EFORM", title);
    if (!editor) return;
    const wchar_t* const adds[3][3] = {{L"添加公历纪念日", L"添加农历纪念日", L"添加回历纪念日"},
                                       {L"添加公历提醒日", L"添加公历提醒日", L"添加公历提醒日"},
                                       {L"添加公历倒计日", L"添加公历倒计日", L"添加公历倒计日"}};
    int mode = command - Cmd::EditMemorials;
    std::wstring captions;
    for (int id : {FirstAddId, FirstAddId + 1, FirstAddId + 2}) captions += FieldOf(editor, id) + L"|";
    CheckText(title + L": the add buttons", std::wstring(adds[mode][0]) + L"|" + adds[mode][1] + L"|" + adds[mode][2] + L"|",
              captions);
    CheckText(title + L": the other buttons", L"选择音频文件|试听|播放|删除|保存|取消",
              FieldOf(editor, ChooseId) + L"|" + FieldOf(editor, PreviewId) + L"|" + FieldOf(editor, PauseId) + L"|" +
                  FieldOf(editor, DeleteId) + L"|" + FieldOf(editor, SaveId) + L"|" + FieldOf(editor, IDCANCEL));
    bool audio = command != Cmd::EditCountdowns;
    std::wstring wrong;
    for (int id : {ChooseId, PreviewId, PauseId})
        if (bool(IsWindowEnabled(GetDlgItem(editor, id))) != audio) wrong += Num(id) + L" ";
    for (int id : {FirstAddId, FirstAddId + 1, FirstAddId + 2, DeleteId, SaveId})
        if (bool(IsWindowEnabled(GetDlgItem(editor, id))) != registryUse) wrong += Num(id) + L" ";
    Check(title + L": buttons enabled" + (audio ? L"" : L", audio buttons disabled") +
              (registryUse ? L"" : L", add, 删除 and 保存 disabled without the registry"),
          wrong.empty(), L"wrong: " + wrong);
    Check(title + L": an audio box only with audio", (GetDlgItem(editor, AudioId) != nullptr) == audio);
    EditorRowItems lunar = EditorDateItems(MemorialCalendar::Lunar);
    CheckText(title + L": the lunar months, leap months last", Wide(lunar.months[0] + "|" + lunar.months[12]),
              ComboItem(Combo(editor, MemorialCalendar::Lunar, 1), 0) + L"|" +
                  ComboItem(Combo(editor, MemorialCalendar::Lunar, 1), 12));
    CheckText(title + L": the Gregorian row starts on the shown day", Wide(YearText(2026) + "年") + L"|     5月| 12日",
              SelectedItem(Combo(editor, MemorialCalendar::Gregorian, 0)) + L"|" +
                  SelectedItem(Combo(editor, MemorialCalendar::Gregorian, 1)) + L"|" +
                  SelectedItem(Combo(editor, MemorialCalendar::Gregorian, 2)));
    CloseTool(app, editor, title);
}

// The text of a control's tool tip in the program, read through a buffer in
// the program's own memory (a tip's text is not carried between processes).
std::wstring TipOf(const Lumora& app, HWND control)
{
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, app.pi.dwProcessId);
    if (!process) return L"<no access>";
    constexpr size_t Chars = 512;
    auto* remote = static_cast<BYTE*>(
        VirtualAllocEx(process, nullptr, sizeof(TOOLINFOW) + Chars * sizeof(wchar_t), MEM_COMMIT, PAGE_READWRITE));
    std::wstring text;
    for (HWND tips : TopWindowsOf(app.pi.dwProcessId, L"tooltips_class32")) {
        TOOLINFOW tool{};
        tool.cbSize = sizeof tool;
        tool.uFlags = TTF_IDISHWND;
        tool.hwnd = GetParent(control);
        tool.uId = UINT_PTR(control);
        tool.lpszText = reinterpret_cast<wchar_t*>(remote + sizeof tool);
        wchar_t buffer[Chars] = L"";
        WriteProcessMemory(process, remote, &tool, sizeof tool, nullptr);
        WriteProcessMemory(process, remote + sizeof tool, buffer, sizeof buffer, nullptr);
        Send(tips, TTM_GETTEXTW, Chars, LPARAM(remote));
        ReadProcessMemory(process, remote + sizeof tool, buffer, sizeof buffer, nullptr);
        buffer[Chars - 1] = 0;
        if (*buffer) text = buffer;
    }
    VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    CloseHandle(process);
    return text;
}

// What lumora-cli.exe (beside lumora.exe) prints for args, in UTF-8;
// nullopt when it cannot be run.
std::optional<std::string> RunCli(const std::wstring& args)
{
    std::wstring cli = exePath.substr(0, exePath.find_last_of(L"\\/") + 1) + L"lumora-cli.exe";
    if (GetFileAttributesW(cli.c_str()) == INVALID_FILE_ATTRIBUTES) return std::nullopt;
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0)) return std::nullopt;
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = si.hStdError = writeEnd;
    si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    PROCESS_INFORMATION pi{};
    std::wstring cmd = L"\"" + cli + L"\" " + args;
    bool started = CreateProcessW(cli.c_str(), cmd.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr, &si, &pi);
    CloseHandle(writeEnd);
    std::string out;
    if (started) {
        char chunk[4096];
        DWORD n = 0;
        while (ReadFile(readEnd, chunk, sizeof chunk, &n, nullptr) && n > 0) out.append(chunk, n);
        WaitForSingleObject(pi.hProcess, 10000);
        CloseHandle(pi.hProcess);
        CloseHandle(pi.hThread);
    }
    CloseHandle(readEnd);
    if (!started) return std::nullopt;
    out.erase(std::remove(out.begin(), out.end(), '\r'), out.end());
    return out;
}

// The window and lumora-cli read and write the same stored days.
void CheckCliAgrees(Lumora& app)
{
    PrepareStoredDays({});
    auto added = RunCli(L"reminder add 2030-03-01 cli");
    if (!Check(L"lumora-cli.exe beside lumora.exe runs", added.has_value())) return;
    HWND editor = OpenTool(app, Cmd::EditReminders, L"LUMORA_EFORM", L"编辑提醒日");
    if (!editor) return;
    std::vector<std::wstring> lines = Lines(editor);
    CheckText(L"a reminder added by lumora-cli shows in the editor",
              Wide("提醒03月01日（AD2030年）：" + RightAlignedStoredText("cli")), lines.empty() ? L"" : lines[0]);
    Add(editor, {MemorialCalendar::Gregorian, 2030, 4, 1, "窗口"});
    std::string shown;
    for (const std::wstring& line : Lines(editor)) shown += Utf8(line) + "\n";
    Click(editor, SaveId);
    WaitFor([&] { return !IsWindow(editor); }, 5000);
    std::string listed = RunCli(L"reminder list").value_or("");
    Check(L"lumora-cli reminder list shows what the editor saved", listed == shown,
          L"cli " + Quoted(Wide(Utf8ToGbk(listed).value_or(""))) + L" editor " + Quoted(Wide(Utf8ToGbk(shown).value_or(""))));
}

// "选择音频文件" opens the open-file dialog of that title; cancelling it
// leaves the audio box empty.
void CheckAudioChooser(Lumora& app)
{
    HWND editor = OpenTool(app, Cmd::EditMemorials, L"LUMORA_EFORM", L"编辑纪念日");
    if (!editor) return;
    Click(editor, ChooseId);
    HWND chooser = WaitForFileChooser(app, L"选择音频文件", 10000);
    if (Check(L"选择音频文件 opens the audio file chooser", chooser != nullptr)) {
        PostMessageW(chooser, WM_COMMAND, IDCANCEL, 0);
        Check(L"cancelling the chooser leaves the audio box empty",
              WaitFor([&] { return !IsWindow(chooser); }, 5000) && FieldOf(editor, AudioId).empty());
    }
    CloseTool(app, editor, L"编辑纪念日");
}

}  // namespace

void ScenarioEditor(Lumora& app)
{
    PrepareSettings({{L"Version", L"4.0"}});
    mirror = Mirror{};
    if (!StartChecked(app, L"editor")) return;
    app.GoTo({2026, 5, 12});
    for (int command : {Cmd::EditMemorials, Cmd::EditReminders, Cmd::EditCountdowns}) CheckLook(app, command, true);
    for (const EditorCase& c : Cases()) RunCase(app, c);
    CheckCliAgrees(app);
    CheckAudioChooser(app);

    // After 保存 the day window's reminder tip names the new memorial.
    RunCase(app, {L"a memorial of the shown day", Cmd::EditMemorials, {}, {}, {{MemorialCalendar::Gregorian, 2000, 5, 12, "生日"}},
                  1, true, {{SolarKey, L"05-12", Stored("AD2000", "生日")}}, {}});
    std::wstring tip;
    WaitFor([&] { return (tip = TipOf(app, app.Item(InfoLine2Id))).find(L"生日") != std::wstring::npos; }, 3000);
    Check(L"after 保存 the day window's reminder tip shows the new memorial", tip.find(L"生日") != std::wstring::npos,
          L"tip " + Quoted(tip));
    Check(L"editor: 退出 ends the program with exit code 0", app.Exit());
}

void ScenarioEditorWithoutRegistry(Lumora& app)
{
    ClearRegistry();
    mirror = Mirror{};
    if (!StartChecked(app, L"editor without the registry")) return;
    app.GoTo({2026, 5, 12});
    CheckLook(app, Cmd::EditMemorials, false);
    Check(L"editor without the registry: 退出 ends the program with exit code 0", app.Exit());
}

// A save ended between its writes and its deletions (the program is killed
// there) leaves every old and every new entry readable.
void ScenarioEditorCutShort(Lumora& app)
{
    PrepareSettings({{L"Version", L"4.0"}});
    PrepareStoredDays({{SolarKey, L"05-12", Stored("AD2000", "旧生日")}, {SolarKey, L"06-02", Stored("AD2000", "删掉")}});
    SetEnvironmentVariableW(L"LUMORA_END_SAVE_AFTER_WRITES", L"1");
    bool started = StartChecked(app, L"editor cut short");
    SetEnvironmentVariableW(L"LUMORA_END_SAVE_AFTER_WRITES", nullptr);
    if (!started) return;
    HWND editor = OpenTool(app, Cmd::EditMemorials, L"LUMORA_EFORM", L"编辑纪念日");
    if (!editor) return;
    SelectLine(editor, 1);
    Click(editor, DeleteId);
    Barrier(GetDlgItem(editor, TextId));
    Add(editor, {MemorialCalendar::Gregorian, 1990, 5, 12, "新生日"});
    Add(editor, {MemorialCalendar::Lunar, 2020, 16, 2, "闰四"});
    Click(editor, SaveId);
    Check(L"a save cut short: the program ends after the writes", WaitFor([&] { return !app.Running(); }, 5000));
    std::wstring detail;
    for (const Value& v : std::vector<Value>{{SolarKey, L"05-12", Stored("AD1990", "新生日")},
                                             {SolarKey, L"06-02", Stored("AD2000", "删掉")},
                                             {LunarKey, L"16-02", Stored("AD2020", "闰四")}}) {
        std::wstring got = GetValue(v.name, HKEY_CURRENT_USER, v.key).value_or(L"");
        if (got != v.data) detail += std::wstring(v.name) + L" " + Quoted(got) + L"; ";
    }
    Check(L"a save cut short after its writes leaves every old and new entry", detail.empty(), detail);
}
