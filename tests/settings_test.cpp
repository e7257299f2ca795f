#include "settings.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "audio_playback.h"
#include "calendar_flags.h"
#include "places.h"
#include "platform.h"
#include "registry_sandbox.h"

namespace {

const RegistryRoot User = RegistryRoot::CurrentUser;
const RegistryRoot Machine = RegistryRoot::LocalMachine;
const char Key[] = "Software\\Lumora";

std::string Stored(const char* name) { return RegReadText(User, Key, name); }
void Store(const char* name, const std::string& text) { RegWriteText(User, Key, name, text); }

}  // namespace

class Settings : public RegistrySandbox {
protected:
    void SetUp() override
    {
        RegistrySandbox::SetUp();
        SetProgramPaths("C:\\Program Files\\岚舟\\lumora.exe");
    }
    // Every other test expects the defaults: 天安门, both calendar flags off.
    void TearDown() override
    {
        RegistrySandbox::TearDown();
        LoadSettings();
        SetProgramPaths("");
    }

    // A registry as the program leaves it at a normal close, with every
    // setting at its default.
    static void SaveDefaults()
    {
        LoadSettings();
        SetRegistryUse(true);
        SaveSettings();
    }
};

TEST_F(Settings, EmptyRegistryGivesDefaultsAndTheCloseLeavesNothing)
{
    WholeAutoReportTimeFlag = DFORMShowDynastyFlag = ShowCalendarTypeFlag = 1;
    FORMTransFlag = 5;
    PlacementMode = "D";
    FormLeft = 7;
    SelectCity(31);
    LoadSettings();
    EXPECT_EQ(UseRegistry, 0);
    EXPECT_EQ(WholeAutoReportTimeFlag + DFORMShowDynastyFlag + ShowCalendarTypeFlag + FORMTransFlag, 0);
    EXPECT_EQ(PlacementMode, "T");
    EXPECT_EQ(MoveMode, "N");
    EXPECT_EQ(FormLeft, -1);
    EXPECT_EQ(CurrentPlace.cityCode, 1);
    EXPECT_EQ(CurrentPlace.name, "天安门");
    EXPECT_EQ(BitmapFolder, "C:\\Program Files\\岚舟\\");

    SaveSettings();
    EXPECT_EQ(Stored("Version"), "");
}

// A "Version" other than "4.0": nothing is read, and the close removes the
// whole tree, stored days and the Run values included.
TEST_F(Settings, AnotherVersionReadsNothingAndTheCloseRemovesTheTree)
{
    Store("Version", "3.0");
    Store("WholeAutoReportTimeFlag", "1");
    Store("NowCityCode", "31");
    RegWriteText(User, "Software\\Lumora\\SolarMemorial", "01-01", "AD2000");
    RegWriteText(User, "Software\\Lumora\\SolarReminded", "A", "AD01-01-2000");
    RegWriteUtf8Text(Machine, RegistrySandbox::RunKey, "Lumora", AutoRunCommand());
    LoadSettings();
    EXPECT_EQ(UseRegistry, 0);
    EXPECT_EQ(AutoRunFlag, 0);
    EXPECT_EQ(WholeAutoReportTimeFlag, 0);
    EXPECT_EQ(CurrentPlace.cityCode, 1);

    SaveSettings();
    EXPECT_EQ(Stored("Version"), "");
    EXPECT_EQ(Stored("WholeAutoReportTimeFlag"), "");
    EXPECT_EQ(RegReadText(User, "Software\\Lumora\\SolarMemorial", "01-01"), "");
    EXPECT_EQ(RegReadText(User, "Software\\Lumora\\SolarReminded", "A"), "");
    EXPECT_EQ(RegReadText(Machine, RegistrySandbox::RunKey, "Lumora"), "");
}

