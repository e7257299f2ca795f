// The small dialog in its three modes, the own place it keeps and the
// registry switch.
#include "scenarios.h"

#include "driver.h"

void CheckDialogs(Lumora& app)
{
    // Help.
    PostMessageW(app.wnd, WM_COMMAND, Cmd::Help, 0);
    HWND help = app.WaitDialog(L"帮助");
    if (Check(L"help dialog opens (3110)", help != nullptr)) {
        Check(L"help dialog is modal", !IsWindowEnabled(app.wnd));
        bool found = false;
        for (const auto& t : ChildTexts(help))
            if (t.find(L"岚舟万年历V4.0") != std::wstring::npos) found = true;
        Check(L"help text names 岚舟万年历V4.0", found);
        Click(help, IsWindowVisible(GetDlgItem(help, IDCANCEL)) ? IDCANCEL : IDOK);
        if (!WaitFor([&] { return !IsWindow(help) || !IsWindowVisible(help); }, 2000)) CloseDialog(app, help);
        Check(L"help dialog closes and the day window is enabled again",
              WaitFor([&] { return IsWindowEnabled(app.wnd) != FALSE; }, 2000));
    }

    // The system-date dialog: only for 1980..2099; always cancelled here.
    app.GoTo({1979, 6, 1});
    auto sent = Send(app.wnd, WM_COMMAND, Cmd::SetSystemDate, 0, 3000);
    HWND warn = app.Dialog(L"警告");
    Check(L"3106 with 1979 shown opens no dialog", sent.has_value() && warn == nullptr);
    if (warn) CloseDialog(app, warn);
    if (!app.Running()) return;
    app.GoTo({2024, 6, 1});
    PostMessageW(app.wnd, WM_COMMAND, Cmd::SetSystemDate, 0);
    warn = app.WaitDialog(L"警告");
    if (Check(L"3106 with 2024 shown asks 是否修改系统日期？", warn != nullptr)) {
        bool asks = false;
        for (const auto& t : ChildTexts(warn))
            if (t.find(L"是否修改系统日期？") != std::wstring::npos) asks = true;
        Check(L"the date dialog asks 是否修改系统日期？", asks);
        Check(L"the date dialog is cancelled", CloseDialog(app, warn));
        if (!app.Running()) return;
        app.CheckShows(L"cancelling the date dialog keeps the shown day", {2024, 6, 1});
    }
}

