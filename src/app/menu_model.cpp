#include "menu_model.h"

#include "calendar_flags.h"
#include "settings.h"
#include "shown_day.h"

namespace {

using enum MenuLevel;

const MenuItem Items[] = {
    {Cmd::DayWindow, "岚舟日历(&D)", Top},
    {Cmd::MonthWindow, "岚舟月历(&M)", Top},
    {0, "-", Top},
    {Cmd::Topmost, "最前显示(&T)", Top},
    {Cmd::EmbedInDesktop, "嵌入桌面(&I)", Top},
    {0, "-", Top},
    {Cmd::NoMoving, "禁止移动(&N)", Top},
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
    {Cmd::TransparencyAuto, "自动(&A)", Transparency},
    {0, "-", Top},
    {Cmd::Coordinates, "本地坐标(&L)...", Top},
    {0, "-", Top},
    {0, "实用工具(&U)", Tools},
    {Cmd::EditMemorials, "编辑纪念日(&E)...", Tools},
    {Cmd::EditReminders, "编辑提醒日(&R)...", Tools},
    {Cmd::EditCountdowns, "编辑倒计日(&W)...", Tools},
    {0, "-", Tools},
    {Cmd::JulianDays, "计算儒略日(&J)...", Tools},
    {Cmd::DayIntervals, "计算间隔日(&I)...", Tools},
    {Cmd::StemBranchCalendar, "计算干支历(&G)...", Tools},
    {0, "-", Tools},
    {Cmd::ConvertCalendars, "公历农历回历互转(&C)...", Tools},
    {0, "-", Tools},
    {Cmd::LunarMonths, "计算农历月(&L)...", Tools},
    {Cmd::SolarTerms, "计算节气日(&T)...", Tools},
    {Cmd::MoonPhases, "计算朔望日(&N)...", Tools},
    {0, "-", Tools},
    {Cmd::SunTimes, "计算太阳升降时刻(&S)...", Tools},
    {0, "-", Tools},
    {Cmd::ConditionMonths, "查询条件月(&M)...", Tools},
    {Cmd::ConditionDays, "查询条件日(&D)...", Tools},
    {0, "-", Top},
    {Cmd::SpeakTime, "语音报时(&V)   Alt+V", Top},
    {0, "-", Top},
    {0, "选项(&O)", Options},
    {Cmd::UseRegistry, "允许使用注册表(&U)", Options},
    {Cmd::AutoRun, "开机自动运行(&P)", Options},
    {0, "-", Options},
    {Cmd::HourlyReport, "整点自动报时(&W)", Options},
    {0, "-", Options},
    {Cmd::GanZhiFromChunjie, "干支纪年以春节为起点(&C)", Options},
    {Cmd::NoDayAudio, "关闭背景音乐播放功能(&A)", Options},
    {Cmd::ModernAncient, "按现代天文算法计算古历(&M)", Options},
    {Cmd::NearMemorials, "近似定位纪念日(&N)", Options},
    {0, "-", Options},
    {Cmd::ShowDynasty, "日历界面显示年号纪年(&D)", Options},
    {0, "-", Options},
    {Cmd::InfoFestivals, "日历界面显示节日节气(&G)", Options},
    {Cmd::InfoSunTimes, "日历界面显示日出日落时刻(&R)", Options},
    {Cmd::InfoTwilight, "日历界面显示天亮天黑时刻(&B)", Options},
    {0, "-", Options},
    {Cmd::ChooseBackground, "选择日历界面背景图片(&S)...", Options},
    {0, "-", Top},
    {Cmd::GoToToday, "转到系统日期(&G)", Top},
    {Cmd::SetSystemDate, "修改系统日期(&S)", Top},
    {0, "-", Top},
    {Cmd::Help, "帮助(&H)", Top},
    {0, "-", Top},
    {Cmd::Exit, "退出(&X)", Top},
};

void Toggle(int& flag) { flag = flag == 1 ? 0 : 1; }

}  // namespace

std::span<const MenuItem> MenuItems() { return Items; }

