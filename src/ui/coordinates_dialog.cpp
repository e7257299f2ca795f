#include "coordinates_dialog.h"

#include <algorithm>
#include <string>

#include "gbk_text.h"
#include "places.h"
#include "shown_day.h"
#include "typed_field.h"
#include "window_behaviours.h"
#include "controls.h"

namespace {

enum : int { CityListId = 2001, LongitudeId = 2002, LatitudeId = 2003, NameId = 2004, FirstLabelId = 2010 };

struct Layout {
    int x, y, width, height;
};

struct SmallDialog {
    HWND window = nullptr;
    SmallDialogMode mode = SmallDialogMode::Coordinates;
    HFONT font = nullptr;
    UINT dpi = 96;
    // The place chosen when the dialog opened: 取消 goes back to it.
    HWND owner = nullptr;
    int32_t openingCityCode = 1;
    bool settingText = false;
    // What each of the three fields held last while within its 12 bytes.
    std::string accepted[3];
};
SmallDialog Dialog;

const char* const LabelTexts[] = {"地 名", "经 度", "纬 度", "历算时区为东8区"};
const Layout LabelPlaces[] = {{12, 16, 42, 18}, {12, 48, 42, 18}, {12, 80, 42, 18}, {56, 110, 182, 18}};

std::string HelpText()
{
    const char* const lines[] = {
        "岚舟万年历V4.0",
        "只有一个文件，是一款绿色免安装万年历软件，直接运行即可使用。显示公历400~3600年共3200年范围内的公历、农历、回历、"
        "星期、星座、干支、属相、节日、节气、九伏梅、日出日落、天亮天黑时刻等信息。",
        "1.支持日历显示、月历显示及公农回历互转互查功能；",
        "2.支持编辑纪念日、提醒日、倒计日及音频播放功能，日历界面相关信息显示于下文本框的提示信息窗口中；",
        "3.支持语音报时(Ctrl+Alt+V)和整点自动报时功能；",
        "4.提供查询公历400~5000年范围内儒略日、间隔日、干支历、气朔日、条件月、条件日、日出日落天亮天黑时刻等信息的实用工具；",
        "5.可以更换日历界面背景图片；",
        "6.回历9月份起止日期还须根据望月修订；",
        "7.使用的日期格式：MM-DD-YYYY， 即2位月数-2位日数-4位年数；",
        "8.农历闰月的表示：月数+12。",
    };
    std::string text;
    for (const char* line : lines) text += std::string(text.empty() ? "" : "\r\n") + "    " + line;
    return text;
}

HWND Item(int id) { return GetDlgItem(Dialog.window, id); }

std::string FieldText(int id) { return TextOf(Item(id)); }

std::string& AcceptedText(int id) { return Dialog.accepted[id - LongitudeId]; }

// The program's own texts may be longer than what the user may type (东经121.4667度).
void SetFieldText(int id, const std::string& text)
{
    Dialog.settingText = true;
    SetText(Item(id), text);
    Dialog.settingText = false;
    if (id >= LongitudeId && id <= NameId) AcceptedText(id) = text;
}

HWND AddControl(const wchar_t* className, const std::string& text, DWORD style, int id, const Layout& at)
{
    auto s = [](int v) { return Scaled(v, Dialog.dpi); };
    HWND control = CreateWindowExW(0, className, nullptr, WS_CHILD | WS_VISIBLE | style, s(at.x), s(at.y),
                                   s(at.width), s(at.height), Dialog.window, HMENU(INT_PTR(id)),
                                   GetModuleHandleW(nullptr), nullptr);
    SendMessageW(control, WM_SETFONT, WPARAM(Dialog.font), FALSE);
    SetText(control, text);
    return control;
}

// The fields follow the place in the list: a built-in city shows its fixed
// coordinates, the user's own place can be typed.
void ShowPlaceFields()
{
    bool custom = CurrentPlace.cityCode == CustomCityCode;
    SetFieldText(LongitudeId, CoordinateText(CurrentPlace.longitude, LongitudeCoordinate));
    SetFieldText(LatitudeId, CoordinateText(CurrentPlace.latitude, LatitudeCoordinate));
    SendMessageW(Item(LongitudeId), EM_SETREADONLY, !custom, 0);
    SendMessageW(Item(LatitudeId), EM_SETREADONLY, !custom, 0);
    SetFieldText(NameId, custom ? MyCity.name : "");
    ShowWindow(Item(NameId), custom ? SW_SHOW : SW_HIDE);
}

void CreateCoordinateControls()
{
    for (int i = 0; i < 4; ++i) AddControl(L"STATIC", LabelTexts[i], SS_LEFT, FirstLabelId + i, LabelPlaces[i]);
    HWND list = AddControl(L"COMBOBOX", "", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, CityListId, {56, 12, 100, 300});
    for (int32_t code = 1; code <= CityCount(); ++code)
        AddListItem(list, BuiltInCity(code).name);
    AddListItem(list, "自定义...");
    AddControl(L"EDIT", "", WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, NameId, {162, 13, 76, 22});
    AddControl(L"EDIT", "", WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, LongitudeId, {56, 45, 182, 22});
    AddControl(L"EDIT", "", WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, LatitudeId, {56, 77, 182, 22});
    for (int id : {NameId, LongitudeId, LatitudeId}) SendMessageW(Item(id), EM_LIMITTEXT, 12, 0);

    Dialog.openingCityCode = CurrentPlace.cityCode;
    SelectCity(CurrentPlace.cityCode);
    SendMessageW(list, CB_SETCURSEL, WPARAM(CurrentPlace.cityCode - 1), 0);
    ShowPlaceFields();
}

void OnCityChosen()
{
    LRESULT index = SendMessageW(Item(CityListId), CB_GETCURSEL, 0, 0);
    if (index < 0) return;
    SelectCity(int32_t(index) + 1);
    ShowPlaceFields();
}

// 确定 in the coordinates mode; false keeps the dialog open.
bool AcceptPlace()
{
    LRESULT index = SendMessageW(Item(CityListId), CB_GETCURSEL, 0, 0);
    int32_t code = int32_t(index) + 1;
    if (code >= 1 && code <= CityCount()) {
        SelectCity(code);
        return true;
    }
    std::string name = LeftBytes(FieldText(NameId), 12);
    if (name.empty()) return false;
    auto longitude = ReadTypedCoordinate(FieldText(LongitudeId), LongitudeCoordinate);
    if (!longitude) {
        SetFieldText(LongitudeId, "东经0.0000度");
        return false;
    }
    auto latitude = ReadTypedCoordinate(FieldText(LatitudeId), LatitudeCoordinate);
    if (!latitude) {
        SetFieldText(LatitudeId, "北纬0.0000度");
        return false;
    }
    MyCity = {name, *longitude, *latitude};
    SelectCity(CustomCityCode);
    ShowPlaceFields();
    return true;
}

// The computer's date becomes the shown day; the time of day stays. False
// when the system refused (setting the clock needs the privilege of an
// administrator); the clock is then as it was.
bool SetSystemDate()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    now.wYear = WORD(ShownDate.year);
    now.wMonth = WORD(ShownDate.month);
    now.wDay = WORD(ShownDate.day);
    // The first call may apply the daylight-saving state of the old date;
    // the second sets the time under the new one.
    if (!SetLocalTime(&now)) return false;
    SetLocalTime(&now);
    return true;
}