namespace {

void CheckCoordinatesDialog(Lumora& app)
{
    const CalendarDate d = SpringFestival2024;
    app.GoTo(d);
    // A built-in city chosen and cancelled leaves the place as it was.
    PostMessageW(app.wnd, WM_COMMAND, Cmd::Coordinates, 0);
    HWND dlg = app.WaitDialog(L"本地坐标");
    if (!Check(L"coordinates dialog opens (3055)", dlg != nullptr)) return;
    Check(L"coordinates dialog is modal", !IsWindowEnabled(app.wnd));
    std::wstring labels;
    for (const auto& t : ChildTexts(dlg)) labels += L"|" + t;
    Check(L"coordinates dialog labels",
          labels.find(L"|地 名") != std::wstring::npos && labels.find(L"|经 度") != std::wstring::npos &&
              labels.find(L"|纬 度") != std::wstring::npos && labels.find(L"|历算时区为东8区") != std::wstring::npos &&
              labels.find(L"|确定") != std::wstring::npos && labels.find(L"|取消") != std::wstring::npos,
          labels);
    PostMessageW(app.wnd, 1124, 0, WM_RBUTTONUP);
    Barrier(GetDlgItem(dlg, 2002));
    HWND strayMenu = OpenMenu(app, 0);
    Check(L"the notification icon shows no menu while the dialog is open", strayMenu == nullptr);
    if (strayMenu) CloseMenu(app, strayMenu);
    HWND list = GetDlgItem(dlg, 2001), lon = GetDlgItem(dlg, 2002), lat = GetDlgItem(dlg, 2003),
         name = GetDlgItem(dlg, 2004);
    int n = ComboCount(list);
    Check(L"the city list holds 43 cities and 自定义...",
          n == 44 && ComboItem(list, 0) == L"天安门" && ComboItem(list, 42) == L"台北" &&
              ComboItem(list, 43) == L"自定义...",
          Num(n) + L" items, last " + Quoted(ComboItem(list, n - 1)));
    CheckText(L"the list shows the current city", L"上海", SelectedItem(list));
    Check(L"a built-in city's fields are read-only and the name hidden",
          (GetWindowLongW(lon, GWL_STYLE) & ES_READONLY) && (GetWindowLongW(lat, GWL_STYLE) & ES_READONLY) &&
              !IsWindowVisible(name));
    Check(L"the three fields take at most 12 typed characters",
          Send(lon, EM_GETLIMITTEXT, 0, 0).value_or(0) == 12 && Send(lat, EM_GETLIMITTEXT, 0, 0).value_or(0) == 12 &&
              Send(name, EM_GETLIMITTEXT, 0, 0).value_or(0) == 12);
    CheckText(L"longitude field of 上海", L"东经121.4667度", TextOf(lon));
    CheckText(L"latitude field of 上海", L"北纬31.2333度", TextOf(lat));
    Send(list, CB_SETCURSEL, 30, 0);
    Send(dlg, WM_COMMAND, MAKEWPARAM(2001, CBN_SELCHANGE), LPARAM(list));
    CheckText(L"choosing 拉萨 shows its longitude", L"东经91.1333度", TextOf(lon));
    CheckText(L"choosing 拉萨 shows its latitude", L"北纬29.6500度", TextOf(lat));
    Click(dlg, IDCANCEL);
    Check(L"取消 closes the dialog",
          WaitFor([&] { return !IsWindow(dlg) && IsWindowEnabled(app.wnd); }, 3000));
    app.CheckShows(L"after 拉萨 and 取消 the sun times are still 上海's", d);

    // A custom place: a bad longitude first, then a good one.
    PostMessageW(app.wnd, WM_COMMAND, Cmd::Coordinates, 0);
    dlg = app.WaitDialog(L"本地坐标");
    if (!Check(L"coordinates dialog opens again", dlg != nullptr)) return;
    list = GetDlgItem(dlg, 2001), lon = GetDlgItem(dlg, 2002), lat = GetDlgItem(dlg, 2003),
    name = GetDlgItem(dlg, 2004);
    Send(list, CB_SETCURSEL, 43, 0);
    Send(dlg, WM_COMMAND, MAKEWPARAM(2001, CBN_SELCHANGE), LPARAM(list));
    Check(L"自定义... makes the fields editable and shows the name",
          !(GetWindowLongW(lon, GWL_STYLE) & ES_READONLY) && !(GetWindowLongW(lat, GWL_STYLE) & ES_READONLY) &&
              IsWindowVisible(name));
    Send(name, WM_SETTEXT, 0, LPARAM(L""));
    for (wchar_t c : std::wstring(L"一二三四五六七")) Send(name, WM_CHAR, c, 1);
    CheckText(L"a typed name stops at 12 bytes", L"一二三四五六", TextOf(name));
    Send(name, WM_SETTEXT, 0, LPARAM(L"测试"));
    Send(lon, WM_SETTEXT, 0, LPARAM(L"东经181度"));
    Send(lat, WM_SETTEXT, 0, LPARAM(L"北纬39.9度"));
    Click(dlg, IDOK);
    Barrier(lon);
    Check(L"东经181度 keeps the dialog open", IsWindow(dlg) && IsWindowVisible(dlg));
    CheckText(L"东经181度 resets the longitude field", L"东经0.0000度", TextOf(lon));
    Send(lon, WM_SETTEXT, 0, LPARAM(L"东经1.2.3度"));
    Click(dlg, IDOK);
    Barrier(lon);
    CheckText(L"东经1.2.3度 resets the longitude field", L"东经0.0000度", TextOf(lon));
    Send(lon, WM_SETTEXT, 0, LPARAM(L"东经116.38度"));
    Send(lat, WM_SETTEXT, 0, LPARAM(L"北纬-5度"));
    Click(dlg, IDOK);
    Barrier(lon);
    Check(L"北纬-5度 keeps the dialog open", IsWindow(dlg) && IsWindowVisible(dlg));
    CheckText(L"北纬-5度 resets the latitude field", L"北纬0.0000度", TextOf(lat));
    Send(name, WM_SETTEXT, 0, LPARAM(L""));
    Send(lon, WM_SETTEXT, 0, LPARAM(L"东经116.38度"));
    Send(lat, WM_SETTEXT, 0, LPARAM(L"北纬39.9度"));
    Click(dlg, IDOK);
    Barrier(lon);
    Check(L"an empty name keeps the dialog open with the fields as typed",
          IsWindow(dlg) && IsWindowVisible(dlg) && TextOf(lon) == L"东经116.38度" && TextOf(lat) == L"北纬39.9度");
    Send(name, WM_SETTEXT, 0, LPARAM(L"测试"));
    Click(dlg, IDOK);
    Check(L"确定 with 测试 东经116.38度 北纬39.9度 closes the dialog",
          WaitFor([&] { return !IsWindow(dlg) && IsWindowEnabled(app.wnd); }, 3000));
    if (IsWindow(dlg)) CloseDialog(app, dlg);
    mirror.city = CustomCityCode;
    mirror.myName = Gbk(L"测试");
    mirror.myLongitude = -116.38;
    mirror.myLatitude = 39.9;
    app.CheckShows(L"the sun times follow the custom place", d);

    // Reopened, the dialog shows the custom place.
    PostMessageW(app.wnd, WM_COMMAND, Cmd::Coordinates, 0);
    dlg = app.WaitDialog(L"本地坐标");
    if (!Check(L"coordinates dialog opens a third time", dlg != nullptr)) return;
    CheckText(L"the list shows 自定义...", L"自定义...", SelectedItem(GetDlgItem(dlg, 2001)));
    CheckText(L"the custom longitude", L"东经116.3800度", TextOf(GetDlgItem(dlg, 2002)));
    CheckText(L"the custom latitude", L"北纬39.9000度", TextOf(GetDlgItem(dlg, 2003)));
    CheckText(L"the custom name", L"测试", TextOf(GetDlgItem(dlg, 2004)));
    CloseDialog(app, dlg);
}

}  // namespace