// Defaults on an empty registry, every setting changed, saved and loaded
// again: each value as set.
TEST_F(Settings, RoundTripOfEverySetting)
{
    WriteBitmap("back.Bmp");
    LoadSettings();
    SetRegistryUse(true);
    AutoRunFlag = WholeAutoReportTimeFlag = GanZhiFromChunjieFlag = CloseFORMAudioPlayFlag = 1;
    SetModernCalculateAncientFlag(1);
    NearLocateMemorialFlag = DFORMShowDynastyFlag = ShowCalendarTypeFlag = 1;
    DFORMShowInfoTypeFlag = 2;
    MyCity = {"测试", -116.38, 30.5};
    SelectCity(CustomCityCode);
    FormLeft = 3;
    FormTop = 4;
    FORMTransFlag = 7;
    DFORMBackBitmapName = ProgramPath("back.Bmp");
    SaveSettings();

    EXPECT_EQ(Stored("Version"), "4.0");
    EXPECT_EQ(Stored("MyCityLongitude"), "-116.38");
    EXPECT_EQ(Stored("NowCityCode"), "44");
    EXPECT_EQ(Stored("FORMTransFlag"), "7");
    EXPECT_EQ(RegReadText(Machine, RegistrySandbox::RunKey, "Lumora"), "\"C:\\Program Files\\岚舟\\lumora.exe\"");

    LoadSettings();
    EXPECT_EQ((std::vector<int>{UseRegistry, AutoRunFlag, WholeAutoReportTimeFlag, GanZhiFromChunjieFlag,
                                CloseFORMAudioPlayFlag, ModernCalculateAncientFlag, NearLocateMemorialFlag,
                                DFORMShowDynastyFlag, DFORMShowInfoTypeFlag, ShowCalendarTypeFlag, FormLeft, FormTop}),
              (std::vector<int>{1, 1, 1, 1, 1, 1, 1, 1, 2, 1, 3, 4}));
    EXPECT_EQ(MyCity.name, "测试");
    EXPECT_EQ(MyCity.longitude, -116.38);
    EXPECT_EQ(MyCity.latitude, 30.5);
    EXPECT_EQ(CurrentPlace.cityCode, 44);
    EXPECT_EQ(CurrentPlace.longitude, -116.38);
    EXPECT_EQ(FORMTransFlag, 0);  // written, never read back: every start is opaque
    EXPECT_EQ(DFORMBackBitmapName, ProgramPath("back.Bmp"));
    EXPECT_EQ(BitmapFolder, ProgramPath(""));

    // A built-in city is kept by its code.
    SelectCity(31);
    SaveSettings();
    LoadSettings();
    EXPECT_EQ(CurrentPlace.name, "拉萨");
    EXPECT_EQ(MyCity.name, "测试");
}

// A value that fails its check takes the default; no other value suffers.
TEST_F(Settings, InvalidStoredTextsTakeTheirDefaults)
{
    const int width = ScreenSize().width;
    struct Case {
        const char* name;
        std::string text;
    };
    const Case flags[] = {{"WholeAutoReportTimeFlag", "01"}, {"GanZhiFromChunjieFlag", "true"},
                          {"ModernCalculateAncientFlag", "2"}, {"ShowCalendarTypeFlag", "1.0"},
                          {"DFORMShowInfoTypeFlag", "3"},      {"DFORMShowInfoTypeFlag", "2.0"}};
    for (const Case& c : flags) {
        SaveDefaults();
        Store(c.name, c.text);
        LoadSettings();
        EXPECT_EQ(WholeAutoReportTimeFlag + GanZhiFromChunjieFlag + ModernCalculateAncientFlag + ShowCalendarTypeFlag +
                      DFORMShowInfoTypeFlag,
                  0)
            << c.name << "=" << c.text;
        EXPECT_EQ(UseRegistry, 1);
    }
    const Case positions[] = {{"FormLeft", "-5"}, {"FormLeft", "abc"}, {"FormLeft", std::to_string(width + 1)},
                              {"FormLeft", "1e999"}, {"FormLeft", ""}, {"FormTop", "-0.5"}};
    for (const Case& c : positions) {
        SaveDefaults();
        Store("FormLeft", "10");
        Store("FormTop", "10");
        Store(c.name, c.text);
        LoadSettings();
        EXPECT_EQ(std::string(c.name) == "FormLeft" ? FormLeft : FormTop, -1) << c.name << "=" << c.text;
    }
    // Positions need not be canonical: the value is rounded down.
    Store("FormLeft", "12.7");
    Store("FormTop", "0");
    LoadSettings();
    EXPECT_EQ(FormLeft, 12);
    EXPECT_EQ(FormTop, 0);
    Store("FormLeft", std::to_string(width));
    LoadSettings();
    EXPECT_EQ(FormLeft, width);
}

