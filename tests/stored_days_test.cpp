#include "stored_days.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <iterator>
#include <random>

#include "date_text.h"
#include "day_card.h"
#include "lunar_year.h"
#include "month_sheet.h"
#include "registry_sandbox.h"
#include "settings.h"

#ifdef _WIN32
#include <direct.h>
#else
#include <sys/stat.h>
#endif

namespace {

class StoredDays : public RegistrySandbox {
protected:
    void SetUp() override
    {
        RegistrySandbox::SetUp();
        UseRegistry = 1;
    }
    void TearDown() override
    {
        UseRegistry = NearLocateMemorialFlag = 0;
        RegistrySandbox::TearDown();
    }

    static void Put(const std::string& keyPath, const std::string& name, const std::string& data)
    {
        RegWriteText(RegistryRoot::CurrentUser, keyPath, name, data);
    }

    // A file or folder of the test's own folder, named in code page 936, and
    // the drive path by which the program names it.
    std::string MakeFile(const std::string& gbkName, bool folderInstead = false) const
    {
        std::string base = ProgramPath("x");
        std::string programPath = base.substr(0, base.size() - 1) + gbkName;
#ifdef _WIN32
        if (folderInstead) _mkdir(programPath.c_str());
        else if (FILE* f = std::fopen(programPath.c_str(), "wb")) std::fclose(f);
#else
        std::string posix = folder.string() + "/" + GbkToUtf8(gbkName).value_or(gbkName);
        if (folderInstead) mkdir(posix.c_str(), 0700);
        else if (FILE* f = std::fopen(posix.c_str(), "wb")) std::fclose(f);
#endif
        return programPath;
    }
};

std::string Aligned(const std::string& text) { return RightAlignedStoredText(text); }
const std::string Solar = MemorialKeyPath(MemorialCalendar::Gregorian);
const std::string Lunar = MemorialKeyPath(MemorialCalendar::Lunar);
const std::string Hijri = MemorialKeyPath(MemorialCalendar::Hijri);

}  // namespace

TEST_F(StoredDays, MemorialEntriesAreNormalisedOrIgnored)
{
    std::string song = MakeFile("song.mp3");
    Put(Solar, "05-12", "AD2000" + Aligned("生日") + " " + song);
    Put(Solar, "05-13", "AD2000  婚礼  ");  // text not aligned as written by hand
    EXPECT_EQ(ReadMemorialEntry(SolarMemorialKey, 5, 12), "AD2000" + Aligned("生日") + " " + song);
    EXPECT_EQ(ReadMemorialEntry(SolarMemorialKey, 5, 13), "AD2000" + Aligned("婚礼"));
    EXPECT_EQ(ReadMemorialEntry("OtherMemorial", 5, 12), "");

    // Wrong era, zero year, non-digits, too short, empty text, outside 1800..2200.
    for (const char* damaged : {"CE2000 x", "ad2000 x", "AD0000 x", "AD20x0 x", "AD200", "AD2000      ", "AD1799 x",
                                "AD2201 x", "BC1900 x"}) {
        Put(Solar, "06-01", damaged);
        EXPECT_EQ(ReadMemorialEntry(SolarMemorialKey, 6, 1), "") << damaged;
    }
    Put(Solar, "02-30", "AD2000 x");
    EXPECT_EQ(ReadMemorialEntry(SolarMemorialKey, 2, 30), "");

    // The lunar and Hijri ranges are the years that hold 1800-01-01 and 2200-01-01.
    EXPECT_EQ(MemorialYearRange(MemorialCalendar::Lunar).first, 1799);
    EXPECT_EQ(MemorialYearRange(MemorialCalendar::Lunar).last, 2199);
    EXPECT_EQ(MemorialYearRange(MemorialCalendar::Hijri).first, 1214);
    EXPECT_EQ(MemorialYearRange(MemorialCalendar::Hijri).last, 1626);
    Put(Lunar, "12-01", "AD1799 x");
    Put(Lunar, "11-01", "AD1798 x");
    Put(Hijri, "09-01", "AD1214 x");
    Put(Hijri, "08-01", "AD1627 x");
    EXPECT_EQ(ReadMemorialEntry(LunarMemorialKey, 12, 1), "AD1799" + Aligned("x"));
    EXPECT_EQ(ReadMemorialEntry(LunarMemorialKey, 11, 1), "");
    EXPECT_EQ(ReadMemorialEntry(HijriMemorialKey, 9, 1), "AD1214" + Aligned("x"));
    EXPECT_EQ(ReadMemorialEntry(HijriMemorialKey, 8, 1), "");
}

