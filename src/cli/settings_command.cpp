// lumora-cli settings: the program's settings as the registry holds them,
// and a change of one of them as the menu (or the window, or the
// local-coordinates dialog) would make it, saved as a normal close saves.
#include <cstdio>
#include <string>
#include <vector>

#include "commands.h"
#include "settings.h"
#include "terminal.h"

namespace {

const char Usage[] =
    "usage: lumora-cli settings                     every setting as 'Name value'\n"
    "       lumora-cli settings set NAME VALUE      change one setting and save\n"
    "       lumora-cli settings set registry on|off allow the registry; off removes the\n"
    "                                               settings and the stored days\n"
    "names and values:\n"
    "  AutoRunFlag, WholeAutoReportTimeFlag, GanZhiFromChunjieFlag, CloseFORMAudioPlayFlag,\n"
    "  ModernCalculateAncientFlag, NearLocateMemorialFlag, DFORMShowDynastyFlag,\n"
    "  ShowCalendarTypeFlag                         0 or 1\n"
    "  DFORMShowInfoTypeFlag                        0 festivals, 1 sunrise/sunset, 2 dawn/dusk\n"
    "  MyCityName                                   own place, at most 12 bytes (6 Chinese\n"
    "                                               characters); \"\" removes it\n"
    "  MyCityLongitude, MyCityLatitude              degrees, west and north positive\n"
    "  NowCityCode                                  1..43 a city (lumora-cli cities), 44 own place\n"
    "  FormLeft, FormTop                            window corner in pixels, -1 not set\n"
    "  FORMTransFlag                                0..9 transparency, 10 fading (not read back)\n"
    "  DFORMBackBitmapName                          X:\\...\\NAME.BMP, \"\" none";

int Refuse(const std::string& message)
{
    PrintLine(stderr, "settings: " + message);
    return 2;
}

}  // namespace

int SettingsCommand(const CommandArgs& args)
{
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
        PrintLine(stdout, Usage);
        return 0;
    }
    bool listing = args.empty();
    if (!listing && (args.size() != 3 || args[0] != "set"))
        return Refuse("expected no words or 'set NAME VALUE' (see settings --help)");
    if (!listing && !AreProgramText(args, 1)) return 2;

    InitProgramPaths();
    LoadSettings();
    if (listing) {
        for (const auto& [name, text] : SettingTexts()) PrintLine(stdout, text.empty() ? name : name + " " + text);
        return 0;
    }
    const std::string &name = args[1], &value = args[2];
    if (name == "registry") {
        if (value != "on" && value != "off") return Refuse("registry is on or off");
        SetRegistryUse(value == "on");
    } else {
        // With the registry off a normal close removes everything, so a
        // change could not be kept.
        if (UseRegistry != 1) return Refuse("registry use is off, nothing can be kept (settings set registry on)");
        std::string error = ChangeSetting(name, value);
        if (!error.empty()) return Refuse(error);
    }
    SaveSettings();
    return 0;
}