// The own place needs a name and two canonical coordinates in range; the
// city code must be a plain whole number.
TEST_F(Settings, OwnPlaceAndCityCode)
{
    struct Case {
        std::string longitude, latitude;
        bool kept;
    };
    const Case places[] = {{"120.5", "-45", true},    {"120.50", "30", false}, {"+120.5", "30", false},
                           {"1.2e2", "30", false},    {"180", "90", true},     {"-180.0001", "0", false},
                           {"120.5", "91", false},    {" ", "30", false},      {"0.1", "0.3", true}};
    for (const Case& c : places) {
        SaveDefaults();
        Store("MyCityName", "测试");
        Store("MyCityLongitude", c.longitude);
        Store("MyCityLatitude", c.latitude);
        Store("NowCityCode", "44");
        LoadSettings();
        EXPECT_EQ(MyCity.name, c.kept ? "测试" : "") << c.longitude << " " << c.latitude;
        EXPECT_EQ(CurrentPlace.cityCode, c.kept ? 44 : 1) << c.longitude << " " << c.latitude;
        if (!c.kept) {
            EXPECT_EQ(MyCity.longitude + MyCity.latitude, 0);
        }
    }

    // 13 bytes whose 12th byte starts a character: 11 bytes are kept.
    Store("MyCityName", "abcdefghijk岚");
    Store("MyCityLongitude", "-116.38");
    Store("MyCityLatitude", "30.5");
    LoadSettings();
    EXPECT_EQ(MyCity.name, "abcdefghijk");

    for (const char* code : {"2.5", "02", "45", "0", "-1", "abc", "", "1e1"}) {
        Store("NowCityCode", code);
        LoadSettings();
        EXPECT_EQ(CurrentPlace.cityCode, 1) << code;
    }
    Store("NowCityCode", "43");
    LoadSettings();
    EXPECT_EQ(CurrentPlace.name, "台北");
    Store("MyCityName", "");
    Store("NowCityCode", "44");
    LoadSettings();
    EXPECT_EQ(CurrentPlace.cityCode, 1);
}

// What lumora-cli's "settings set" takes, a save keeps and the next load
// reads back unchanged; what it refuses changes nothing.
TEST_F(Settings, ChangesTakeWhatALoadReadsBack)
{
    struct Case {
        const char* name;
        const char* typed;
        const char* listed;  // after save and load; nullptr when refused
    };
    const Case cases[] = {
        {"ModernCalculateAncientFlag", "1", "1"}, {"ModernCalculateAncientFlag", "2", nullptr},
        {"DFORMShowInfoTypeFlag", "2", "2"},      {"DFORMShowInfoTypeFlag", "3", nullptr},
        {"ShowCalendarTypeFlag", "+1", "1"},      {"NearLocateMemorialFlag", "x", nullptr},
        {"MyCityName", "测试地方", "测试地方"},   {"MyCityName", "测试地方七个字", nullptr},
        {"MyCityLongitude", "-116.380", "-116.38"}, {"MyCityLatitude", "90.5", nullptr},
        {"NowCityCode", "44", "44"},              {"NowCityCode", "45", nullptr},
        {"FormLeft", "-1", "-1"},                 {"FormTop", "-2", nullptr},
        {"Nonsense", "1", nullptr},
    };
    SaveDefaults();
    ASSERT_EQ(ChangeSetting("MyCityName", "测试"), "");
    for (const Case& c : cases) {
        auto listed = [&c] {
            for (const auto& [name, text] : SettingTexts())
                if (name == c.name) return text;
            return std::string("(none)");
        };
        std::string before = listed();
        std::string error = ChangeSetting(c.name, c.typed);
        EXPECT_EQ(error.empty(), c.listed != nullptr) << c.name << " " << c.typed << ": " << error;
        SaveSettings();
        LoadSettings();
        EXPECT_EQ(listed(), c.listed ? c.listed : before) << c.name << " " << c.typed;
    }
    EXPECT_EQ(ModernCalculateAncientFlag, 1);
}

// lumora-cli's --modern and --chunjie are typed before the command loads
// the stored settings, and win over what is stored.
TEST_F(Settings, StoredSettingsKeepTheCalendarSwitchesTypedBefore)
{
    SaveDefaults();
    Store("GanZhiFromChunjieFlag", "1");
    SetModernCalculateAncientFlag(1);
    GanZhiFromChunjieFlag = 0;
    LoadStoredSettings();
    EXPECT_EQ(ModernCalculateAncientFlag, 1);
    EXPECT_EQ(GanZhiFromChunjieFlag, 1);
    LoadSettings();
    EXPECT_EQ(ModernCalculateAncientFlag, 0);
}

