#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform.h"
#include "registry_sandbox.h"

using namespace std::string_literals;

namespace {

const RegistryRoot User = RegistryRoot::CurrentUser;
const RegistryRoot Machine = RegistryRoot::LocalMachine;

#ifndef _WIN32
// The registry file as UTF-8 text; u8 literals stay UTF-8 whatever the
// execution character set.
std::string Utf8(const char8_t* text) { return reinterpret_cast<const char*>(text); }

std::string FileText(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}
#endif

}  // namespace

class Registry : public RegistrySandbox {};

// Chinese texts, a trail byte that is a backslash (乗 is 0x81 0x5C), the
// unnamed value and both roots come back as written.
TEST_F(Registry, TextsComeBackAsWritten)
{
    const std::string texts[] = {"4.0", "岚舟万年历", "乗表\\乗", "C:\\音乐\\生日 快乐.mp3", "100%\"引号\"", ""};
    for (const std::string& text : texts) {
        EXPECT_TRUE(RegWriteText(User, TestKey, "名字", text));
        EXPECT_EQ(RegReadText(User, TestKey, "名字"), text);
    }
    EXPECT_TRUE(RegWriteText(User, TestKey, "", "默认"));
    EXPECT_EQ(RegReadText(User, TestKey, ""), "默认");
    EXPECT_TRUE(RegWriteText(Machine, TestKey, "乗", "机器"));
    EXPECT_EQ(RegReadText(Machine, TestKey, "乗"), "机器");
    EXPECT_EQ(RegReadText(User, TestKey, "乗"), "");
    EXPECT_EQ(RegReadText(User, "Software\\Lumora\\NoSuchKey", "名字"), "");
}

// Texts in UTF-8 come back as written, also with characters that code page
// 936 lacks; one it can write reads the same through either function.
TEST_F(Registry, Utf8TextsComeBackAsWritten)
{
    const std::string texts[] = {"C:\\Users\\J\xC3\xB6rg\\lumora.exe", "\xED\x95\x9C\xEA\xB5\xAD", "\xE5\xB2\x9A\xE8\x88\x9F", "a"};
    for (const std::string& text : texts) {
        EXPECT_TRUE(RegWriteUtf8Text(User, TestKey, "Run", text));
        EXPECT_EQ(RegReadUtf8Text(User, TestKey, "Run"), text);
    }
    EXPECT_EQ(RegReadText(User, TestKey, "Run"), "a");
    RegWriteText(User, TestKey, "Run", "岚舟");
    EXPECT_EQ(RegReadUtf8Text(User, TestKey, "Run"), "\xE5\xB2\x9A\xE8\x88\x9F");
}

TEST_F(Registry, ReadTrimsBlanksAndStopsAtTheFirstZeroByte)
{
    RegWriteText(User, TestKey, "Padded", "  a b  ");
    EXPECT_EQ(RegReadText(User, TestKey, "Padded"), "a b");
    RegWriteText(User, TestKey, "Zero", std::string(" ab\0cd", 6));
    EXPECT_EQ(RegReadText(User, TestKey, "Zero"), "ab");
}

// Key paths and value names are trimmed, cut to 260 bytes (never inside a
// character) and matched without regard to letter case.
TEST_F(Registry, NamesAreTrimmedCutAndCaseBlind)
{
    RegWriteText(User, " software\\LUMORA\\registrytest ", " Version ", "x");
    EXPECT_EQ(RegReadText(User, TestKey, "VERSION"), "x");

    std::string longName = std::string(259, 'n') + "岚";  // 261 bytes: the character goes whole
    RegWriteText(User, TestKey, longName, "long name");
    EXPECT_EQ(RegReadText(User, TestKey, std::string(259, 'n')), "long name");

    std::string longKey = std::string(TestKey) + "\\" + std::string(250, 'k');  // 279 bytes
    RegWriteText(User, longKey, "v", "long key");
    std::string cutKey = longKey.substr(0, 260);
    EXPECT_EQ(RegReadText(User, cutKey, "v"), "long key");
    RegDeleteKeyPath(User, cutKey);
    EXPECT_EQ(RegReadText(User, cutKey, "v"), "");
}