TEST_F(StoredDays, TextsAreCutAtTwentyBytesWithoutSplittingACharacter)
{
    EXPECT_EQ(CutStoredText("一二三四五六七八九十甲乙"), "一二三四五六七八九十");
    EXPECT_EQ(CutStoredText("A一二三四五六七八九十"), "A一二三四五六七八九");
    EXPECT_EQ(CutStoredText("  两头有空格  "), "两头有空格");
    EXPECT_EQ(CutStoredText(std::string(20, ' ') + "x"), "");

    Put(Solar, "07-01", "AD2000A一二三四五六七八九十 C:\\x.mp3");
    EXPECT_EQ(ReadMemorialEntry(SolarMemorialKey, 7, 1), "AD2000" + Aligned("A一二三四五六七八九"));

    // A value far beyond the registry's 1024-byte buffer is cut or unreadable,
    // and the entry beside it is unharmed.
    Put(Solar, "07-02", "AD2000" + std::string(2000, 'x'));
    std::string cut = ReadMemorialEntry(SolarMemorialKey, 7, 2);
    EXPECT_TRUE(cut.empty() || cut == "AD2000" + std::string(20, 'x')) << cut;
    EXPECT_EQ(SolarMemorialText(2024, 7, 1), Aligned("A一二三四五六七八九"));
}

TEST_F(StoredDays, ValidAudioPathsNameExistingAudioFilesByDrivePath)
{
    std::string chinese = MakeFile("生日 快乐 歌.Mid"), text = MakeFile("c.txt"), folderNamedMp3 = MakeFile("d.mp3", true);
    EXPECT_EQ(IsValidAudioPath(MakeFile("a.mp3")), 1);
    EXPECT_EQ(IsValidAudioPath(chinese), 1);
    for (const std::string& invalid : {text, folderNamedMp3, folderNamedMp3 + "\\", chinese + "x.mp3",
                                       std::string("\\\\server\\share\\a.mp3"), std::string("a.mp3"), std::string(""),
                                       "C:" + std::string(300, '\\') + "a.mp3"})
        EXPECT_EQ(IsValidAudioPath(invalid), 0) << invalid;

    // An entry whose file is missing or no audio keeps its text, without the path.
    Put(Solar, "08-01", "AD2000" + Aligned("有声") + " " + chinese);
    Put(Solar, "08-02", "AD2000" + Aligned("无声") + " " + text);
    EXPECT_EQ(SolarMemorialText(2024, 8, 1), Aligned("有声") + " " + chinese);
    EXPECT_EQ(SolarMemorialText(2024, 8, 2), Aligned("无声"));
}

TEST_F(StoredDays, GregorianMemorialsShowFromTheirFirstYearAndLeapDaysNearby)
{
    Put(Solar, "05-12", "AD2000" + Aligned("生日"));
    Put(Solar, "02-29", "AD2000" + Aligned("闰日"));
    EXPECT_EQ(SolarMemorialText(1999, 5, 12), "");
    EXPECT_EQ(SolarMemorialText(2000, 5, 12), Aligned("生日"));
    EXPECT_EQ(SolarMemorialText(2023, 2, 29), "");

    EXPECT_EQ(SolarMemorialText(2024, 2, 29), Aligned("闰日"));
    EXPECT_EQ(SolarMemorialText(2023, 2, 28), "");
    NearLocateMemorialFlag = 1;
    EXPECT_EQ(SolarMemorialText(2023, 2, 28), Aligned("闰日"));
    EXPECT_EQ(SolarMemorialText(2024, 2, 28), "");
    EXPECT_EQ(SolarMemorialText(1999, 2, 28), "");  // before its first year
    Put(Solar, "02-28", "AD2000" + Aligned("本日"));
    EXPECT_EQ(SolarMemorialText(2023, 2, 28), Aligned("本日"));
}