TEST_F(Settings, BackgroundBitmapRules)
{
    WriteBitmap("a.BMP");
    WriteBitmap("a.png");
    WriteFile("fake.bmp", "not a bitmap at all, but long enough to pass for one at a glance");
    EXPECT_TRUE(IsBackgroundBitmapPath(ProgramPath("a.BMP")));
    EXPECT_FALSE(IsBackgroundBitmapPath(ProgramPath("a.png")));
    EXPECT_FALSE(IsBackgroundBitmapPath(ProgramPath("fake.bmp")));
    EXPECT_FALSE(IsBackgroundBitmapPath(ProgramPath("missing.bmp")));
    EXPECT_FALSE(IsBackgroundBitmapPath(ProgramPath("a.BMP") + "\\"));
    EXPECT_FALSE(IsBackgroundBitmapPath("\\\\server\\share\\a.bmp"));
    EXPECT_FALSE(IsBackgroundBitmapPath("a.bmp"));
    EXPECT_FALSE(IsBackgroundBitmapPath(""));

    SaveDefaults();
    Store("DFORMBackBitmapName", "\\\\server\\share\\a.bmp");
    LoadSettings();
    EXPECT_EQ(DFORMBackBitmapName, "");
    EXPECT_EQ(BitmapFolder, ProgramDir);
}

// Switching registry use off removes the settings and the stored days at
// once; on marks the registry as the program's again.
TEST_F(Settings, RegistryUseSwitch)
{
    SaveDefaults();
    RegWriteText(User, "Software\\Lumora\\LunarMemorial", "01-01", "AD2000");
    RegWriteText(User, "Software\\Lumora\\MuharramMemorial", "01-01", "AD2000");
    Store("MyCountdownDay", "AD01-01-2030");
    SetRegistryUse(false);
    EXPECT_EQ(UseRegistry, 0);
    EXPECT_EQ(Stored("Version"), "");
    EXPECT_EQ(Stored("MyCountdownDay"), "");
    EXPECT_EQ(RegReadText(User, "Software\\Lumora\\LunarMemorial", "01-01"), "");
    LoadSettings();
    EXPECT_EQ(UseRegistry, 0);

    SetRegistryUse(true);
    EXPECT_EQ(UseRegistry, 1);
    EXPECT_EQ(Stored("Version"), "4.0");
    LoadSettings();
    EXPECT_EQ(UseRegistry, 1);
}

// The Run value names this program, quoted; it is recognised quoted or not,
// in any letter case, under either root; switching it off removes both.
TEST_F(Settings, AutoRunValue)
{
    SaveDefaults();
    for (const char* command : {"\"C:\\Program Files\\岚舟\\lumora.exe\"", "c:\\program files\\岚舟\\LUMORA.EXE"}) {
        RegWriteText(User, RegistrySandbox::RunKey, "Lumora", command);
        LoadSettings();
        EXPECT_EQ(AutoRunFlag, 1) << command;
    }
    RegWriteText(User, RegistrySandbox::RunKey, "Lumora", "\"C:\\Other\\lumora.exe\"");
    LoadSettings();
    EXPECT_EQ(AutoRunFlag, 0);

    // Written machine-wide when that works, and then only there.
    AutoRunFlag = 1;
    SaveSettings();
    EXPECT_EQ(RegReadUtf8Text(Machine, RegistrySandbox::RunKey, "Lumora"), AutoRunCommand());
    EXPECT_EQ(RegReadText(User, RegistrySandbox::RunKey, "Lumora"), "");
    AutoRunFlag = 0;
    SaveSettings();
    EXPECT_EQ(RegReadText(Machine, RegistrySandbox::RunKey, "Lumora"), "");

    SetProgramPaths("D:\\lumora.exe");
    EXPECT_EQ(AutoRunCommand(), "\"D:\\lumora.exe\"");
}

