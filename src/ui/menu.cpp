#include "menu.h"

#include <iterator>
#include <string>

#include "controls.h"
#include "coordinates_dialog.h"
#include "menu_model.h"
#include "settings.h"
#include "shown_day.h"
#include "speaking_clock.h"
#include "tools.h"
#include "window_behaviours.h"

namespace {

void Call(void (*hook)())
{
    if (hook) hook();
}

void ShowEffects(HWND window, const MainWindowHooks& hooks, unsigned effects)
{
    if (effects & TransparencyChanged) {
        if (FORMTransFlag == 10) {
            StartFading(window);
        } else {
            SetTransparency(window, 25 * FORMTransFlag);
            StopFading(window);
        }
    }
    if (effects & HourlyTimerChanged) SetHourlyTimer(window, WholeAutoReportTimeFlag == 1);
    if (effects & YearNamesChanged) Call(hooks.refreshYearNames);
    if (effects & ListsChanged) Call(hooks.refreshLists);
    else if (effects & InfoChanged) Call(hooks.refreshInfo);
}

}  // namespace

HMENU BuildMenu()
{
    HMENU top = CreatePopupMenu();
    HMENU submenus[4] = {top, nullptr, nullptr, nullptr};
    for (const MenuItem& item : MenuItems()) {
        HMENU& into = submenus[size_t(item.level)];
        wchar_t text[128];
        CopyText(text, std::size(text), item.text);
        if (!into) {
            // The first item of a submenu is the top-level item that opens it.
            into = CreatePopupMenu();
            AppendMenuW(top, MF_POPUP | MF_STRING, UINT_PTR(into), text);
        } else if (std::string(item.text) == "-") {
            AppendMenuW(into, MF_SEPARATOR, 0, nullptr);
        } else {
            AppendMenuW(into, MF_STRING, UINT_PTR(item.command), text);
        }
    }
    return top;
}

void UpdateMenuChecks(HMENU menu)
{
    for (const MenuItem& item : MenuItems())
        if (item.command != 0)
            CheckMenuItem(menu, UINT(item.command),
                          MF_BYCOMMAND | (MenuItemChecked(item.command) ? MF_CHECKED : MF_UNCHECKED));
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

void RunCommand(HWND window, const MainWindowHooks& hooks, int number)
{
    PopupMenuOpen = 0;
    if (BeginWindowSwitch(number)) {
        Call(hooks.close);
        return;
    }
    if (unsigned effects = ApplySettingCommand(number); effects != NoEffect) {
        ShowEffects(window, hooks, effects);
        return;
    }
    if (number >= Cmd::EditMemorials && number <= Cmd::ConditionDays) {
        OpenToolWindow(window, number);
        // The editor may have changed the stored days the window shows.
        if (number <= Cmd::EditCountdowns) Call(hooks.refreshInfo);
        return;
    }
    switch (number) {
    case Cmd::Topmost:
    case Cmd::EmbedInDesktop: {
        std::string next = NextPlacement(number, PlacementMode);
        ChangePlacement(window, PlacementMode, next);
        PlacementMode = next;
        break;
    }
    case Cmd::Coordinates:
        RunSmallDialog(window, SmallDialogMode::Coordinates);
        Call(hooks.refreshInfo);
        break;
    case Cmd::SpeakTime: SpeakTime(); break;
    case Cmd::ChooseBackground:
        if (hooks.chooseBackground) hooks.chooseBackground(window);
        break;
    case Cmd::GoToToday: Call(hooks.showToday); break;
    case Cmd::SetSystemDate:
        if (ShownDate.year >= 1980 && ShownDate.year <= 2099) RunSmallDialog(window, SmallDialogMode::SystemDate);
        break;
    case Cmd::Help: RunSmallDialog(window, SmallDialogMode::Help); break;
    case Cmd::Exit: Call(hooks.close); break;
    default: break;
    }
}
