#include "tools.h"

#include "audio_playback.h"
#include "converter_window.h"
#include "editor_window.h"
#include "menu_model.h"
#include "query_window.h"
#include "tables_window.h"

void OpenToolWindow(HWND owner, int command)
{
    if (command >= Cmd::EditMemorials && command <= Cmd::EditCountdowns) {
        // The editor previews audio freely: the day's own audio stops first.
        StopDayAudio();
        WindowAudioPath.clear();
        ShortPath.clear();
        RunEditorWindow(owner, command - Cmd::EditMemorials + 1);
    } else if (command >= Cmd::JulianDays && command <= Cmd::ConvertCalendars) {
        RunConverterWindow(owner, command - Cmd::JulianDays + 1);
    } else if (command >= Cmd::LunarMonths && command <= Cmd::SunTimes) {
        RunTablesWindow(owner, command - Cmd::LunarMonths + 1);
    } else if (command == Cmd::ConditionMonths || command == Cmd::ConditionDays) {
        RunQueryWindow(owner, command - Cmd::ConditionMonths + 1);
    }
}