// The own place chosen in the dialog reaches the registry; a position off
// the screen is not used; the auto-run value is recognised.
void ScenarioCoordinates(Lumora& app)
{
    const std::wstring s = L"coordinates";
    int cx = GetSystemMetrics(SM_CXSCREEN), cy = GetSystemMetrics(SM_CYSCREEN);
    // One pixel too far right: the card opens centred.
    PrepareSettings({{L"Version", L"4.0"}, {L"DFORMShowInfoTypeFlag", L"1"}, {L"NowCityCode", L"21"},
                     {L"FormLeft", Num(cx - 259)}, {L"FormTop", L"0"}});
    SetProgramPaths(Gbk(exePath));
    std::wstring runCommand = Wide(AutoRunCommand());
    SetValue(L"Lumora", runCommand, HKEY_LOCAL_MACHINE, RunKey);
    mirror = Mirror{};
    mirror.infoType = 1;
    mirror.city = 21;
    if (!StartChecked(app, s)) return;
    RECT r = app.Rect();
    Check(s + L": a position partly off the screen gives a centred window",
          r.left == (cx - 260) / 2 && r.top == (cy - 150) / 2, L"at " + Num(r.left) + L"," + Num(r.top));
    CheckMenuMarks(app, L"with the Run value present", {{Cmd::AutoRun, true}, {Cmd::UseRegistry, true}});
    CheckCoordinatesDialog(app);
    if (!app.Running()) return;
    std::wstring bitmap = CardBitmap();
    Check(s + L": no background picture at start", !HasBackground(app));
    ChooseBackground(app, bitmap);
    if (!app.Running()) return;
    Check(s + L": 退出 ends the program with exit code 0", app.Exit());
    std::wstring detail;
    std::map<std::wstring, std::wstring> expected = {{L"MyCityName", L"测试"},
                                                     {L"MyCityLongitude", L"-116.38"},
                                                     {L"MyCityLatitude", L"39.9"},
                                                     {L"NowCityCode", L"44"},
                                                     {L"FormLeft", Num((cx - 260) / 2)},
                                                     {L"FormTop", Num((cy - 150) / 2)},
                                                     {L"DFORMBackBitmapName", bitmap}};
    for (auto& [name, value] : expected) {
        auto got = GetValue(name.c_str());
        if (got != value) detail += name + L" expected " + Quoted(value) + L" got " + Quoted(got) + L"; ";
    }
    Check(s + L": the custom place and the chosen background are saved at close", detail.empty(), detail);
    CheckText(s + L": the recognised Run value is kept", runCommand,
              GetValue(L"Lumora", HKEY_LOCAL_MACHINE, RunKey));
}