bool MenuItemChecked(int command)
{
    if (command >= Cmd::Transparency0 && command <= Cmd::Transparency90)
        return FORMTransFlag == command - Cmd::Transparency0;
    switch (command) {
    case Cmd::DayWindow: return ShowCalendarTypeFlag == 0;
    case Cmd::MonthWindow: return ShowCalendarTypeFlag == 1;
    case Cmd::Topmost: return PlacementMode == "T";
    case Cmd::EmbedInDesktop: return PlacementMode == "D";
    case Cmd::NoMoving: return MoveMode == "Y";
    case Cmd::TransparencyAuto: return FORMTransFlag == 10;
    case Cmd::UseRegistry: return UseRegistry == 1;
    case Cmd::AutoRun: return AutoRunFlag == 1;
    case Cmd::HourlyReport: return WholeAutoReportTimeFlag == 1;
    case Cmd::GanZhiFromChunjie: return GanZhiFromChunjieFlag == 1;
    case Cmd::NoDayAudio: return CloseFORMAudioPlayFlag == 1;
    case Cmd::ModernAncient: return ModernCalculateAncientFlag == 1;
    case Cmd::NearMemorials: return NearLocateMemorialFlag == 1;
    case Cmd::ShowDynasty: return DFORMShowDynastyFlag == 1;
    case Cmd::InfoFestivals:
    case Cmd::InfoSunTimes:
    case Cmd::InfoTwilight: return DFORMShowInfoTypeFlag == command - Cmd::InfoFestivals;
    default: return false;
    }
}

unsigned ApplySettingCommand(int command)
{
    if (command >= Cmd::Transparency0 && command <= Cmd::TransparencyAuto) {
        FORMTransFlag = command == Cmd::TransparencyAuto ? 10 : command - Cmd::Transparency0;
        return TransparencyChanged;
    }
    switch (command) {
    case Cmd::NoMoving: MoveMode.assign(1, MoveMode == "N" ? 'Y' : 'N'); return NoEffect;
    case Cmd::UseRegistry: SetRegistryUse(UseRegistry != 1); return InfoChanged;
    case Cmd::AutoRun:
        // A program without a path of its own cannot be started at log-on.
        if (CanAutoRun()) Toggle(AutoRunFlag);
        return NoEffect;
    case Cmd::HourlyReport: Toggle(WholeAutoReportTimeFlag); return HourlyTimerChanged;
    case Cmd::GanZhiFromChunjie: Toggle(GanZhiFromChunjieFlag); return InfoChanged;
    case Cmd::NoDayAudio: Toggle(CloseFORMAudioPlayFlag); return InfoChanged;
    case Cmd::ModernAncient:
        SetModernCalculateAncientFlag(ModernCalculateAncientFlag == 1 ? 0 : 1);
        InitDateBounds();
        return ListsChanged;
    case Cmd::NearMemorials: Toggle(NearLocateMemorialFlag); return InfoChanged;
    case Cmd::ShowDynasty: Toggle(DFORMShowDynastyFlag); return YearNamesChanged;
    case Cmd::InfoFestivals:
    case Cmd::InfoSunTimes:
    case Cmd::InfoTwilight: DFORMShowInfoTypeFlag = command - Cmd::InfoFestivals; return InfoChanged;
    default: return NoEffect;
    }
}

std::string NextPlacement(int command, const std::string& mode)
{
    if (command == Cmd::Topmost) return mode == "T" ? "N" : "T";
    return mode == "D" ? "N" : "D";
}

bool BeginWindowSwitch(int command)
{
    int target = command == Cmd::DayWindow ? 0 : command == Cmd::MonthWindow ? 1 : -1;
    if (target < 0 || target == ShowCalendarTypeFlag) return false;
    ShowCalendarTypeFlag = target;
    PlacementMode = "T";
    MoveMode = "N";
    SwitchPending = 1;
    // The day window shows the lunar and Hijri days of the shown day.
    if (target == 0) SetShownDate(ShownDate);
    return true;
}
