// lumora-cli settings: the program's settings as the registry holds them,
// and a change of one of them as the menu (or the window, or the
// local-coordinates dialog) would make it, saved as a normal close saves.
#include <charconv>
#include <cmath>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "calendar_flags.h"
#include "commands.h"
#include "places.h"
#include "platform.h"
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

// The settings in the registry's order, each as its stored text.
std::vector<std::pair<std::string, std::string>> SettingTexts()
{
    return {
        {"registry", UseRegistry == 1 ? "on" : "off"},
        {"AutoRunFlag", std::to_string(AutoRunFlag)},
        {"WholeAutoReportTimeFlag", std::to_string(WholeAutoReportTimeFlag)},
        {"GanZhiFromChunjieFlag", std::to_string(GanZhiFromChunjieFlag)},
        {"CloseFORMAudioPlayFlag", std::to_string(CloseFORMAudioPlayFlag)},
        {"ModernCalculateAncientFlag", std::to_string(ModernCalculateAncientFlag)},
        {"NearLocateMemorialFlag", std::to_string(NearLocateMemorialFlag)},
        {"DFORMShowDynastyFlag", std::to_string(DFORMShowDynastyFlag)},
        {"DFORMShowInfoTypeFlag", std::to_string(DFORMShowInfoTypeFlag)},
        {"ShowCalendarTypeFlag", std::to_string(ShowCalendarTypeFlag)},
        {"MyCityName", MyCity.name},
        {"MyCityLongitude", NumberText(MyCity.longitude)},
        {"MyCityLatitude", NumberText(MyCity.latitude)},
        {"NowCityCode", std::to_string(CurrentPlace.cityCode)},
        {"FormLeft", std::to_string(FormLeft)},
        {"FormTop", std::to_string(FormTop)},
        {"FORMTransFlag", std::to_string(FORMTransFlag)},
        {"DFORMBackBitmapName", DFORMBackBitmapName},
    };
}

std::optional<double> Degrees(const std::string& text, double limit)
{
    double value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || !std::isfinite(value) ||
        std::fabs(value) > limit)
        return std::nullopt;
    return value;
}

// Changes one setting in memory; "" when done, else why not.
std::string ChangeSetting(const std::string& name, const std::string& value)
{
    const std::pair<const char*, int*> flags[] = {
        {"AutoRunFlag", &AutoRunFlag},
        {"WholeAutoReportTimeFlag", &WholeAutoReportTimeFlag},
        {"GanZhiFromChunjieFlag", &GanZhiFromChunjieFlag},
        {"CloseFORMAudioPlayFlag", &CloseFORMAudioPlayFlag},
        {"NearLocateMemorialFlag", &NearLocateMemorialFlag},
        {"DFORMShowDynastyFlag", &DFORMShowDynastyFlag},
        {"ShowCalendarTypeFlag", &ShowCalendarTypeFlag},
    };
    for (const auto& [flagName, flag] : flags) {
        if (name != flagName) continue;
        auto on = ParseWholeNumber(value, 0, 1);
        if (!on) return name + " is 0 or 1";
        *flag = int(*on);
        return "";
    }
    if (name == "ModernCalculateAncientFlag") {
        auto flag = ParseWholeNumber(value, 0, 1);
        if (!flag) return name + " is 0 or 1";
        SetModernCalculateAncientFlag(int(*flag));
        return "";
    }
    if (name == "DFORMShowInfoTypeFlag" || name == "FORMTransFlag") {
        bool info = name == "DFORMShowInfoTypeFlag";
        auto level = ParseWholeNumber(value, 0, info ? 2 : 10);
        if (!level) return name + (info ? " is 0, 1 or 2" : " is 0..10");
        (info ? DFORMShowInfoTypeFlag : FORMTransFlag) = int(*level);
        return "";
    }
    if (name == "FormLeft" || name == "FormTop") {
        bool left = name == "FormLeft";
        ScreenDimensions screen = ScreenSize();
        int extent = left ? screen.width : screen.height;
        auto edge = ParseWholeNumber(value, -1, extent);
        if (!edge) return name + " is -1 (not set) or 0.." + std::to_string(extent);
        (left ? FormLeft : FormTop) = int32_t(*edge);
        return "";
    }
    if (name == "NowCityCode") {
        auto code = ParseWholeNumber(value, 1, CustomCityCode);
        if (!code) return "NowCityCode is 1.." + std::to_string(CityCount()) + " or " +
                          std::to_string(CustomCityCode) + " (own place)";
        if (*code == CustomCityCode && MyCity.name.empty()) return "there is no own place (set MyCityName first)";
        SelectCity(int32_t(*code));
        return "";
    }
    if (name == "MyCityName") {
        // The dialog's name field takes at most 12 bytes.
        if (value.size() > 12) return "MyCityName is at most 12 bytes (6 Chinese characters)";
        MyCity.name = value;
        if (value.empty()) MyCity = {};
        if (CurrentPlace.cityCode == CustomCityCode) SelectCity(value.empty() ? 1 : CustomCityCode);
        return "";
    }
    if (name == "MyCityLongitude" || name == "MyCityLatitude") {
        bool longitude = name == "MyCityLongitude";
        if (MyCity.name.empty()) return "there is no own place (set MyCityName first)";
        auto degrees = Degrees(value, longitude ? 180 : 90);
        if (!degrees) return name + (longitude ? " is -180..180 (west positive)" : " is -90..90 (north positive)");
        (longitude ? MyCity.longitude : MyCity.latitude) = *degrees;
        if (CurrentPlace.cityCode == CustomCityCode) SelectCity(CustomCityCode);
        return "";
    }
    if (name == "DFORMBackBitmapName") {
        if (!value.empty() && !IsBackgroundBitmapPath(value))
            return "DFORMBackBitmapName must name an existing .BMP bitmap by a drive path (X:\\...)";
        DFORMBackBitmapName = value;
        return "";
    }
    return "unknown setting '" + name + "' (see settings --help)";
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