TEST_F(StoredDays, LunarAndHijriMemorialsOfMissingDaysShowNearby)
{
    // 2020 has a leap 4th month, 2017 a long leap 6th; 2021 has neither, and
    // its 4th and 6th months have 29 days. 2023's 4th month has 30.
    ASSERT_TRUE(IsValidLunarDate(2020, 16, 2) && IsValidLunarDate(2017, 18, 30) && IsValidLunarDate(2023, 4, 30));
    ASSERT_FALSE(IsValidLunarDate(2021, 16, 1) || IsValidLunarDate(2021, 18, 1) || IsValidLunarDate(2021, 4, 30) ||
                 IsValidLunarDate(2021, 6, 30));
    Put(Lunar, "16-02", "AD2020" + Aligned("闰四"));
    Put(Lunar, "04-30", "AD2020" + Aligned("四月卅"));
    Put(Lunar, "18-30", "AD2017" + Aligned("闰六卅"));

    EXPECT_EQ(LunarMemorialText(2020, 16, 2), Aligned("闰四"));
    EXPECT_EQ(LunarMemorialText(2021, 4, 2), "");
    EXPECT_EQ(LunarMemorialText(2021, 4, 29), "");
    EXPECT_EQ(LunarMemorialText(2021, 6, 29), "");

    NearLocateMemorialFlag = 1;
    EXPECT_EQ(LunarMemorialText(2021, 4, 2), Aligned("闰四"));
    EXPECT_EQ(LunarMemorialText(2020, 4, 2), "");  // that year has its own leap 4th month
    EXPECT_EQ(LunarMemorialText(2021, 4, 29), Aligned("四月卅"));
    EXPECT_EQ(LunarMemorialText(2023, 4, 29), "");  // the 30th exists that year
    EXPECT_EQ(LunarMemorialText(2021, 6, 29), Aligned("闰六卅"));

    NearLocateMemorialFlag = 0;
    int32_t leap = 1440;
    while (!IsHijriLeapYear(leap)) ++leap;
    int32_t common = leap + 1;  // leap years are never adjacent
    Put(Hijri, "12-30", "AD" + std::to_string(leap) + Aligned("年末"));
    EXPECT_EQ(HijriMemorialText(leap, 12, 30), Aligned("年末"));
    EXPECT_EQ(HijriMemorialText(common, 12, 29), "");
    NearLocateMemorialFlag = 1;  // the 30th of month 12 exists only in leap years
    EXPECT_EQ(HijriMemorialText(common, 12, 29), Aligned("年末"));
    EXPECT_EQ(HijriMemorialText(leap - 1, 12, 29), "");  // before its first year
}

TEST_F(StoredDays, RemindersAreTheFirstValidValueOfTheDayAmongAToT)
{
    std::string ring = MakeFile("ring.wav");
    Put(ReminderKeyPath, "A", "AD05-12-2024" + Aligned("甲"));
    Put(ReminderKeyPath, "B", "AD05-12-2024" + Aligned("乙"));
    Put(ReminderKeyPath, "C", "AD05-13-2024" + std::string(20, ' '));
    Put(ReminderKeyPath, "D", "AD5-13-2024" + Aligned("坏"));
    Put(ReminderKeyPath, "E", "AD05-13-2024" + Aligned("戊") + " " + ring);
    Put(ReminderKeyPath, "F", "AD05-14-1799" + Aligned("早"));
    Put(ReminderKeyPath, "U", "AD05-15-2024" + Aligned("第21个"));
    EXPECT_EQ(ReminderText(2024, 5, 12), Aligned("甲"));
    EXPECT_EQ(ReminderText(2024, 5, 13), Aligned("戊") + " " + ring);
    EXPECT_EQ(ReminderText(1799, 5, 14), "");
    EXPECT_EQ(ReminderText(2024, 5, 15), "");
}