// A value holds at most 1024 bytes; a longer text is cut before a character
// that would not fit.
TEST_F(Registry, ValuesHoldAtMost1024Bytes)
{
    std::string full(1024, 'x');
    RegWriteText(User, TestKey, "Full", full);
    EXPECT_EQ(RegReadText(User, TestKey, "Full"), full);
    RegWriteText(User, TestKey, "Over", std::string(1023, 'y') + "岚");
    EXPECT_EQ(RegReadText(User, TestKey, "Over"), std::string(1023, 'y'));
    RegWriteText(User, TestKey, "Much", std::string(3000, 'z'));
    EXPECT_EQ(RegReadText(User, TestKey, "Much"), std::string(1024, 'z'));
}

TEST_F(Registry, DeletingValuesAndKeys)
{
    const std::string sub = std::string(TestKey) + "\\Sub";
    RegWriteText(User, TestKey, "Kept", "1");
    RegWriteText(User, TestKey, "Gone", "2");
    RegWriteText(User, sub, "Deep", "3");

    RegDeleteValueText(User, TestKey, "gone");
    EXPECT_EQ(RegReadText(User, TestKey, "Gone"), "");
    EXPECT_EQ(RegReadText(User, TestKey, "Kept"), "1");
    RegDeleteValueText(User, TestKey, "NoSuchValue");  // silent
    RegDeleteValueText(User, "Software\\Lumora\\NoSuchKey", "Kept");

    RegDeleteKeyPath(User, TestKey);  // refused: it still has a sub-key
    EXPECT_EQ(RegReadText(User, TestKey, "Kept"), "1");
    RegDeleteKeyPath(User, sub);
    EXPECT_EQ(RegReadText(User, sub, "Deep"), "");
    RegDeleteKeyPath(User, TestKey);
    EXPECT_EQ(RegReadText(User, TestKey, "Kept"), "");
    RegDeleteKeyPath(User, TestKey);  // already gone: silent
    RegDeleteKeyPath(User, "");       // never the root itself
}

// Windows paths of the program reach the files: existence, short names and
// bitmaps.
TEST_F(Registry, FileServices)
{
    WriteBitmap("picture.bmp");
    WriteFile("text.bmp", "not a picture at all, though long enough to hold a bitmap header");
    WriteFile("cut.bmp", std::string("BM\x46\0\0\0\0\0\0\0\x36\0\0\0\x28\0\0\0\x02\0\0\0\x02\0\0\0\x01\0\x18\0", 30));
    std::filesystem::create_directories(folder / "sub.bmp");

    EXPECT_TRUE(FileExists(ProgramPath("picture.bmp")));
    EXPECT_FALSE(FileExists(ProgramPath("missing.bmp")));
    EXPECT_FALSE(FileExists(ProgramPath("sub.bmp")));
    EXPECT_FALSE(FileExists(""));
    EXPECT_NE(ShortPathName(ProgramPath("picture.bmp")), "");
    EXPECT_EQ(ShortPathName(ProgramPath("missing.bmp")), "");

    EXPECT_TRUE(IsBitmapFile(ProgramPath("picture.bmp")));
    EXPECT_FALSE(IsBitmapFile(ProgramPath("text.bmp")));
    EXPECT_FALSE(IsBitmapFile(ProgramPath("missing.bmp")));
#ifndef _WIN32
    // Wine's loader takes a bitmap whose pixels are cut off; this one does not.
    EXPECT_FALSE(IsBitmapFile(ProgramPath("cut.bmp")));
#endif

    EXPECT_NE(ModulePathUtf8().find("lumora-tests"), std::string::npos) << ModulePathUtf8();
    EXPECT_GT(ScreenSize().width, 0);
    EXPECT_GT(ScreenSize().height, 0);
    EXPECT_NE(MediaCommand("Close LumoraNoSuchAlias"), 0);
}