// The saved custom place is read back; registry use switched off and on.
void ScenarioRegistryUse(Lumora& app)
{
    const std::wstring s = L"registry use";
    int cx = GetSystemMetrics(SM_CXSCREEN), cy = GetSystemMetrics(SM_CYSCREEN);
    // Flush with the bottom-right corner: the card still fits there.
    PrepareSettings({{L"Version", L"4.0"}, {L"DFORMShowInfoTypeFlag", L"1"}, {L"MyCityName", L"测试"},
                     {L"MyCityLongitude", L"-116.38"}, {L"MyCityLatitude", L"39.9"}, {L"NowCityCode", L"44"},
                     {L"DFORMBackBitmapName", L"C:\\no such folder\\card.bmp"}, {L"FormLeft", Num(cx - 260)},
                     {L"FormTop", Num(cy - 150)}});
    SetProgramPaths(Gbk(exePath));
    SetValue(L"Lumora", Wide(AutoRunCommand()), HKEY_LOCAL_MACHINE, RunKey);
    mirror = Mirror{};
    mirror.infoType = 1;
    mirror.city = CustomCityCode;
    mirror.myName = Gbk(L"测试");
    mirror.myLongitude = -116.38;
    mirror.myLatitude = 39.9;
    if (!StartChecked(app, s)) return;
    RECT r = app.Rect();
    Check(s + L": a stored position flush with the screen's corner is used",
          r.left == cx - 260 && r.top == cy - 150, L"at " + Num(r.left) + L"," + Num(r.top));
    app.GoTo(SpringFestival2024);
    app.CheckShows(s + L": the stored custom place gives the sun times", SpringFestival2024);

    SetValue(L"Lumora", L"stored day", HKEY_CURRENT_USER, L"Software\\Lumora\\SolarMemorial");
    app.Command(Cmd::UseRegistry);
    Check(s + L": switching it off (3085) removes the settings and stored days at once",
          !KeyExists(LumoraKey) && !KeyExists(L"Software\\Lumora\\SolarMemorial"));
    CheckMenuMarks(app, L"with registry use off", {{Cmd::UseRegistry, false}});
    app.Command(Cmd::UseRegistry);
    CheckText(s + L": switching it on again writes Version 4.0 at once", L"4.0", GetValue(L"Version"));
    app.Command(Cmd::AutoRun);  // the Run value goes at close
    Check(s + L": 退出 ends the program with exit code 0", app.Exit());
    CheckText(s + L": switched on again, the close writes the settings", L"4.0", GetValue(L"Version"));
    CheckText(s + L": the custom place survives the switch", L"测试", GetValue(L"MyCityName"));
    CheckText(s + L": a stored background that does not exist is dropped", L"", GetValue(L"DFORMBackBitmapName"));
    Check(s + L": 开机自动运行 switched off removes the Run value",
          !GetValue(L"Lumora", HKEY_LOCAL_MACHINE, RunKey) && !GetValue(L"Lumora", HKEY_CURRENT_USER, RunKey));

    // Off at close: nothing is left.
    if (!StartChecked(app, s + L" off")) return;
    app.Command(Cmd::UseRegistry);
    Check(s + L" off: 退出 ends the program with exit code 0", app.Exit());
    Check(s + L" off: a close with registry use off leaves no settings", !KeyExists(LumoraKey));
}