TEST_F(StoredDays, CountdownCountsTheThousandDaysUpToItsDay)
{
    Put(LumoraKeyPath, CountdownValueName, "AD01-01-2030" + Aligned("新年"));
    int32_t target = DateToDayNumber(2030, 1, 1);
    auto on = [](int32_t day) {
        CalendarDate date = *DayNumberToDate(day);
        return CountdownText(date.year, date.month, date.day);
    };
    EXPECT_EQ(on(target - 1000), "距新年还有1000天");
    EXPECT_EQ(on(target - 1001), "");
    EXPECT_EQ(on(target), "距新年还有0天");
    EXPECT_EQ(on(target + 1), "");
    for (const char* damaged : {"AD1-01-2030 新年", "AD13-01-2030 新年", "AD02-30-2030 新年", "AD01-01-2201 新年",
                                "XX01-01-2030 新年", "AD01-01-2030", "AD01-01+2030 新年", "BC01-01-2030 新年"}) {
        Put(LumoraKeyPath, CountdownValueName, damaged);
        EXPECT_EQ(on(target), "") << damaged;
    }
}

TEST_F(StoredDays, DamagedValuesAreIgnoredAndLeaveTheGoodEntriesAlone)
{
    // Values shaped almost like entries: eras, digits, dashes, blanks,
    // backslashes and lone or paired GBK lead bytes at every place.
    const std::string pieces[] = {"AD", "BC", "0", "1", "2", "9", "-", " ", "\\", ":", ".mp3", "\x81", "\xFE",
                                  "中", "\xB1\x5C", "05-12-2024", "2000"};
    std::mt19937 random(20240512);
    auto damaged = [&] {
        std::string value;
        for (size_t n = random() % 24; n > 0; --n) value += pieces[random() % std::size(pieces)];
        return value;
    };
    Put(Solar, "05-12", "AD2000" + Aligned("好"));
    Put(ReminderKeyPath, "A", "AD05-12-2024" + Aligned("好"));
    for (int round = 0; round < 200; ++round) {
        Put(Solar, "05-13", damaged());
        Put(Lunar, "04-05", damaged());
        Put(Hijri, "11-05", damaged());
        Put(ReminderKeyPath, "B", damaged());
        Put(LumoraKeyPath, CountdownValueName, damaged());
        for (int d = 11; d <= 14; ++d) {
            SolarMemorialText(2024, 5, d);
            ReminderText(2024, 5, d);
            CountdownText(2024, 5, d);
        }
        LunarMemorialText(2024, 4, 5);
        HijriMemorialText(1445, 11, 5);
        ASSERT_EQ(SolarMemorialText(2024, 5, 12), Aligned("好"));
        ASSERT_EQ(ReminderText(2024, 5, 12), Aligned("好"));
    }
}

TEST_F(StoredDays, TheDayCardAndTheMonthSheetShowTheStoredDays)
{
    std::string song = MakeFile("song.mp3"), other = MakeFile("other.mp3");
    HijriDate hijri = *HijriDateOf({2026, 2, 17});
    Put(LumoraKeyPath, CountdownValueName, "AD02-20-2026" + Aligned("开学"));
    Put(ReminderKeyPath, "A", "AD02-17-2026" + Aligned("拜年"));
    Put(Solar, "02-17", "AD2000" + Aligned("公历") + " " + song);
    Put(Lunar, "01-01", "AD2000" + Aligned("春节纪念") + " " + other);
    Put(Hijri, ZeroPadded(hijri.month, 2) + "-" + ZeroPadded(hijri.day, 2), "AD1400" + Aligned("回历"));
    DayInfo info = ComposeDayInfo({2026, 2, 17}, 0);
    EXPECT_EQ(info.reminder, "距开学还有3天   拜年   公历   春节纪念   回历");
    EXPECT_EQ(info.audioPath, song);  // the first entry with a file

    std::string audio = "stale";
    std::string description = ComposeMonthDayInfo(2026, 2, 17, &audio);
    EXPECT_EQ(description.substr(description.rfind("\r\n") + 2), "春节 距开学还有3天 拜年 公历 春节纪念 回历");
    EXPECT_EQ(audio, song);
    ComposeMonthDayInfo(2026, 2, 18, &audio);
    EXPECT_EQ(audio, "");

    UseRegistry = 0;
    info = ComposeDayInfo({2026, 2, 17}, 0);
    EXPECT_EQ(info.reminder, "");
    EXPECT_EQ(info.audioPath, "");
    description = ComposeMonthDayInfo(2026, 2, 17);
    EXPECT_EQ(description.substr(description.rfind("\r\n") + 2), "春节");
}