// A folder named with characters that code page 936 lacks (ö, Hangul): the
// Run value still names the program and reads as set at the next start.
// Without any path of its own the option stays off and nothing is written.
TEST_F(Settings, AutoRunFromAFolderThatCodePage936CannotWrite)
{
    SaveDefaults();
    const std::string path = "C:\\Users\\J\xC3\xB6rg\\\xED\x95\x9C\\lumora.exe";
    SetProgramPathsUtf8(path);
    EXPECT_EQ(ProgramDir, "");
    EXPECT_EQ(ProgramFile, "lumora.exe");
    EXPECT_EQ(AutoRunCommand(), "\"" + path + "\"");
    AutoRunFlag = 1;
    SaveSettings();
    EXPECT_EQ(RegReadUtf8Text(Machine, RegistrySandbox::RunKey, "Lumora"), "\"" + path + "\"");
    LoadSettings();
    EXPECT_EQ(AutoRunFlag, 1);

    SetProgramPathsUtf8("");
    EXPECT_FALSE(CanAutoRun());
    LoadSettings();
    EXPECT_EQ(AutoRunFlag, 0);
    AutoRunFlag = 1;
    SaveSettings();
    EXPECT_EQ(RegReadUtf8Text(Machine, RegistrySandbox::RunKey, "Lumora"), "\"" + path + "\"");
}

#ifndef _WIN32
// An ordinary user cannot write the machine's Run key: the user's own takes
// the command, and the option reads as set.
TEST_F(Settings, AutoRunFallsBackToTheUsersRunKey)
{
    SaveDefaults();
    setenv("LUMORA_REGISTRY_USER_ONLY", "1", 1);
    AutoRunFlag = 1;
    SaveSettings();
    EXPECT_EQ(RegReadText(Machine, RegistrySandbox::RunKey, "Lumora"), "");
    EXPECT_EQ(RegReadUtf8Text(User, RegistrySandbox::RunKey, "Lumora"), AutoRunCommand());
    LoadSettings();
    EXPECT_EQ(AutoRunFlag, 1);
    AutoRunFlag = 0;
    SaveSettings();
    EXPECT_EQ(RegReadText(User, RegistrySandbox::RunKey, "Lumora"), "");
}
#endif

TEST(SettingsNumbers, CanonicalTexts)
{
    EXPECT_EQ(NumberText(-116.3833), "-116.3833");
    EXPECT_EQ(NumberText(120.5), "120.5");
    EXPECT_EQ(NumberText(-0.0), "0");
    EXPECT_EQ(NumberText(0.1 + 0.2), "0.3");
    EXPECT_EQ(NumberText(1.0 / 3), "0.333333333333333");
    EXPECT_EQ(NumberText(1e-7), "0.0000001");
    EXPECT_EQ(NumberText(123456789012345678.0), "123456789012346000");
    EXPECT_EQ(NumberText(999999999999999.9), "1000000000000000");
    EXPECT_EQ(NumberText(double(39.9f)), "39.9000015258789");
    EXPECT_EQ(NumberText(1e300 * 1e300), "");

    EXPECT_EQ(CanonicalNumber("-116.3833"), -116.3833);
    EXPECT_EQ(CanonicalNumber("39.9000015258789"), 39.9000015258789);
    for (const char* text : {"120.50", "+1", " 1", "1 ", "-0", "01", ".5", "1.", "1e2", "0x10", "inf", "nan", ""})
        EXPECT_FALSE(CanonicalNumber(text)) << text;
}

// The program's folder ends at the last separator, found by whole
// characters: the trail byte of 乗 is a backslash.
TEST(SettingsPaths, ProgramPathsSplitAtTheLastSeparator)
{
    SetProgramPaths("C:\\Dir\\lumora.exe");
    EXPECT_EQ(ProgramDir, "C:\\Dir\\");
    EXPECT_EQ(ProgramFile, "lumora.exe");
    SetProgramPaths("C:\\乗.exe");
    EXPECT_EQ(ProgramDir, "C:\\");
    EXPECT_EQ(ProgramFile, "乗.exe");
    SetProgramPaths("C:lumora.exe");
    EXPECT_EQ(ProgramDir, "C:");
    EXPECT_EQ(AutoRunCommand(), "\"C:\\lumora.exe\"");
    SetProgramPaths("lumora.exe");
    EXPECT_EQ(ProgramDir, "");
    EXPECT_EQ(ProgramFile, "lumora.exe");
    SetProgramPaths("");
}