// The owner is enabled before the dialog goes, so that it becomes the
// active window again. The dialog's loop waits for a posted message; one is
// posted so that it also ends when the close came as a sent message.
void CloseDialog()
{
    EnableWindow(Dialog.owner, TRUE);
    DestroyWindow(Dialog.window);
    PostMessageW(nullptr, WM_NULL, 0, 0);
}

void OnOk()
{
    if (Dialog.mode == SmallDialogMode::Coordinates && !AcceptPlace()) return;
    if (Dialog.mode == SmallDialogMode::SystemDate && !SetSystemDate()) {
        SetText(Item(FirstLabelId), "修改系统日期失败：需要管理员权限");
        return;
    }
    CloseDialog();
}

void OnCancel()
{
    if (Dialog.mode == SmallDialogMode::Coordinates) SelectCity(Dialog.openingCityCode);
    CloseDialog();
}

// The three fields take at most 12 bytes of code page 936 text: typing that
// would go beyond is undone, with the caret where it was. A longer text that
// the program wrote itself may still be shortened.
void KeepWithinTwelveBytes(int id)
{
    if (Dialog.settingText) return;
    std::string text = FieldText(id);
    std::string& before = AcceptedText(id);
    if (TypedEditStands(text, before, 12)) {
        before = text;
        return;
    }
    DWORD caret = 0;
    SendMessageW(Item(id), EM_GETSEL, 0, LPARAM(&caret));
    int grown = ScreenLength(text) - ScreenLength(before);
    std::string kept = before;
    SetFieldText(id, kept);
    int at = CaretAfterUndoneEdit(int(caret), grown);
    SendMessageW(Item(id), EM_SETSEL, WPARAM(at), LPARAM(at));
}

