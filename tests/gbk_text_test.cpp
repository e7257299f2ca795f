// Walks over code page 936 text: a trail byte may be "\", a letter or a
// blank, and must never be taken for one.
#include <gtest/gtest.h>

#include <string>

#include "file_path.h"
#include "gbk_text.h"
#include "typed_field.h"

namespace {

// "乗" is 0x81 0x5C and "乣" 0x81 0x61: their trail bytes are "\" and "a".
const std::string TrailBackslash = "\x81\x5C", TrailLetter = "\x81\x61";

}  // namespace

TEST(GbkText, SeparatorsAndLettersOnCharacterBoundaries)
{
    EXPECT_EQ(AfterLastOf("C:\\a\\" + TrailBackslash, "\\"), 5u);
    EXPECT_EQ(AfterLastOf("a/b:c", ":/\\"), 4u);
    EXPECT_EQ(AfterLastOf(TrailBackslash, "\\"), 0u);
    EXPECT_EQ(LastCharacterStart("ab" + TrailBackslash), 2u);
    EXPECT_EQ(LastCharacterStart("a\x81"), 1u);  // a lone lead byte is a character
    EXPECT_EQ(AsciiLowered("MP3." + TrailLetter + "A"), "mp3." + TrailLetter + "a");
    EXPECT_EQ(ReplacedSingleBytes("a\\" + TrailBackslash + "\\", '\\', '/'), "a/" + TrailBackslash + "/");
    EXPECT_EQ(EndOfRun("ab" + TrailBackslash + "c", 0), 2u);
    EXPECT_EQ(EndOfRun("ab" + TrailBackslash + "\xB0\xA1" + "c", 2), 6u);
    EXPECT_FALSE(ContainsText("a" + TrailBackslash, "\\"));
    EXPECT_EQ(TrimBlanks("  春节  "), "春节");
}

TEST(GbkText, EmptyPartsOfAKeyPath)
{
    const struct {
        std::string path;
        bool empty;
    } cases[] = {
        {"Software\\Lumora", false}, {"a" + TrailBackslash, false}, {"a\\" + TrailBackslash, false},
        {"", true}, {"\\a", true}, {"a\\", true}, {"a\\\\b", true},
    };
    for (const auto& c : cases) EXPECT_EQ(HasEmptyPart(c.path, '\\'), c.empty) << c.path;
}

TEST(FilePath, DriveFilePaths)
{
    const struct {
        std::string path;
        bool file;
    } cases[] = {
        {"D:\\a.mp3", true}, {"D:\\music\\" + TrailBackslash, true}, {"D:\\" + std::string(MaxPathBytes - 3, 'x'), true},
        {"D:\\" + std::string(MaxPathBytes - 2, 'x'), false},  // no room for the closing NUL of MAX_PATH
        {"D:\\music\\", false}, {"D:\\", false}, {"a.mp3", false}, {"\\\\server\\a.mp3", false}, {"D:a.mp3", false},
    };
    for (const auto& c : cases) EXPECT_EQ(IsDriveFilePath(c.path), c.file) << c.path;
    EXPECT_EQ(FolderOfPath("D:\\" + TrailBackslash + "a.mp3"), "D:\\");
}

// The coordinates fields hold 12 bytes: typing beyond is undone, but a text
// the program set longer may still be shortened.
TEST(TypedField, EditsBeyondTheLimitAreUndone)
{
    EXPECT_TRUE(TypedEditStands("东经116.38度", "东经116.3度", 12));
    EXPECT_FALSE(TypedEditStands("东经116.388度", "东经116.38度", 12));
    EXPECT_TRUE(TypedEditStands("东经121.466度", "东经121.4667度", 12));
    EXPECT_EQ(CaretAfterUndoneEdit(10, 2), 8);
    EXPECT_EQ(CaretAfterUndoneEdit(1, 3), 0);
    EXPECT_EQ(CaretAfterUndoneEdit(5, -1), 5);
}