#ifndef _WIN32
// --- The file behind the registry where there is no Windows registry ---

TEST_F(Registry, FileIsReadableText)
{
    RegWriteText(User, TestKey, "名字", "岚舟 100%");
    RegWriteText(User, TestKey, "", "C:\\乗");
    RegWriteText(Machine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run", "Lumora", "\"C:\\a b\\lumora.exe\"");
    std::string text = FileText(folder / "registry");
    EXPECT_NE(text.find(Utf8(u8"[HKEY_CURRENT_USER\\Software\\Lumora\\RegistryTest]\n\"名字\"=\"岚舟 100%25\"\n"
                             u8"@=\"C:\\乗\"\n")),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run]\n"
                        "\"Lumora\"=\"%22C:\\a b\\lumora.exe%22\"\n"),
              std::string::npos)
        << text;
    // Nothing is left beside it: the file is replaced whole by a rename.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 1);
}

// Bytes that are no text of code page 936 survive as %XX escapes.
TEST_F(Registry, AnyBytesSurvive)
{
    const std::string bytes = std::string("\x01\t\r\n\x7F\x80\xFF[]\"%", 11) + "\xB0";  // a lone lead byte last
    RegWriteText(User, TestKey, "\xFF\x01", bytes);
    EXPECT_EQ(RegReadText(User, TestKey, "\xFF\x01"), bytes);
    RegWriteText(User, "Software\\Lumora\\[\xFF]", "v", "w");
    EXPECT_EQ(RegReadText(User, "Software\\Lumora\\[\xFF]", "v"), "w");
    RegDeleteKeyPath(User, "Software\\Lumora\\[\xFF]");
}

// A damaged file is read for what can be read; the next write leaves a
// clean file.
TEST_F(Registry, DamagedLinesAreIgnored)
{
    WriteFile("registry", "\"Orphan\"=\"before any key\"\n"
                                      "[HKEY_CURRENT_USER\\Software\\Lumora\\RegistryTest]\n"
                                      "\"Good\"=\"1\"\r\n"
                                      "\"Broken=\"2\"\n"
                                      "\"BadEscape\"=\"%G1\"\n"
                                      "\"Unclosed\"=\"3\n"
                                      "\"Extra\"=\"4\"x\n"
                                      "\"Quote\"=\"a\"b\"\n"
                                      "\xFF\xFE\x00garbage\n"
                                      "[HKEY_CURRENT_USER\\Software\\\\Lumora]\n"
                                      "\"InBadKey\"=\"5\"\n"
                                      "[HKEY_NOWHERE\\Software]\n"
                                      "\"InBadRoot\"=\"6\"\n"
                                      "[hkey_current_user\\software\\lumora\\registrytest]\n"
                                      "\"Good\"=\"7\"\n"
                                      "\"Good2\"=\"8\""s);
    EXPECT_EQ(RegReadText(User, TestKey, "Good"), "7");  // the later line wins
    EXPECT_EQ(RegReadText(User, TestKey, "Good2"), "8");
    for (const char* name : {"Orphan", "Broken", "BadEscape", "Unclosed", "Extra", "Quote", "InBadKey", "InBadRoot"})
        EXPECT_EQ(RegReadText(User, TestKey, name), "") << name;
    EXPECT_EQ(RegReadText(User, "Software\\\\Lumora", "InBadKey"), "");

    EXPECT_TRUE(RegWriteText(User, TestKey, "New", "9"));
    std::string text = FileText(folder / "registry");
    EXPECT_EQ(text.find("garbage"), std::string::npos);
    EXPECT_EQ(RegReadText(User, TestKey, "Good"), "7");

    WriteFile("registry", std::string(200000, '\xFF') + "\n[\n]\n@\n\"\n=\n\"\"=\n");
    EXPECT_EQ(RegReadText(User, TestKey, "Good"), "");
    // A value too long for the reading buffer cannot be read at all.
    WriteFile("registry", "[HKEY_CURRENT_USER\\Software\\Lumora\\RegistryTest]\n\"Long\"=\"" +
                              std::string(1025, 'x') + "\"\n");
    EXPECT_EQ(RegReadText(User, TestKey, "Long"), "");
}