LRESULT CALLBACK SmallDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) OnOk();
        else if (LOWORD(wParam) == IDCANCEL) OnCancel();
        else if (LOWORD(wParam) == CityListId && HIWORD(wParam) == CBN_SELCHANGE) OnCityChosen();
        else if (HIWORD(wParam) == EN_CHANGE && LOWORD(wParam) >= LongitudeId && LOWORD(wParam) <= NameId)
            KeepWithinTwelveBytes(LOWORD(wParam));
        return 0;
    case WM_CLOSE: OnCancel(); return 0;
    default: break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

const char* TitleOf(SmallDialogMode mode)
{
    return mode == SmallDialogMode::Coordinates ? "本地坐标" : mode == SmallDialogMode::SystemDate ? "警告" : "帮助";
}

void CreateDialogWindow(HWND owner, SmallDialogMode mode)
{
    static bool registered = false;
    HINSTANCE instance = GetModuleHandleW(nullptr);
    if (!registered) {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = SmallDialogProc;
        windowClass.hInstance = instance;
        windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
        windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
        windowClass.lpszClassName = L"LUMORA_CFORM";
        registered = RegisterClassExW(&windowClass) != 0;
    }
    Dialog.mode = mode;
    Dialog.owner = owner;
    Dialog.dpi = WindowDpi(owner);
    SIZE client = mode == SmallDialogMode::Coordinates ? SIZE{250, 170}
                  : mode == SmallDialogMode::SystemDate ? SIZE{250, 110}
                                                       : SIZE{480, 300};
    RECT frame{0, 0, Scaled(client.cx, Dialog.dpi), Scaled(client.cy, Dialog.dpi)};
    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU, exStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
    AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    int width = frame.right - frame.left, height = frame.bottom - frame.top;
    // Centred on the owner, kept on the screen.
    RECT ownerRect;
    GetWindowRect(owner, &ownerRect);
    int x = (ownerRect.left + ownerRect.right - width) / 2, y = (ownerRect.top + ownerRect.bottom - height) / 2;
    x = std::max(0, std::min(x, GetSystemMetrics(SM_CXSCREEN) - width));
    y = std::max(0, std::min(y, GetSystemMetrics(SM_CYSCREEN) - height));
    Dialog.window = CreateTextWindow(exStyle, L"LUMORA_CFORM", TitleOf(mode), style, x, y, width, height, owner);
    Dialog.font = MakeFont("宋体,-14,0,0,0,400,0,0,0,134,3,2,1,2", Dialog.dpi);
}

void CreateButtons(bool withCancel, int y, int clientWidth)
{
    if (!withCancel) {
        AddControl(L"BUTTON", "确定", BS_DEFPUSHBUTTON | WS_TABSTOP, IDOK, {(clientWidth - 80) / 2, y, 80, 26});
        return;
    }
    AddControl(L"BUTTON", "确定", BS_DEFPUSHBUTTON | WS_TABSTOP, IDOK, {56, y, 80, 26});
    AddControl(L"BUTTON", "取消", BS_PUSHBUTTON | WS_TABSTOP, IDCANCEL, {158, y, 80, 26});
}

}  // namespace

void RunSmallDialog(HWND owner, SmallDialogMode mode)
{
    if (Dialog.window) return;
    CreateDialogWindow(owner, mode);
    if (!Dialog.window) return;
    switch (mode) {
    case SmallDialogMode::Coordinates:
        CreateCoordinateControls();
        CreateButtons(true, 136, 250);
        break;
    case SmallDialogMode::SystemDate:
        AddControl(L"STATIC", "是否修改系统日期？", SS_CENTER, FirstLabelId, {12, 28, 226, 20});
        CreateButtons(true, 70, 250);
        break;
    case SmallDialogMode::Help:
        AddControl(L"EDIT", HelpText(), WS_BORDER | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL,
                   FirstLabelId, {12, 12, 456, 240});
        CreateButtons(false, 262, 480);
        break;
    }

    EnableWindow(owner, FALSE);
    ShowWindow(Dialog.window, SW_SHOW);
    SetFocus(GetDlgItem(Dialog.window, mode == SmallDialogMode::Coordinates ? CityListId : IDOK));
    MSG msg{};
    bool quit = false;
    while (IsWindow(Dialog.window)) {
        if (GetMessageW(&msg, nullptr, 0, 0) <= 0) {
            quit = true;
            break;
        }
        if (IsDialogMessageW(Dialog.window, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    EnableWindow(owner, TRUE);
    SetActiveWindow(owner);
    if (IsWindow(Dialog.window)) DestroyWindow(Dialog.window);
    if (Dialog.font) DeleteObject(Dialog.font);
    Dialog = SmallDialog{};
    if (quit) PostQuitMessage(int(msg.wParam));
}
