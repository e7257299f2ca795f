// The day window: its frame, layout, lists and lines, navigation, display
// options, hiding, transparency, placement, the move lock and the scenarios
// that start it with a fresh, a foreign or a prepared registry.
#include "scenarios.h"

#include "driver.h"
#include "platform.h"

namespace {

// The window itself: class, title, size, styles, shape and first placement.
void CheckWindowFrame(Lumora& app, const std::wstring& s, POINT expectedPos)
{
    CheckText(s + L": window title", L"岚舟日历", WindowTitle(app.wnd));
    RECT r = app.Rect();
    Check(s + L": window placed and sized", r.left == expectedPos.x && r.top == expectedPos.y &&
                                                r.right - r.left == 260 && r.bottom - r.top == 150,
          L"expected (" + Num(expectedPos.x) + L"," + Num(expectedPos.y) + L") 260x150 got (" + Num(r.left) +
              L"," + Num(r.top) + L") " + Num(r.right - r.left) + L"x" + Num(r.bottom - r.top));
    LONG style = GetWindowLongW(app.wnd, GWL_STYLE), ex = GetWindowLongW(app.wnd, GWL_EXSTYLE);
    Check(s + L": pop-up without caption or border, tool window, control parent, topmost",
          (style & WS_POPUP) && !(style & (WS_CAPTION | WS_THICKFRAME)) && (ex & WS_EX_TOOLWINDOW) &&
              (ex & WS_EX_CONTROLPARENT) && (ex & WS_EX_TOPMOST),
          L"style " + Num(style) + L" exstyle " + Num(ex));
    Check(s + L": opaque at start", app.SeenAlpha() == 255, L"alpha " + Num(app.SeenAlpha()));
    DWORD classStyle = GetClassLongW(app.wnd, GCL_STYLE);
    Check(s + L": class redraws on resizing and takes double clicks",
          (classStyle & (CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS)) == (CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS),
          L"class style " + Num(classStyle));
    GUITHREADINFO gui{};
    gui.cbSize = sizeof gui;
    GetGUIThreadInfo(app.pi.dwThreadId, &gui);
    CheckNum(s + L": the focus is on the Gregorian year selector", GregorianYearId,
             gui.hwndFocus ? GetDlgCtrlID(gui.hwndFocus) : 0);
}

// Every control where the card's layout puts it (client pixels at 96 DPI).
void CheckLayout(Lumora& app)
{
    struct Place {
        int id, x, y, width, height;  // height 0: the selector's own closed height
    };
    const Place places[] = {
        {GregorianYearId, 9, 16, 109, 0}, {GregorianMonthId, 118, 16, 81, 0}, {GregorianDayId, 199, 16, 52, 0},
        {InfoLine1Id, 9, 45, 242, 13},    {LunarYearId, 9, 64, 109, 0},       {LunarMonthId, 118, 64, 81, 0},
        {LunarDayId, 199, 64, 52, 0},     {InfoLine2Id, 9, 92, 242, 14},      {HijriYearId, 9, 112, 109, 0},
        {HijriMonthId, 118, 112, 81, 0},  {HijriDayId, 199, 112, 52, 0},      {BackgroundId, 0, 0, 260, 150},
    };
    std::wstring detail;
    for (const Place& p : places) {
        HWND control = app.Item(p.id);
        RECT r{};
        GetWindowRect(control, &r);
        MapWindowPoints(nullptr, app.wnd, reinterpret_cast<POINT*>(&r), 2);
        bool ok = control && r.left == p.x && r.top == p.y && r.right - r.left == p.width &&
                  (p.height == 0 || r.bottom - r.top == p.height);
        if (!ok)
            detail += Num(p.id) + L" at " + Num(r.left) + L"," + Num(r.top) + L" size " + Num(r.right - r.left) +
                      L"x" + Num(r.bottom - r.top) + L"; ";
    }
    Check(L"the controls lie where the card's layout puts them", detail.empty(), detail);
    std::wstring kinds;
    for (int id : SelectorIds) {
        HWND c = app.Item(id);
        if (ClassOf(c) != L"ComboBox" || (GetWindowLongW(c, GWL_STYLE) & 3) != CBS_DROPDOWNLIST) kinds += Num(id) + L" ";
    }
    for (int id : {InfoLine1Id, InfoLine2Id})
        if (ClassOf(app.Item(id)) != L"Edit" || !(GetWindowLongW(app.Item(id), GWL_STYLE) & ES_READONLY))
            kinds += Num(id) + L" ";
    Check(L"drop-down lists and read-only information lines", kinds.empty(), kinds);
}

void CheckShape(Lumora& app, const std::wstring& s)
{
    HRGN rgn = CreateRectRgn(0, 0, 0, 0);
    int kind = GetWindowRgn(app.wnd, rgn);
    RECT box{};
    GetRgnBox(rgn, &box);
    // The corners are cut away by the scallops, the middle and the edge
    // circles' centres are in. How the system rasterises the circles' last
    // pixel column and row is its own affair.
    bool ok = kind == COMPLEXREGION && box.left == 0 && box.top == 0 && box.right >= 259 && box.right <= 260 &&
              box.bottom >= 149 && box.bottom <= 150 &&
              !PtInRegion(rgn, 0, 0) && !PtInRegion(rgn, 259, 149) && !PtInRegion(rgn, 0, 75) &&
              PtInRegion(rgn, 130, 75) && PtInRegion(rgn, 10, 2) && PtInRegion(rgn, 2, 10) &&
              PtInRegion(rgn, 250, 147);
    Check(s + L": scalloped card shape", ok,
          L"region kind " + Num(kind) + L" box " + Num(box.left) + L"," + Num(box.top) + L"," + Num(box.right) +
              L"," + Num(box.bottom));
    DeleteObject(rgn);
}

// Every list of 2024-02-10 against fixed texts, then against the core.
void CheckKnownDay(Lumora& app)
{
    const std::wstring s = L"day 2024-02-10";
    app.GoTo(SpringFestival2024);
    DayView fixed;
    fixed.selected = {L"    2024年", L"   2月", L"10日", L"  二○二四年", L"正月小", L"初一",
                      L"  回历1445年", L"   7月", L"30日"};
    fixed.line1 = L"星期六 水瓶座  甲辰(龙)年丙寅月甲辰日";
    fixed.line2 = L"春节 国际气象节 2月19日雨水 六九第6天";
    DayView got = app.Read();
    fixed.counts = got.counts;
    Check(s + L": known texts in all rows and both lines", got == fixed, Differences(fixed, got));
    app.CheckShows(s + L": as the core computes it", SpringFestival2024);

    // The short lists in full; the long year lists by their ends.
    DayCardLists lists = ExpectedLists(SpringFestival2024);
    for (int i = 0; i < 9; ++i) {
        const SelectorList& list = ListOf(lists, i);
        HWND combo = app.Item(SelectorIds[i]);
        std::wstring name = s + L": " + SelectorNames[i] + L" list";
        if (list.items.size() <= 40) {
            std::vector<std::wstring> expected;
            for (const auto& item : list.items) expected.push_back(Wide(item));
            std::vector<std::wstring> items = ComboItems(combo);
            std::wstring detail;
            for (size_t k = 0; k < std::max(expected.size(), items.size()); ++k) {
                std::wstring e = k < expected.size() ? expected[k] : L"(none)";
                std::wstring g = k < items.size() ? items[k] : L"(none)";
                if (e != g && detail.size() < 400)
                    detail += L"item " + Num(long(k)) + L" expected " + Quoted(e) + L" got " + Quoted(g) + L"; ";
            }
            Check(name, expected == items, detail);
        } else {
            int n = ComboCount(combo);
            std::wstring first = ComboItem(combo, 0), last = ComboItem(combo, n - 1);
            std::wstring ef = Wide(list.items.front()), el = Wide(list.items.back());
            Check(name + L" ends", n == int(list.items.size()) && first == ef && last == el,
                  L"expected " + Num(long(list.items.size())) + L" items " + Quoted(ef) + L".." + Quoted(el) +
                      L" got " + Num(n) + L" items " + Quoted(first) + L".." + Quoted(last));
        }
    }
}

// Choices that must adjust the day, and the carry-over at the list ends.
void CheckNavigation(Lumora& app)
{
    // October 1582 lacks the 5th to the 14th: the 10th becomes the 4th.
    app.GoTo({1582, 9, 10});
    app.Choose(GregorianMonthId, 9);
    app.CheckShows(L"choosing October 1582 with the 10th shown moves to the 4th", {1582, 10, 4});
    CheckText(L"October 1582 day list skips from the 4th to the 15th", L" 4日15日",
              ComboItem(app.Item(GregorianDayId), 3) + ComboItem(app.Item(GregorianDayId), 4));

    // A day beyond the new month's end becomes its last day.
    app.GoTo({2023, 3, 31});
    app.Choose(GregorianMonthId, 1);
    app.CheckShows(L"choosing February with the 31st shown gives the 28th", {2023, 2, 28});

    // Lunar row: Down on 腊月 goes to 正月 of the next lunar year.
    CalendarDate lastMonthDay{2024, 1, 20};  // 2023 腊月初十
    app.GoTo(lastMonthDay);
    ApplyMirror();
    LunarDate lunar = *LunarDateOf(lastMonthDay);
    Check(L"2024-01-20 lies in 腊月 of the last listed month",
          lunar.month == 12 && ComboSelection(app.Item(LunarMonthId)) == ComboCount(app.Item(LunarMonthId)) - 1,
          L"lunar month " + Num(lunar.month) + L" selection " + Num(ComboSelection(app.Item(LunarMonthId))));
    app.Key(LunarMonthId, VK_DOWN);
    auto next = StepMonth(lastMonthDay, DayRow::Lunar, +1, bounds);
    if (Check(L"core steps 腊月 into the next lunar year", next.has_value() && next->year == 2024 &&
                  next->month == 2 && next->day == 19))
        app.CheckShows(L"Down on 腊月 shows 正月 of the next lunar year", *next);
    CheckText(L"after Down on 腊月 the lunar month is 正月", L"正月",
              SelectedItem(app.Item(LunarMonthId)).substr(0, 2));

    // Up on the first lunar month goes back to the last month of the year before.
    app.Key(LunarMonthId, VK_UP);
    app.CheckShows(L"Up on 正月 returns to 腊月 of the year before", lastMonthDay);

    // Gregorian row: Up on January, Down on December, Down on the last day.
    app.GoTo({2024, 1, 15});
    app.Key(GregorianMonthId, VK_UP);
    app.CheckShows(L"Up on January shows December of the year before", {2023, 12, 15});
    app.Key(GregorianMonthId, VK_RIGHT);
    app.CheckShows(L"Right on December shows January of the next year", {2024, 1, 15});
    app.Key(GregorianMonthId, VK_DOWN);
    app.CheckShows(L"Down inside the month list moves one month", {2024, 2, 15});
    app.GoTo({2024, 2, 29});
    app.Key(GregorianDayId, VK_DOWN);
    app.CheckShows(L"Down on the last day of February 2024 shows 1 March", {2024, 3, 1});
    app.Key(GregorianDayId, VK_LEFT);
    app.CheckShows(L"Left on the 1st shows the day before", {2024, 2, 29});

    // Hijri row: Down on month 12 goes into the next Hijri year.
    CalendarDate hijriEnd{2024, 7, 1};
    app.GoTo(hijriEnd);
    HijriDate h = *HijriDateOf(hijriEnd);
    auto hnext = StepMonth(hijriEnd, DayRow::Hijri, +1, bounds);
    if (Check(L"2024-07-01 lies in Hijri month 12", h.month == 12 && hnext.has_value(),
              L"Hijri month " + Num(h.month))) {
        app.Key(HijriMonthId, VK_DOWN);
        app.CheckShows(L"Down on Hijri month 12 shows month 1 of the next year", *hnext);
    }
    // Lunar day: Down on the last day of a lunar month.
    app.GoTo({2024, 2, 9});  // 2023 腊月廿九, the last day of a short month
    app.Key(LunarDayId, VK_DOWN);
    app.CheckShows(L"Down on the last lunar day shows the next day", SpringFestival2024);

    // A choice in the lunar and the Hijri row moves the Gregorian one.
    app.Choose(LunarDayId, 14);
    app.CheckShows(L"choosing 十五 in the lunar day list shows 2024-02-24", {2024, 2, 24});
    HijriDate shownHijri = *HijriDateOf({2024, 2, 24});
    CalendarDate hijriFirst = *DayNumberToDate(DateToDayNumber(2024, 2, 24) - (shownHijri.day - 1));
    app.Choose(HijriDayId, 0);
    app.CheckShows(L"choosing day 1 in the Hijri day list shows the month's first day", hijriFirst);

    // The carry-over stops at the first day of the span.
    app.GoTo({MinShownYear, 1, 1});
    DayView before = app.Read();
    app.Key(GregorianMonthId, VK_UP);
    app.Key(GregorianDayId, VK_UP);
    app.Key(LunarDayId, VK_UP);
    app.Key(HijriMonthId, VK_UP);
    Barrier(app.Item(InfoLine1Id));
    DayView after = app.Read();
    Check(L"Up on the first month and day of every row on the first shown day changes nothing", before == after,
          Differences(before, after));
    app.CheckShows(L"the first shown day", {MinShownYear, 1, 1});
    // And at the last day of the span.
    app.GoTo({MaxShownYear, 12, 31});
    before = app.Read();
    app.Key(GregorianMonthId, VK_DOWN);
    app.Key(GregorianDayId, VK_DOWN);
    app.Key(LunarDayId, VK_DOWN);
    app.Key(HijriDayId, VK_DOWN);
    Barrier(app.Item(InfoLine1Id));
    after = app.Read();
    Check(L"Down on the last items of every row on the last shown day changes nothing", before == after,
          Differences(before, after));
    app.CheckShows(L"the last shown day", {MaxShownYear, 12, 31});

    // A new lunar year keeps the month: a leap month it lacks becomes the
    // ordinary month of that name. 2023-03-22 is 闰二月初一.
    CalendarDate leap{2023, 3, 22};
    app.GoTo(leap);
    CheckText(L"2023-03-22 shows 闰二月", L"闰二月小", SelectedItem(app.Item(LunarMonthId)));
    const SelectorList years = ExpectedLists(leap).lunarYear;
    auto year2024 = std::find(years.values.begin(), years.values.end(), 2024);
    app.Choose(LunarYearId, int(year2024 - years.values.begin()));
    app.CheckShows(L"choosing lunar year 2024 on 闰二月初一 shows 二月初一 of 2024", {2024, 3, 10});

    // The wheel carries over like the arrow keys.
    app.GoTo({2024, 1, 15});
    PostMessageW(app.Item(GregorianMonthId), WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
    app.CheckShows(L"the wheel turned forward on January shows December of the year before", {2023, 12, 15});
    PostMessageW(app.Item(GregorianMonthId), WM_MOUSEWHEEL, MAKEWPARAM(0, WORD(-WHEEL_DELTA)), 0);
    app.CheckShows(L"the wheel turned backward on December shows January of the next year", {2024, 1, 15});
    PostMessageW(app.Item(LunarDayId), WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
    app.CheckShows(L"the wheel turned forward on the lunar day list moves by itself", {2024, 1, 14});

    // A list closed without a choice shows the shown day again.
    app.GoTo(SpringFestival2024);
    HWND month = app.Item(GregorianMonthId);
    Send(month, CB_SHOWDROPDOWN, TRUE, 0);
    WaitFor([&] { return Send(month, CB_GETDROPPEDSTATE, 0, 0).value_or(0) != 0; }, 2000);
    Send(month, CB_SETCURSEL, 5, 0);
    Send(month, CB_SHOWDROPDOWN, FALSE, 0);
    app.CheckShows(L"a list closed without a choice shows the shown day again", SpringFestival2024);
}

void CheckInfoKinds(Lumora& app)
{
    app.GoTo(SpringFestival2024);
    app.Command(Cmd::InfoSunTimes);
    mirror.infoType = 1;
    app.CheckShows(L"日出日落 on line 2 (3097)", SpringFestival2024);
    std::wstring line2 = app.Read().line2;
    Check(L"line 2 reads 日出时刻..  日落时刻..",
          line2.rfind(L"日出时刻", 0) == 0 && line2.find(L"  日落时刻") != std::wstring::npos, Quoted(line2));
    app.Command(Cmd::InfoTwilight);
    mirror.infoType = 2;
    app.CheckShows(L"天亮天黑 on line 2 (3098)", SpringFestival2024);
    line2 = app.Read().line2;
    Check(L"line 2 reads 天亮时刻..  天黑时刻..",
          line2.rfind(L"天亮时刻", 0) == 0 && line2.find(L"  天黑时刻") != std::wstring::npos, Quoted(line2));
    app.Command(Cmd::InfoFestivals);
    mirror.infoType = 0;
    app.CheckShows(L"festivals on line 2 again (3096)", SpringFestival2024);
}

// The options that change what the rows show.
void CheckDisplayOptions(Lumora& app)
{
    // Era-name years in the lunar year list.
    CalendarDate han{-100, 6, 1};
    app.GoTo(han);
    app.Command(Cmd::ShowDynasty);
    mirror.dynasty = 1;
    app.CheckShows(L"era-name lunar years (3095)", han);
    LunarDate lunar = *LunarDateOf(han);
    CheckText(L"the lunar year item is the era-name year", Wide(EraYearText(lunar.year) + "年"),
              SelectedItem(app.Item(LunarYearId)));
    app.Command(Cmd::ShowDynasty);
    mirror.dynasty = 0;
    app.CheckShows(L"Chinese-digit lunar years again (3095)", han);

    // The stem-branch year from the Spring Festival: 2024-02-05 is after 立春
    // and before 春节.
    CalendarDate between{2024, 2, 5};
    app.GoTo(between);
    std::wstring fromTerm = app.Read().line1;
    app.Command(Cmd::GanZhiFromChunjie);
    mirror.chunjie = 1;
    app.CheckShows(L"stem-branch years from the Spring Festival (3090)", between);
    Check(L"3090 changes the stem-branch year of 2024-02-05", app.Read().line1 != fromTerm, Quoted(fromTerm));
    app.Command(Cmd::GanZhiFromChunjie);
    mirror.chunjie = 0;
    app.CheckShows(L"stem-branch years from 立春 again (3090)", between);

    // Modern astronomy for ancient dates moves the lunar months of 1000.
    CalendarDate ancient{1000, 1, 20};
    app.GoTo(ancient);
    DayView historical = app.Read();
    app.Command(Cmd::ModernAncient);
    mirror.modern = 1;
    app.CheckShows(L"modern astronomy for ancient dates (3092)", ancient, 8000);
    Check(L"3092 changes the lunar row of 1000-01-20", app.Read().selected != historical.selected,
          Quoted(historical.selected[5]));
    app.Command(Cmd::ModernAncient);
    mirror.modern = 0;
    app.CheckShows(L"the historical calendar again (3092)", ancient, 8000);

    // Go to the system date.
    app.Command(Cmd::GoToToday);
    app.CheckShows(L"go to the system date (3105)", Today());
}

void CheckHideAndShow(Lumora& app)
{
    PostMessageW(app.Item(GregorianDayId), WM_KEYDOWN, VK_ESCAPE, LPARAM(1 | (1u << 16)));
    PostMessageW(app.Item(GregorianDayId), WM_KEYUP, VK_ESCAPE, LPARAM(1 | (1u << 16) | (3u << 30)));
    Check(L"Escape in a selector hides the window", WaitFor([&] { return !IsWindowVisible(app.wnd); }, 3000));
    Send(app.wnd, WM_HOTKEY, 0xB001, MAKELPARAM(MOD_CONTROL | MOD_ALT, 'R'));
    Check(L"Ctrl+Alt+R shows it again", WaitFor([&] { return IsWindowVisible(app.wnd) != FALSE; }, 3000));
    PostMessageW(app.wnd, WM_KEYDOWN, VK_ESCAPE, LPARAM(1 | (1u << 16)));
    PostMessageW(app.wnd, WM_KEYUP, VK_ESCAPE, LPARAM(1 | (1u << 16) | (3u << 30)));
    Check(L"Escape on the window hides it", WaitFor([&] { return !IsWindowVisible(app.wnd); }, 3000));
    TypeChord({VK_CONTROL, VK_MENU, 'R'});
    Check(L"Ctrl+Alt+R typed on the keyboard shows it (the hot key is registered)",
          WaitFor([&] { return IsWindowVisible(app.wnd) != FALSE; }, 3000));

    // Escape that closes a dropped list only closes the list.
    HWND month = app.Item(GregorianMonthId);
    Send(month, CB_SHOWDROPDOWN, TRUE, 0);
    WaitFor([&] { return Send(month, CB_GETDROPPEDSTATE, 0, 0).value_or(0) != 0; }, 2000);
    app.Key(GregorianMonthId, VK_ESCAPE);
    Barrier(app.Item(InfoLine1Id));
    Check(L"Escape on a dropped list closes the list and leaves the window shown",
          Send(month, CB_GETDROPPEDSTATE, 0, 0).value_or(1) == 0 && IsWindowVisible(app.wnd));
    if (!IsWindowVisible(app.wnd)) Send(app.wnd, WM_HOTKEY, 0xB001, MAKELPARAM(MOD_CONTROL | MOD_ALT, 'R'));

    // Escape that closed the menu: its release reaches a selector, which
    // must not hide the card.
    PostMessageW(app.wnd, 1124, 0, WM_RBUTTONDOWN);
    PostMessageW(app.wnd, 1124, 0, WM_RBUTTONUP);
    if (HWND menuWnd = OpenMenu(app, 3000); Check(L"the menu opens before Escape closes it", menuWnd != nullptr)) {
        CloseMenu(app, menuWnd);
        PostMessageW(app.Item(GregorianYearId), WM_KEYUP, VK_ESCAPE, LPARAM(1 | (1u << 16) | (3u << 30)));
        Barrier(app.Item(InfoLine1Id));
        Check(L"Escape that closed the menu leaves the window shown", IsWindowVisible(app.wnd) != FALSE);
    }
}

void CheckTransparency(Lumora& app)
{
    std::wstring got;
    bool ok = true;
    for (int level = 9; level >= 0; --level) {
        app.Command(Cmd::Transparency0 + level);
        int alpha = app.Alpha().value_or(-1);
        got += Num(alpha) + L" ";
        if (alpha != 255 - 25 * level) ok = false;
    }
    Check(L"transparency levels 90%..0% give alpha 30..255 (3049..3040)", ok, L"got " + got);
    Check(L"level 0 keeps the layered style", (GetWindowLongW(app.wnd, GWL_EXSTYLE) & WS_EX_LAYERED) != 0);

    // Automatic fading while the pointer is away.
    RECT r = app.Rect();
    POINT away{r.left > 300 ? 40 : 1200, r.top > 300 ? 40 : 760};
    MouseTo(away.x, away.y);
    app.Command(Cmd::TransparencyAuto);
    std::vector<int> seen;
    DWORD start = GetTickCount();
    WaitFor(
        [&] {
            int a = app.SeenAlpha();
            if (seen.empty() || seen.back() != a) seen.push_back(a);
            return a == 30;
        },
        8000);
    DWORD took = GetTickCount() - start;
    Sleep(500);
    int settled = app.SeenAlpha();
    std::wstring trace;
    bool steps = true;
    for (size_t i = 0; i < seen.size(); ++i) {
        trace += Num(seen[i]) + L" ";
        if ((255 - seen[i]) % 15 != 0 || (i > 0 && seen[i] >= seen[i - 1])) steps = false;
    }
    Check(L"automatic fading falls by steps of 15 to alpha 30 and stays (3050)",
          steps && !seen.empty() && seen.back() == 30 && settled == 30 && took >= 2000,
          L"alpha seen " + trace + L"in " + Num(took) + L" ms, then " + Num(settled));

    // The pointer over the window makes it opaque at once.
    MouseTo((r.left + r.right) / 2, r.top + 41);
    MouseTo((r.left + r.right) / 2 + 3, r.top + 42);
    Check(L"the pointer over the fading window makes it opaque",
          WaitFor([&] { return app.SeenAlpha() == 255; }, 2000), L"alpha " + Num(app.SeenAlpha()));
    MouseTo(away.x, away.y);
    Check(L"fading starts again when the pointer leaves", WaitFor([&] { return app.SeenAlpha() < 255; }, 3000),
          L"alpha " + Num(app.SeenAlpha()));

    // The fading pauses while the pop-up menu or a dropped list is open, and
    // goes on once it has closed, with or without a choice.
    PostMessageW(app.wnd, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(130, 41));
    PostMessageW(app.wnd, WM_RBUTTONUP, 0, MAKELPARAM(130, 41));
    HWND menuWnd = OpenMenu(app, 3000);
    int paused = app.SeenAlpha();
    Sleep(700);
    Check(L"the fading pauses while the pop-up menu is open", menuWnd && app.SeenAlpha() == paused,
          L"alpha " + Num(paused) + L" then " + Num(app.SeenAlpha()));
    if (menuWnd) CloseMenu(app, menuWnd);
    Check(L"the fading goes on after the menu closed without a choice",
          WaitFor([&] { return app.SeenAlpha() < paused; }, 2000), L"alpha stays " + Num(app.SeenAlpha()));
    HWND month = app.Item(GregorianMonthId);
    Send(month, CB_SHOWDROPDOWN, TRUE, 0);
    paused = app.SeenAlpha();
    Sleep(700);
    Check(L"the fading pauses while a list is dropped", app.SeenAlpha() == paused,
          L"alpha " + Num(paused) + L" then " + Num(app.SeenAlpha()));
    Send(month, CB_SHOWDROPDOWN, FALSE, 0);
    MouseTo(away.x, away.y);
    Check(L"the fading goes on after the list closed", WaitFor([&] { return app.SeenAlpha() < paused; }, 2000),
          L"alpha stays " + Num(app.SeenAlpha()));

    std::map<int, bool> automatic;
    for (int c = Cmd::Transparency0; c <= Cmd::TransparencyAuto; ++c) automatic[c] = c == Cmd::TransparencyAuto;
    CheckMenuMarks(app, L"after 自动 (3050): 自动 alone", automatic);

    app.Command(Cmd::Transparency0);
    Sleep(600);
    Check(L"a fixed level stops the fading (3040)", app.SeenAlpha() == 255, L"alpha " + Num(app.SeenAlpha()));
}

bool IsTopLevel(HWND w) { return GetAncestor(w, GA_PARENT) == GetDesktopWindow(); }

void CheckPlacement(Lumora& app)
{
    Check(L"topmost at start", app.Topmost());
    app.Command(Cmd::Topmost);
    Check(L"3035 from topmost gives a normal window", !app.Topmost() && IsTopLevel(app.wnd));
    app.Command(Cmd::Topmost);
    Check(L"3035 from normal makes it topmost again", app.Topmost());
    app.Command(Cmd::EmbedInDesktop);
    HWND parent = GetAncestor(app.wnd, GA_PARENT);
    std::wstring parentClass = parent == GetDesktopWindow() ? L"(desktop)" : ClassOf(parent);
    Check(L"3036 from topmost embeds in the desktop (or stays top-level without one), not topmost",
          !app.Topmost() && (parentClass == L"SysListView32" || parentClass == L"(desktop)"),
          L"parent " + parentClass + (app.Topmost() ? L", topmost" : L""));
    Print(L"NOTE embedding parent under this desktop: " + parentClass);
    CheckMenuMarks(app, L"when embedded: 嵌入桌面 alone", {{Cmd::Topmost, false}, {Cmd::EmbedInDesktop, true}});
    app.Command(Cmd::EmbedInDesktop);
    Check(L"3036 twice returns to normal placement, not topmost", !app.Topmost() && IsTopLevel(app.wnd),
          app.Topmost() ? L"topmost" : L"parent " + ClassOf(GetAncestor(app.wnd, GA_PARENT)));
    CheckMenuMarks(app, L"in normal placement: neither 最前显示 nor 嵌入桌面",
                   {{Cmd::Topmost, false}, {Cmd::EmbedInDesktop, false}});
    app.Command(Cmd::EmbedInDesktop);
    app.Command(Cmd::Topmost);
    Check(L"3035 while embedded leaves the desktop and makes it topmost", app.Topmost() && IsTopLevel(app.wnd));

    // The window stays wholly on the screen when moved past an edge.
    int cx = GetSystemMetrics(SM_CXSCREEN), cy = GetSystemMetrics(SM_CYSCREEN);
    SetWindowPos(app.wnd, nullptr, cx - 100, cy - 50, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    RECT r;
    WaitFor([&] { r = app.Rect(); return r.left == cx - 260; }, 2000);
    Check(L"moved past the bottom-right corner it stops flush with the edges",
          r.left == cx - 260 && r.top == cy - 150, L"at " + Num(r.left) + L"," + Num(r.top));
    SetWindowPos(app.wnd, nullptr, -40, -30, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    WaitFor([&] { r = app.Rect(); return r.left == 0; }, 2000);
    Check(L"moved past the top-left corner it stops at 0,0", r.left == 0 && r.top == 0,
          L"at " + Num(r.left) + L"," + Num(r.top));
}

// Presses the left button on the card's margin and drags it by (dx, dy),
// pausing pace milliseconds between the steps.
RECT Drag(Lumora& app, int dx, int dy, DWORD pace = 60)
{
    RECT r = app.Rect();
    POINT p{r.left + 7, r.top + 75};
    MouseTo(p.x, p.y);
    Sleep(pace + 40);
    MouseButton(true);
    Sleep(pace * 5 / 2);
    for (int i = 1; i <= 4; ++i) {
        MouseTo(p.x + dx * i / 4, p.y + dy * i / 4);
        Sleep(pace);
    }
    MouseButton(false);
    RECT now = r;
    WaitFor([&] { now = app.Rect(); return now.left != r.left || now.top != r.top; }, 1000);
    Sleep(100);
    return app.Rect();
}

// A drag that should move the card: a busy machine may let the pointer run
// ahead of the move loop, so a drag that did not arrive is tried again more
// slowly from the same place.
RECT DragExpectingMove(Lumora& app, int dx, int dy)
{
    RECT start = app.Rect(), moved = start;
    for (DWORD pace : {60, 200, 500}) {
        moved = Drag(app, dx, dy, pace);
        if (moved.left == start.left + dx && moved.top == start.top + dy) break;
        SetWindowPos(app.wnd, nullptr, start.left, start.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        WaitFor([&] { return app.Rect().left == start.left && app.Rect().top == start.top; }, 2000);
    }
    return moved;
}

void CheckMoveLock(Lumora& app)
{
    SetWindowPos(app.wnd, nullptr, 400, 300, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    WaitFor([&] { return app.Rect().left == 400; }, 2000);
    RECT moved = DragExpectingMove(app, 60, 40);
    bool dragWorks = moved.left == 460 && moved.top == 340;
    Check(L"dragging the card moves it", dragWorks,
          L"from 400,300 by 60,40 it is at " + Num(moved.left) + L"," + Num(moved.top));
    app.Command(Cmd::NoMoving);
    RECT before = app.Rect();
    RECT after = Drag(app, 60, 40, 200);
    Check(L"with 禁止移动 (3037) dragging leaves it in place", after.left == before.left && after.top == before.top,
          L"moved from " + Num(before.left) + L"," + Num(before.top) + L" to " + Num(after.left) + L"," +
              Num(after.top));
    app.Command(Cmd::NoMoving);
    if (dragWorks) {
        RECT again = DragExpectingMove(app, -60, -40);
        Check(L"3037 again allows moving", again.left == before.left - 60 && again.top == before.top - 40,
              L"at " + Num(again.left) + L"," + Num(again.top));
    }
}

// Opens the pop-up menu as the right button does and reads its check marks
// through MN_GETHMENU. nullopt when the menu cannot be read from here.
// The notification icon's messages, a double click on an information line,
// and the day window's own entry of the menu.
void CheckSmallInputs(Lumora& app)
{
    PostMessageW(app.wnd, 1124, 0, WM_RBUTTONDOWN);
    PostMessageW(app.wnd, 1124, 0, WM_RBUTTONUP);
    HWND menuWnd = OpenMenu(app, 3000);
    if (Check(L"the notification icon's right button shows the pop-up menu", menuWnd != nullptr))
        Check(L"the notification icon's menu closes again", CloseMenu(app, menuWnd));

    HWND line = app.Item(InfoLine1Id);
    Send(line, EM_SETSEL, 2, 2);
    PostMessageW(line, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(4, 4));
    LRESULT length = Send(line, WM_GETTEXTLENGTH, 0, 0).value_or(-1);
    Check(L"a double click on information line 1 selects its whole text",
          WaitFor([&] { return Send(line, EM_GETSEL, 0, 0).value_or(0) == LRESULT(MAKELONG(0, length)); }, 2000),
          L"selection " + Num(long(Send(line, EM_GETSEL, 0, 0).value_or(0))) + L" of " + Num(long(length)));

    DayView before = app.Read();
    app.Command(Cmd::DayWindow);
    Barrier(app.Item(InfoLine1Id));
    Check(L"岚舟日历 (3025) in the day window changes nothing",
          app.Running() && IsWindow(app.wnd) && IsWindowVisible(app.wnd) && app.Read() == before);
}

}  // namespace

// A first start: nothing stored, everything at its default, nothing kept at close.
void ScenarioFresh(Lumora& app)
{
    const std::wstring s = L"fresh start";
    ClearRegistry();
    mirror = Mirror{};
    if (!StartChecked(app, s)) return;
    int cx = GetSystemMetrics(SM_CXSCREEN), cy = GetSystemMetrics(SM_CYSCREEN);
    CheckWindowFrame(app, s, {(cx - 260) / 2, (cy - 150) / 2});
    CheckShape(app, s);
    CheckLayout(app);
    Check(s + L": no background picture", !HasBackground(app));
    app.CheckShows(s + L": shows today", Today(), 5000);

    HANDLE mutex = OpenMutexW(SYNCHRONIZE, FALSE, L"Lumora3.0");
    Check(L"the running copy holds the mutex Lumora3.0", mutex != nullptr);
    if (mutex) CloseHandle(mutex);  // held here, it would keep the next start from running

    // A second copy ends at once without a window.
    Lumora second(exePath);
    bool started = second.Start();
    DWORD code = 12345;
    if (second.pi.hProcess) GetExitCodeProcess(second.pi.hProcess, &code);
    Check(L"a second copy exits at once with code 0 and no window",
          !started && !second.Running() && code == 0,
          started ? L"it showed a window" : second.Running() ? L"still running" : L"exit code " + Num(code));
    second.Kill();
    Check(L"the first copy keeps running", app.Running() && IsWindowVisible(app.wnd));

    CheckKnownDay(app);
    CheckNavigation(app);
    CheckInfoKinds(app);
    CheckDisplayOptions(app);
    CheckHideAndShow(app);
    CheckSmallInputs(app);
    CheckMenuMarks(app, L"at start",
                   {{Cmd::DayWindow, true},
                    {Cmd::MonthWindow, false},
                    {Cmd::Topmost, true},
                    {Cmd::EmbedInDesktop, false},
                    {Cmd::NoMoving, false},
                    {Cmd::Transparency0, true},
                    {(Cmd::Transparency0 + 5), false},
                    {Cmd::TransparencyAuto, false},
                    {Cmd::UseRegistry, false},
                    {Cmd::AutoRun, false},
                    {Cmd::HourlyReport, false},
                    {Cmd::GanZhiFromChunjie, false},
                    {Cmd::NoDayAudio, false},
                    {Cmd::ModernAncient, false},
                    {Cmd::NearMemorials, false},
                    {Cmd::ShowDynasty, false},
                    {Cmd::InfoFestivals, true},
                    {Cmd::InfoSunTimes, false},
                    {Cmd::InfoTwilight, false}});
    CheckTransparency(app);
    CheckPlacement(app);
    CheckMoveLock(app);
    CheckDialogs(app);
    if (!app.Running()) return;

    Check(s + L": 退出 ends the program with exit code 0", app.Exit());
    Check(s + L": a close without registry use leaves no settings", !KeyExists(LumoraKey),
          L"values " + std::to_wstring(ValueNames().size()));
}

// Settings of another version are neither read nor kept.
void ScenarioForeignVersion(Lumora& app)
{
    const std::wstring s = L"foreign version";
    PrepareSettings({{L"Version", L"3.9"}, {L"FormLeft", L"100"}, {L"FormTop", L"200"},
                     {L"DFORMShowInfoTypeFlag", L"1"}, {L"DFORMShowDynastyFlag", L"1"}});
    SetValue(L"Lumora", L"old", HKEY_CURRENT_USER, L"Software\\Lumora\\SolarMemorial");
    mirror = Mirror{};
    if (!StartChecked(app, s)) return;
    int cx = GetSystemMetrics(SM_CXSCREEN), cy = GetSystemMetrics(SM_CYSCREEN);
    RECT r = app.Rect();
    Check(s + L": stored position ignored, window centred",
          r.left == (cx - 260) / 2 && r.top == (cy - 150) / 2, L"at " + Num(r.left) + L"," + Num(r.top));
    app.CheckShows(s + L": stored options ignored", Today(), 5000);
    Check(s + L": 退出 ends the program with exit code 0", app.Exit());
    Check(s + L": the close removes the settings and stored days", !KeyExists(LumoraKey));
}

// A prepared registry read at start, changed through the menu, written at close.
void ScenarioPrepared(Lumora& app)
{
    const std::wstring s = L"prepared settings";
    std::wstring bitmap = CardBitmap();
    PrepareSettings({{L"Version", L"4.0"}, {L"FormLeft", L"100"}, {L"FormTop", L"200"},
                     {L"DFORMShowInfoTypeFlag", L"1"}, {L"DFORMShowDynastyFlag", L"1"}, {L"NowCityCode", L"21"},
                     {L"FORMTransFlag", L"7"}, {L"DFORMBackBitmapName", bitmap}});
    mirror = Mirror{};
    mirror.infoType = 1;
    mirror.dynasty = 1;
    mirror.city = 21;
    if (!StartChecked(app, s)) return;
    CheckWindowFrame(app, s, {100, 200});
    Check(s + L": the stored background picture is shown", HasBackground(app));
    app.CheckShows(s + L": 上海's sun times and era-name years for today", Today(), 5000);
    app.GoTo(SpringFestival2024);
    app.CheckShows(s + L": 2024-02-10 with 上海's sun times", SpringFestival2024);

    CheckMenuMarks(app, L"of the stored settings",
                   {{Cmd::UseRegistry, true},
                    {Cmd::AutoRun, false},
                    {Cmd::ShowDynasty, true},
                    {Cmd::InfoFestivals, false},
                    {Cmd::InfoSunTimes, true},
                    {Cmd::InfoTwilight, false}});
    for (int c : {Cmd::HourlyReport, Cmd::GanZhiFromChunjie, Cmd::NoDayAudio, Cmd::NearMemorials, Cmd::ShowDynasty,
                  Cmd::InfoTwilight, (Cmd::Transparency0 + 3), Cmd::NoMoving, Cmd::AutoRun})
        app.Command(c);
    mirror.dynasty = 0;
    mirror.infoType = 2;
    mirror.chunjie = 1;
    app.CheckShows(s + L": after the menu changes", SpringFestival2024);
    CheckMenuMarks(app, L"after the changes",
                   {{Cmd::NoMoving, true},
                    {(Cmd::Transparency0 + 3), true},
                    {Cmd::Transparency0, false},
                    {Cmd::AutoRun, true},
                    {Cmd::HourlyReport, true},
                    {Cmd::GanZhiFromChunjie, true},
                    {Cmd::NoDayAudio, true},
                    {Cmd::ModernAncient, false},
                    {Cmd::NearMemorials, true},
                    {Cmd::ShowDynasty, false},
                    {Cmd::InfoSunTimes, false},
                    {Cmd::InfoTwilight, true}});
    app.Command(Cmd::NoMoving);

    int cx = GetSystemMetrics(SM_CXSCREEN), cy = GetSystemMetrics(SM_CYSCREEN);
    SetWindowPos(app.wnd, nullptr, cx, cy, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    WaitFor([&] { return app.Rect().left == cx - 260; }, 2000);
    Check(s + L": 退出 ends the program with exit code 0", app.Exit());

    std::map<std::wstring, std::wstring> expected = {
        {L"Version", L"4.0"},
        {L"FormLeft", Num(cx - 260)},
        {L"FormTop", Num(cy - 150)},
        {L"WholeAutoReportTimeFlag", L"1"},
        {L"GanZhiFromChunjieFlag", L"1"},
        {L"CloseFORMAudioPlayFlag", L"1"},
        {L"ModernCalculateAncientFlag", L"0"},
        {L"NearLocateMemorialFlag", L"1"},
        {L"DFORMShowDynastyFlag", L"0"},
        {L"DFORMShowInfoTypeFlag", L"2"},
        {L"ShowCalendarTypeFlag", L"0"},
        {L"MyCityName", L""},
        {L"MyCityLongitude", L""},
        {L"MyCityLatitude", L""},
        {L"NowCityCode", L"21"},
        {L"FORMTransFlag", L"3"},
        {L"DFORMBackBitmapName", bitmap},
    };
    std::wstring detail;
    for (auto& [name, value] : expected) {
        auto got = GetValue(name.c_str());
        if (got != value) detail += name + L" expected " + Quoted(value) + L" got " + Quoted(got) + L"; ";
    }
    Check(s + L": the settings written at close", detail.empty(), detail);
    std::wstring extra;
    for (const auto& name : ValueNames())
        if (!expected.count(name)) extra += name + L" ";
    Check(s + L": no other values written", extra.empty(), extra);

    SetProgramPathsUtf8(Utf8(exePath));
    std::wstring command = Wide(Utf8ToGbk(AutoRunCommand()).value_or(""));
    CheckText(s + L": 开机自动运行 writes the Run value naming the program", command,
              GetValue(L"Lumora", HKEY_LOCAL_MACHINE, RunKey));
    Check(s + L": the Run value is the quoted program path", command == L"\"" + exePath + L"\"", command);
}
