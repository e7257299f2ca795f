#include "settings.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "calendar_flags.h"
#include "date_text.h"
#include "file_path.h"
#include "gbk_text.h"
#include "places.h"
#include "platform.h"
#include "registry_keys.h"
#include "utf8_text.h"

int UseRegistry = 0;
int AutoRunFlag = 0;
int WholeAutoReportTimeFlag = 0;
int CloseFORMAudioPlayFlag = 0;
int NearLocateMemorialFlag = 0;
int DFORMShowDynastyFlag = 0;
int DFORMShowInfoTypeFlag = 0;
int ShowCalendarTypeFlag = 0;
int32_t FormLeft = -1;
int32_t FormTop = -1;
std::string DFORMBackBitmapName;

int FORMTransFlag = 0;
std::string PlacementMode = "T";
std::string MoveMode = "N";
std::string BitmapFolder;
int PopupMenuOpen = 0;
int DropDownOpen = 0;

std::string ProgramDir;
std::string ProgramFile;
std::string ProgramPathUtf8;

namespace {

const char* const SettingsKey = LumoraKeyPath;
const char SettingsVersion[] = "4.0";
const char RunKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
const char AutoRunValue[] = "Lumora";
constexpr size_t MyCityNameBytes = 12;

std::string Read(const char* name) { return RegReadText(RegistryRoot::CurrentUser, SettingsKey, name); }

void Write(const char* name, const std::string& text)
{
    RegWriteText(RegistryRoot::CurrentUser, SettingsKey, name, text);
}


// The value of a text that is wholly one decimal number.
std::optional<double> NumberValue(const std::string& text)
{
    double value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

// A stored whole number: the text must be the decimal text of its own value
// rounded down ("2.5" and "07" are refused).
std::optional<double> WholeNumber(const std::string& text)
{
    auto value = NumberValue(text);
    if (!value || NumberText(std::floor(*value)) != text) return std::nullopt;
    return value;
}

// The settings that hold one small number 0..max, in the registry's order.
// A load takes the stored text only when it is the canonical text of such a
// number (anything else gives 0); a change takes a typed whole number of the
// same range.
struct NumberSetting {
    const char* name;
    int* value;
    int max;
    const char* range;  // the range as a refusal states it
};
const NumberSetting NumberSettings[] = {
    {"WholeAutoReportTimeFlag", &WholeAutoReportTimeFlag, 1, "0 or 1"},
    {"GanZhiFromChunjieFlag", &GanZhiFromChunjieFlag, 1, "0 or 1"},
    {"CloseFORMAudioPlayFlag", &CloseFORMAudioPlayFlag, 1, "0 or 1"},
    {"ModernCalculateAncientFlag", &ModernCalculateAncientFlag, 1, "0 or 1"},
    {"NearLocateMemorialFlag", &NearLocateMemorialFlag, 1, "0 or 1"},
    {"DFORMShowDynastyFlag", &DFORMShowDynastyFlag, 1, "0 or 1"},
    {"DFORMShowInfoTypeFlag", &DFORMShowInfoTypeFlag, 2, "0, 1 or 2"},
    {"ShowCalendarTypeFlag", &ShowCalendarTypeFlag, 1, "0 or 1"},
};
// The transparency is written at every close but starts at 0 every time.
constexpr int MaxTransparency = 10;

void SetNumber(const NumberSetting& setting, int value)
{
    // The calendar's own switch also drops the lunar years built under the other.
    if (setting.value == &ModernCalculateAncientFlag) SetModernCalculateAncientFlag(value);
    else *setting.value = value;
}

// A window edge: any number whose floor lies on the screen, else -1.
int32_t ReadPosition(const char* name, int screenExtent)
{
    auto value = NumberValue(Read(name));
    if (!value) return -1;
    double edge = std::floor(*value);
    return edge >= 0 && edge <= screenExtent ? int32_t(edge) : -1;
}

// Where the running program's path (UTF-8) splits into folder and file.
size_t ProgramFileStart() { return ProgramPathUtf8.find_last_of(":/\\") + 1; }

// The program path that the Run value names, in UTF-8: the folder with a
// backslash appended when it has none, then the file.
std::string AutoRunTarget()
{
    std::string folder = ProgramPathUtf8.substr(0, ProgramFileStart());
    bool separated = !folder.empty() && (folder.back() == '\\' || folder.back() == '/');
    return folder + (separated ? "" : "\\") + ProgramPathUtf8.substr(ProgramFileStart());
}

// A Run value starts this program when it names its path, with or without
// the double quotes, in any letter case.
bool IsOwnAutoRunCommand(const std::string& command)
{
    std::string path = command;
    if (path.size() >= 2 && path.front() == '"' && path.back() == '"') path = path.substr(1, path.size() - 2);
    return CanAutoRun() && Utf8AsciiLowered(path) == Utf8AsciiLowered(AutoRunTarget());
}

// The machine-wide value first, as before; an ordinary user cannot write it,
// and then the user's own Run key takes the same command. Only one of the
// two is left, so the program is not started twice at log-on.
void WriteAutoRun()
{
    std::string command = AutoRunCommand();
    if (RegWriteUtf8Text(RegistryRoot::LocalMachine, RunKey, AutoRunValue, command))
        RegDeleteValueText(RegistryRoot::CurrentUser, RunKey, AutoRunValue);
    else
        RegWriteUtf8Text(RegistryRoot::CurrentUser, RunKey, AutoRunValue, command);
}

void DeleteAutoRun()
{
    RegDeleteValueText(RegistryRoot::LocalMachine, RunKey, AutoRunValue);
    RegDeleteValueText(RegistryRoot::CurrentUser, RunKey, AutoRunValue);
}

void DeleteSettingsKeys()
{
    // The stored days' keys go before their parent, since a key with
    // sub-keys cannot be deleted.
    for (const char* key : {SolarMemorialKey, LunarMemorialKey, HijriMemorialKey})
        RegDeleteKeyPath(RegistryRoot::CurrentUser, std::string(LumoraKeyPath) + "\\" + key);
    RegDeleteKeyPath(RegistryRoot::CurrentUser, ReminderKeyPath);
    RegDeleteKeyPath(RegistryRoot::CurrentUser, SettingsKey);
}

// 1..43 a built-in city, 44 the own place while there is one.
bool IsSelectableCity(double code)
{
    return (code >= 1 && code <= CityCount()) || (code == CustomCityCode && !MyCity.name.empty());
}

constexpr double MaxLongitude = 180;
constexpr double MaxLatitude = 90;
bool IsCoordinate(double degrees, double limit) { return degrees >= -limit && degrees <= limit; }

// The own place is kept only with a name and both coordinates valid; the
// city code 44 (the own place) only while there is one.
void LoadPlace()
{
    MyCity = {};
    std::string name = LeftBytes(Read("MyCityName"), MyCityNameBytes);
    if (!name.empty()) {
        auto longitude = CanonicalNumber(Read("MyCityLongitude"));
        std::optional<double> latitude;
        if (longitude && IsCoordinate(*longitude, MaxLongitude)) latitude = CanonicalNumber(Read("MyCityLatitude"));
        if (latitude && IsCoordinate(*latitude, MaxLatitude)) MyCity = {name, *longitude, *latitude};
    }
    auto stored = WholeNumber(Read("NowCityCode"));
    SelectCity(stored && IsSelectableCity(*stored) ? int32_t(*stored) : 1);
}

void SavePlace()
{
    bool hasOwnPlace = !MyCity.name.empty();
    Write("MyCityName", hasOwnPlace ? MyCity.name : "");
    Write("MyCityLongitude", hasOwnPlace ? NumberText(MyCity.longitude) : "");
    Write("MyCityLatitude", hasOwnPlace ? NumberText(MyCity.latitude) : "");
    Write("NowCityCode", std::to_string(CurrentPlace.cityCode));
}

void SetDefaults()
{
    UseRegistry = 0;
    AutoRunFlag = 0;
    for (const NumberSetting& setting : NumberSettings) SetNumber(setting, 0);
    MyCity = {};
    SelectCity(1);
    FormLeft = -1;
    FormTop = -1;
    DFORMBackBitmapName.clear();
}

// Every start begins opaque, topmost and movable, whatever was saved.
void SetRunTimeState()
{
    FORMTransFlag = 0;
    // Built from characters: MinGW's GCC 12 warns falsely (-Wrestrict) on a
    // literal assigned here.
    PlacementMode = std::string(1, 'T');
    MoveMode = std::string(1, 'N');
    BitmapFolder = DFORMBackBitmapName.empty() ? ProgramDir : FolderOfPath(DFORMBackBitmapName);
    PopupMenuOpen = 0;
    DropDownOpen = 0;
}

}  // namespace

void SetProgramPaths(const std::string& modulePath)
{
    std::string path = LeftBytes(modulePath, MaxPathBytes);
    size_t split = AfterLastOf(path, ":/\\");
    ProgramDir = path.substr(0, split);
    ProgramFile = path.substr(split);
    ProgramPathUtf8 = GbkToUtf8(path).value_or("");
}

void SetProgramPathsUtf8(const std::string& modulePathUtf8)
{
    if (auto gbk = Utf8ToGbk(modulePathUtf8)) {
        SetProgramPaths(*gbk);
    } else {
        // Code page 936 lacks a character: the folder and the file are each
        // kept where it can write them.
        size_t split = modulePathUtf8.find_last_of(":/\\") + 1;
        ProgramDir = LeftBytes(Utf8ToGbk(modulePathUtf8.substr(0, split)).value_or(""), MaxPathBytes);
        ProgramFile = LeftBytes(Utf8ToGbk(modulePathUtf8.substr(split)).value_or(""), MaxPathBytes);
    }
    ProgramPathUtf8 = modulePathUtf8;
}

void InitProgramPaths() { SetProgramPathsUtf8(ModulePathUtf8()); }

std::string NumberText(double value)
{
    if (!std::isfinite(value)) return "";
    // "%.14e" rounds to 15 significant digits: "-1.16383300000000e+02".
    char rounded[40];
    std::snprintf(rounded, sizeof rounded, "%.14e", value);
    std::string text = rounded;
    bool negative = text[0] == '-';
    size_t first = negative ? 1 : 0, mark = text.find('e');
    std::string digits = text.substr(first, 1) + text.substr(first + 2, mark - first - 2);
    int exponent = std::atoi(text.c_str() + mark + 1);
    std::string whole, fraction;
    if (exponent < 0) {
        whole = "0";
        fraction = std::string(size_t(-exponent - 1), '0') + digits;
    } else if (size_t(exponent) + 1 >= digits.size()) {
        whole = digits + std::string(size_t(exponent) + 1 - digits.size(), '0');
    } else {
        whole = digits.substr(0, size_t(exponent) + 1);
        fraction = digits.substr(size_t(exponent) + 1);
    }
    while (!fraction.empty() && fraction.back() == '0') fraction.pop_back();
    std::string result = fraction.empty() ? whole : whole + "." + fraction;
    return negative && result != "0" ? "-" + result : result;
}

std::optional<double> CanonicalNumber(const std::string& text)
{
    auto value = NumberValue(text);
    if (!value || NumberText(*value) != text) return std::nullopt;
    return value;
}

bool IsBackgroundBitmapPath(const std::string& path)
{
    if (!IsDriveFilePath(path)) return false;
    size_t dot = path.rfind('.');
    if (dot == std::string::npos || AsciiLowered(path.substr(dot + 1)) != "bmp") return false;
    return FileExists(path) && IsBitmapFile(path);
}

std::string AutoRunCommand()
{
    std::string command(1, '"');
    return command.append(AutoRunTarget()).append(1, '"');
}

bool CanAutoRun() { return ProgramFileStart() < ProgramPathUtf8.size(); }

void LoadSettings()
{
    SetDefaults();
    if (Read("Version") == SettingsVersion) {
        UseRegistry = 1;
        AutoRunFlag = IsOwnAutoRunCommand(RegReadUtf8Text(RegistryRoot::LocalMachine, RunKey, AutoRunValue)) ||
                              IsOwnAutoRunCommand(RegReadUtf8Text(RegistryRoot::CurrentUser, RunKey, AutoRunValue))
                          ? 1
                          : 0;
        for (const NumberSetting& setting : NumberSettings) {
            auto stored = WholeNumber(Read(setting.name));
            SetNumber(setting, stored && *stored >= 0 && *stored <= setting.max ? int(*stored) : 0);
        }
        LoadPlace();
        ScreenDimensions screen = ScreenSize();
        FormLeft = ReadPosition("FormLeft", screen.width);
        FormTop = ReadPosition("FormTop", screen.height);
        std::string bitmap = Read("DFORMBackBitmapName");
        if (IsBackgroundBitmapPath(bitmap)) DFORMBackBitmapName = bitmap;
    }
    SetRunTimeState();
}

void LoadStoredSettings()
{
    int modern = ModernCalculateAncientFlag, chunjie = GanZhiFromChunjieFlag;
    InitProgramPaths();
    LoadSettings();
    if (modern == 1) SetModernCalculateAncientFlag(1);
    if (chunjie == 1) GanZhiFromChunjieFlag = 1;
}

void SaveSettings()
{
    if (UseRegistry != 1) {
        DeleteSettingsKeys();
        DeleteAutoRun();
        return;
    }
    Write("Version", SettingsVersion);
    Write("FormLeft", std::to_string(FormLeft));
    Write("FormTop", std::to_string(FormTop));
    for (const NumberSetting& setting : NumberSettings) Write(setting.name, std::to_string(*setting.value));
    SavePlace();
    Write("FORMTransFlag", std::to_string(FORMTransFlag));
    Write("DFORMBackBitmapName", DFORMBackBitmapName);
    // Without its own path the program could only write a command that
    // starts nothing: then it writes none and leaves the one there.
    if (AutoRunFlag == 1 && CanAutoRun()) WriteAutoRun();
    else if (AutoRunFlag != 1) DeleteAutoRun();
}

void SetRegistryUse(bool on)
{
    UseRegistry = on ? 1 : 0;
    Write("Version", on ? SettingsVersion : "");
    if (!on) DeleteSettingsKeys();
}

std::vector<std::pair<std::string, std::string>> SettingTexts()
{
    std::vector<std::pair<std::string, std::string>> texts = {
        {"registry", UseRegistry == 1 ? "on" : "off"},
        {"AutoRunFlag", std::to_string(AutoRunFlag)},
    };
    for (const NumberSetting& setting : NumberSettings) texts.push_back({setting.name, std::to_string(*setting.value)});
    texts.insert(texts.end(), {
        {"MyCityName", MyCity.name},
        {"MyCityLongitude", NumberText(MyCity.longitude)},
        {"MyCityLatitude", NumberText(MyCity.latitude)},
        {"NowCityCode", std::to_string(CurrentPlace.cityCode)},
        {"FormLeft", std::to_string(FormLeft)},
        {"FormTop", std::to_string(FormTop)},
        {"FORMTransFlag", std::to_string(FORMTransFlag)},
        {"DFORMBackBitmapName", DFORMBackBitmapName},
    });
    return texts;
}

std::string ChangeSetting(const std::string& name, const std::string& value)
{
    if (name == "AutoRunFlag") {
        auto on = ParseWholeNumber(value, 0, 1);
        if (!on) return name + " is 0 or 1";
        AutoRunFlag = int(*on);
        return "";
    }
    for (const NumberSetting& setting : NumberSettings) {
        if (name != setting.name) continue;
        auto number = ParseWholeNumber(value, 0, setting.max);
        if (!number) return name + " is " + setting.range;
        SetNumber(setting, int(*number));
        return "";
    }
    if (name == "FORMTransFlag") {
        auto level = ParseWholeNumber(value, 0, MaxTransparency);
        if (!level) return name + " is 0.." + std::to_string(MaxTransparency);
        FORMTransFlag = int(*level);
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
        if (!IsSelectableCity(double(*code))) return "there is no own place (set MyCityName first)";
        SelectCity(int32_t(*code));
        return "";
    }
    if (name == "MyCityName") {
        // The dialog's name field takes as many bytes as a load keeps.
        if (value.size() > MyCityNameBytes) return "MyCityName is at most 12 bytes (6 Chinese characters)";
        MyCity.name = value;
        if (value.empty()) MyCity = {};
        if (CurrentPlace.cityCode == CustomCityCode) SelectCity(value.empty() ? 1 : CustomCityCode);
        return "";
    }
    if (name == "MyCityLongitude" || name == "MyCityLatitude") {
        bool longitude = name == "MyCityLongitude";
        if (MyCity.name.empty()) return "there is no own place (set MyCityName first)";
        auto degrees = NumberValue(value);
        if (!degrees || !IsCoordinate(*degrees, longitude ? MaxLongitude : MaxLatitude))
            return name + (longitude ? " is -180..180 (west positive)" : " is -90..90 (north positive)");
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