TEST_F(Registry, LocationFollowsTheEnvironment)
{
    RegWriteText(User, TestKey, "Where", "first");
    setenv("LUMORA_REGISTRY", (folder / "second").c_str(), 1);
    EXPECT_EQ(RegReadText(User, TestKey, "Where"), "");
    RegWriteText(User, TestKey, "Where", "second");
    setenv("LUMORA_REGISTRY", (folder / "registry").c_str(), 1);
    EXPECT_EQ(RegReadText(User, TestKey, "Where"), "first");

    // Without LUMORA_REGISTRY: $XDG_CONFIG_HOME/lumora/registry, folders made.
    const char* oldConfig = std::getenv("XDG_CONFIG_HOME");
    std::string savedConfig = oldConfig ? oldConfig : "";
    unsetenv("LUMORA_REGISTRY");
    setenv("XDG_CONFIG_HOME", (folder / "config").c_str(), 1);
    EXPECT_TRUE(RegWriteText(User, TestKey, "Where", "config"));
    EXPECT_TRUE(std::filesystem::exists(folder / "config" / "lumora" / "registry"));
    if (oldConfig) setenv("XDG_CONFIG_HOME", savedConfig.c_str(), 1);
    else unsetenv("XDG_CONFIG_HOME");
    setenv("LUMORA_REGISTRY", (folder / "registry").c_str(), 1);

    // A registry that cannot be a file fails quietly.
    setenv("LUMORA_REGISTRY", folder.c_str(), 1);
    EXPECT_FALSE(RegWriteText(User, TestKey, "Where", "folder"));
    EXPECT_EQ(RegReadText(User, TestKey, "Where"), "");
    setenv("LUMORA_REGISTRY", (folder / "registry").c_str(), 1);
}

TEST_F(Registry, OrdinaryUserCannotWriteTheMachineKeys)
{
    RegWriteText(Machine, TestKey, "Kept", "1");
    setenv("LUMORA_REGISTRY_USER_ONLY", "1", 1);
    EXPECT_FALSE(RegWriteText(Machine, TestKey, "New", "2"));
    RegDeleteValueText(Machine, TestKey, "Kept");
    RegDeleteKeyPath(Machine, TestKey);
    EXPECT_EQ(RegReadText(Machine, TestKey, "Kept"), "1");
    EXPECT_EQ(RegReadText(Machine, TestKey, "New"), "");
    EXPECT_TRUE(RegWriteText(User, TestKey, "New", "2"));
    unsetenv("LUMORA_REGISTRY_USER_ONLY");
}

TEST_F(Registry, RecordersKeepWhatWasSent)
{
    RecordedMediaCommands().clear();
    RecordedClips().clear();
    EXPECT_EQ(MediaCommand("Open C:\\a.mp3 Alias AudioMCI Type MPEGVideo"), 275);
    EXPECT_EQ(MediaCommand("Play AudioMCI"), 263);
    PlayClip("SOUNDHOUR");
    EXPECT_EQ(RecordedMediaCommands(),
              (std::vector<std::string>{"Open C:\\a.mp3 Alias AudioMCI Type MPEGVideo", "Play AudioMCI"}));
    EXPECT_EQ(RecordedClips(), std::vector<std::string>{"SOUNDHOUR"});
    RecordedMediaCommands().clear();
    RecordedClips().clear();
}
#endif

TEST(SingleInstance, TheSecondCopyIsRefused)
{
    // A name of this test run's own, so a running calendar is not disturbed.
    std::string name = "LumoraTest" + std::to_string(std::rand());
    EXPECT_EQ(IsOtherInstanceRunning(name), 0);
    EXPECT_EQ(IsOtherInstanceRunning(name), 1);  // the first copy still holds it
}
