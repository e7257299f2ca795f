#include "menu.h"

#include "audio_playback.h"
#include "calendar_flags.h"
#include "coordinates_dialog.h"
#include "day_window.h"
#include "settings.h"
#include "shown_day.h"
#include "speaking_clock.h"
#include "window_behaviours.h"
#include "win32/wide_text.h"

namespace {

// One item: its command number (0 for a separator or a submenu), its text
// ("-" for a separator) and the submenu it belongs to (0 the top level).
struct MenuItem {
    int command;
    const char* text;
    int level;
};
enum { Top, Transparency, Tools, Options };

// A submenu is opened by the item of text that precedes its items.
const MenuItem MenuItems[] = {
    {3025, "岚舟日历(&D)", Top},
    {3026, "岚舟月历(&M)", Top},
    {0, "-", Top},
    {3035, "最前显示(&T)", Top},
    {3036, "嵌入桌面(&I)", Top},
    {0, "-", Top},
    {3037, "禁止移动(&N)", Top},
    {0, "-", Top},
    {0, "设置透明度(&P)", Transparency},
    {3040, "0%(&0)", Transparency},
    {3041, "10%(&1)", Transparency},
    {3042, "20%(&2)", Transparency},
    {3043, "30%(&3)", Transparency},
    {3044, "40%(&4)", Transparency},
    {3045, "50%(&5)", Transparency},
    {3046, "60%(&6)", Transparency},
    {3047, "70%(&7)", Transparency},
    {3048, "80%(&8)", Transparency},
    {3049, "90%(&9)", Transparency},
    {0, "-", Transparency},
    {3050, "自动(&A)", Transparency},
    {0, "-", Top},
    {3055, "本地坐标(&L)...", Top},
    {0, "-", Top},
    {0, "实用工具(&U)", Tools},
    {3060, "编辑纪念日(&E)...", Tools},
    {3061, "编辑提醒日(&R)...", Tools},
    {3062, "编辑倒计日(&W)...", Tools},
    {0, "-", Tools},
    {3065, "计算儒略日(&J)...", Tools},
    {3066, "计算间隔日(&I)...", Tools},
    {3067, "计算干支历(&G)...", Tools},
    {0, "-", Tools},
    {3068, "公历农历回历互转(&C)...", Tools},
    {0, "-", Tools},
    {3070, "计算农历月(&L)...", Tools},
    {3071, "计算节气日(&T)...", Tools},
    {3072, "计算塑望日(&N)...", Tools},
    {0, "-", Tools},
    {3073, "计算太阳升降时刻(&S)...", Tools},
    {0, "-", Tools},
    {3075, "查询条件月(&M)...", Tools},
    {3076, "查询条件日(&D)...", Tools},
    {0, "-", Top},
    {3080, "语音报时(&V)   Alt+V", Top},
    {0, "-", Top},
    {0, "选项(&O)", Options},
    {3085, "允许使用注册表(&U)", Options},
    {3086, "开机自动运行(&P)", Options},
    {0, "-", Options},
    {3087, "整点自动报时(&W)", Options},
    {0, "-", Options},
    {3090, "干支纪年以春节为起点(&C)", Options},
    {3091, "关闭背景音乐播放功能(&A)", Options},
    {3092, "按现代天文算法计算古历(&M)", Options},
    {3093, "近似定位纪念日(&N)", Options},
    {0, "-", Options},
    {3095, "日历界面显示年号纪年(&D)", Options},
    {0, "-", Options},
    {3096, "日历界面显示节日节气(&G)", Options},
    {3097, "日历界面显示日出日落时刻(&R)", Options},
    {3098, "日历界面显示天亮天黑时刻(&B)", Options},
    {0, "-", Options},
    {3100, "选择日历界面背景图片(&S)...", Options},
    {0, "-", Top},
    {3105, "转到系统日期(&G)", Top},
    {3106, "修改系统日期(&S)", Top},
    {0, "-", Top},
    {3110, "帮助(&H)", Top},
    {0, "-", Top},
    {3111, "退出(&X)", Top},
};

void Check(HMENU menu, int command, bool on)
{
    CheckMenuItem(menu, UINT(command), MF_BYCOMMAND | (on ? MF_CHECKED : MF_UNCHECKED));
}

void Toggle(int& flag) { flag = flag == 1 ? 0 : 1; }

// The placement that the topmost (3035) and desktop (3036) commands lead to.
std::string NextPlacement(int command, const std::string& mode)
{
    if (command == 3035) return mode == "T" ? "N" : "T";
    return mode == "D" ? "N" : "D";
}

}  // namespace

HMENU BuildMenu()
{
    HMENU top = CreatePopupMenu();
    HMENU submenus[4] = {top, nullptr, nullptr, nullptr};
    for (const MenuItem& item : MenuItems) {
        HMENU into = submenus[item.level];
        if (!into) {
            // The first item of a submenu is the top-level item that opens it.
            into = submenus[item.level] = CreatePopupMenu();
            AppendMenuW(top, MF_POPUP | MF_STRING, UINT_PTR(into), Wide(item.text).c_str());
        } else if (std::string(item.text) == "-") {
            AppendMenuW(into, MF_SEPARATOR, 0, nullptr);
        } else {
            AppendMenuW(into, MF_STRING, UINT_PTR(item.command), Wide(item.text).c_str());
        }
    }
    return top;
}

void UpdateMenuChecks(HMENU menu)
{
    Check(menu, 3025, ShowCalendarTypeFlag == 0);
    Check(menu, 3026, ShowCalendarTypeFlag == 1);
    Check(menu, 3035, PlacementMode == "T");
    Check(menu, 3036, PlacementMode == "D");
    Check(menu, 3037, MoveMode == "Y");
    for (int level = 0; level <= 10; ++level) Check(menu, level < 10 ? 3040 + level : 3050, FORMTransFlag == level);
    Check(menu, 3085, UseRegistry == 1);
    Check(menu, 3086, AutoRunFlag == 1);
    Check(menu, 3087, WholeAutoReportTimeFlag == 1);
    Check(menu, 3090, GanZhiFromChunjieFlag == 1);
    Check(menu, 3091, CloseFORMAudioPlayFlag == 1);
    Check(menu, 3092, ModernCalculateAncientFlag == 1);
    Check(menu, 3093, NearLocateMemorialFlag == 1);
    Check(menu, 3095, DFORMShowDynastyFlag == 1);
    for (int kind = 0; kind <= 2; ++kind) Check(menu, 3096 + kind, DFORMShowInfoTypeFlag == kind);
}

void ShowPopupMenu(HWND window, HMENU menu)
{
    PopupMenuOpen = 1;
    POINT pointer;
    GetCursorPos(&pointer);
    // The owner must be in front, or the menu would not close when the user
    // clicks elsewhere.
    SetForegroundWindow(window);
    TrackPopupMenu(menu, TPM_RIGHTBUTTON, pointer.x, pointer.y, 0, window, nullptr);
    PostMessageW(window, WM_NULL, 0, 0);
    // A menu closed without a choice leaves the fading paused no longer.
    PopupMenuOpen = 0;
}

void RunCommand(HWND window, int number)
{
    PopupMenuOpen = 0;
    switch (number) {
    case 3035:
    case 3036: {
        std::string next = NextPlacement(number, PlacementMode);
        ChangePlacement(window, PlacementMode, next);
        PlacementMode = next;
        break;
    }
    case 3037: MoveMode.assign(1, MoveMode == "N" ? 'Y' : 'N'); break;
    case 3050:
        FORMTransFlag = 10;
        StartFading(window);
        break;
    case 3055:
        RunSmallDialog(window, SmallDialogMode::Coordinates);
        RefreshDayInfo();
        break;
    case 3080: SpeakTime(); break;
    case 3085:
        SetRegistryUse(UseRegistry != 1);
        RefreshDayInfo();
        break;
    case 3086:
        if (CanAutoRun()) Toggle(AutoRunFlag);
        break;
    case 3087:
        Toggle(WholeAutoReportTimeFlag);
        SetHourlyTimer(window, WholeAutoReportTimeFlag == 1);
        break;
    case 3090:
        Toggle(GanZhiFromChunjieFlag);
        RefreshDayInfo();
        break;
    case 3091:
        Toggle(CloseFORMAudioPlayFlag);
        RefreshDayInfo();
        break;
    case 3092:
        SetModernCalculateAncientFlag(ModernCalculateAncientFlag == 1 ? 0 : 1);
        InitDateBounds();
        RefreshDayLists();
        break;
    case 3093:
        Toggle(NearLocateMemorialFlag);
        RefreshDayInfo();
        break;
    case 3095:
        Toggle(DFORMShowDynastyFlag);
        RefreshDaySelectors();
        break;
    case 3096:
    case 3097:
    case 3098:
        DFORMShowInfoTypeFlag = number - 3096;
        RefreshDayInfo();
        break;
    case 3100: ChooseBackground(window); break;
    case 3105: ShowToday(); break;
    case 3106:
        if (ShownDate.year >= 1980 && ShownDate.year <= 2099) RunSmallDialog(window, SmallDialogMode::SystemDate);
        break;
    case 3110: RunSmallDialog(window, SmallDialogMode::Help); break;
    case 3111: CloseDayWindow(); break;
    default:
        if (number >= 3040 && number <= 3049) {
            FORMTransFlag = number - 3040;
            SetTransparency(window, 25 * FORMTransFlag);
            StopFading(window);
        }
        // Switching to the month window, the tools and the day editor open
        // windows of their own; the day window is the only one so far.
        break;
    }
}
