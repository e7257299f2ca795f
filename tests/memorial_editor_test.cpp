#include "memorial_editor.h"

#include <gtest/gtest.h>

#include "date_text.h"
#include "day_card.h"
#include "hijri_calendar.h"
#include "registry_sandbox.h"
#include "settings.h"

namespace {

class MemorialEditor : public RegistrySandbox {
protected:
    void SetUp() override
    {
        RegistrySandbox::SetUp();
        UseRegistry = 1;
    }
    void TearDown() override
    {
        UseRegistry = 0;
        RegistrySandbox::TearDown();
    }
    std::string AudioFile(const std::string& name) const
    {
        WriteFile(name, "");
        return ProgramPath(name);
    }
};

std::string Aligned(const std::string& text) { return RightAlignedStoredText(text); }

std::string Read(const std::string& keyPath, const std::string& name)
{
    return RegReadText(RegistryRoot::CurrentUser, keyPath, name);
}
void Write(const std::string& keyPath, const std::string& name, const std::string& data)
{
    RegWriteText(RegistryRoot::CurrentUser, keyPath, name, data);
}

constexpr MemorialCalendar Gregorian = MemorialCalendar::Gregorian;
constexpr MemorialCalendar Lunar = MemorialCalendar::Lunar;
constexpr MemorialCalendar Hijri = MemorialCalendar::Hijri;

}  // namespace

TEST_F(MemorialEditor, LoadsTheValidMemorialsOfTheThreeCalendarsInOrder)
{
    Write(MemorialKeyPath(Hijri), "09-01", "AD1445" + Aligned("斋月"));
    Write(MemorialKeyPath(Lunar), "16-02", "AD2020" + Aligned("闰四"));
    Write(MemorialKeyPath(Gregorian), "12-25", "AD2000" + Aligned("圣诞"));
    Write(MemorialKeyPath(Gregorian), "05-12", "AD2000" + Aligned("生日"));
    Write(MemorialKeyPath(Gregorian), "06-01", "AD0000 坏");
    EditorList list = LoadEditorList(EditorMode::Memorial);
    ASSERT_EQ(list, (EditorList{"公历05月12日（AD2000年）：" + Aligned("生日"), "公历12月25日（AD2000年）：" + Aligned("圣诞"),
                                "农历16月02日（AD2020年）：" + Aligned("闰四"), "回历09月01日（AD1445年）：" + Aligned("斋月")}));
}

TEST_F(MemorialEditor, AddingReplacesTheLineOfTheSameKeyInPlace)
{
    std::string song = AudioFile("song.mp3");
    EditorList list;
    AddResult added = AddEditorEntry(list, EditorMode::Memorial, Gregorian, 2000, 5, 12, "生日", song);
    EXPECT_EQ(added.outcome, AddOutcome::Added);
    EXPECT_EQ(added.selected, 0);
    EXPECT_EQ(AddEditorEntry(list, EditorMode::Memorial, Lunar, 2020, 16, 2, " 闰四 ", song).selected, 1);
    added = AddEditorEntry(list, EditorMode::Memorial, Gregorian, 1990, 5, 12, "一二三四五六七八九十甲", "");
    EXPECT_EQ(added.selected, 0);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0], "公历05月12日（AD1990年）：一二三四五六七八九十");

    // What the window ignores: each leaves the list as it was.
    EditorList before = list;
    EXPECT_EQ(AddEditorEntry(list, EditorMode::Memorial, Gregorian, 2023, 2, 29, "x", "").outcome, AddOutcome::NoSuchDate);
    EXPECT_EQ(AddEditorEntry(list, EditorMode::Memorial, Lunar, 2021, 16, 1, "x", "").outcome, AddOutcome::NoSuchDate);
    EXPECT_EQ(AddEditorEntry(list, EditorMode::Memorial, Gregorian, 2000, 5, 13, "   ", "").outcome, AddOutcome::EmptyText);
    EXPECT_EQ(AddEditorEntry(list, EditorMode::Memorial, Gregorian, 2000, 5, 13, std::string(20, ' ') + "x", "").outcome,
              AddOutcome::EmptyText);
    for (auto [calendar, year] : {std::pair{Gregorian, 1799}, {Gregorian, 2201}, {Lunar, 1798}, {Hijri, 1627}})
        EXPECT_EQ(AddEditorEntry(list, EditorMode::Memorial, calendar, year, 1, 1, "x", "").outcome,
                  AddOutcome::YearOutOfRange);
    EXPECT_EQ(list, before);

    // Selecting a line gives back what it was made of.
    auto fields = ReadEditorLine(list[1]);
    ASSERT_TRUE(fields);
    EXPECT_TRUE(fields->calendar == Lunar && fields->year == 2020 && fields->month == 16 && fields->day == 2);
    EXPECT_EQ(fields->text + "|" + fields->audio, "闰四|" + song);
    for (const char* garbage : {"", "公历05月12日（AD2000年）：short", "外历05月12日（AD2000年）：                 abc"})
        EXPECT_FALSE(ReadEditorLine(garbage)) << garbage;

    EXPECT_EQ(FindEditorLine(list, MemorialLineKey(Lunar, 16, 2)), 1);
    EXPECT_EQ(FindEditorLine(list, MemorialLineKey(Hijri, 16, 2)), -1);
    EXPECT_FALSE(DeleteEditorLine(list, -1));
    EXPECT_FALSE(DeleteEditorLine(list, 2));
    EXPECT_TRUE(DeleteEditorLine(list, 0));
    EXPECT_EQ(list, EditorList{before[1]});
}

TEST_F(MemorialEditor, RemindersAreGregorianDaysAndAtMostTwenty)
{
    EditorList list;
    EXPECT_EQ(AddEditorEntry(list, EditorMode::Reminder, Lunar, 2026, 1, 1, "春节", "").outcome, AddOutcome::Added);
    EXPECT_EQ(list, EditorList{"提醒02月17日（AD2026年）：" + Aligned("春节")});
    EXPECT_EQ(AddEditorEntry(list, EditorMode::Reminder, Gregorian, 2026, 2, 17, "初一", "").selected, 0);
    EXPECT_EQ(list, EditorList{"提醒02月17日（AD2026年）：" + Aligned("初一")});
    CalendarDate ramadan = *ReadTaggedDate(HijriToSolarText(1445, 9, 1));
    AddEditorEntry(list, EditorMode::Reminder, Hijri, 1445, 9, 1, "斋月", "");
    EXPECT_EQ(FindEditorLine(list, ReminderLineKey(ramadan)), 1);
    // Lunar 1799-01-01 is a day of 1799, before any reminder that is looked up.
    EXPECT_EQ(AddEditorEntry(list, EditorMode::Reminder, Lunar, 1799, 1, 1, "x", "").outcome, AddOutcome::YearOutOfRange);

    for (int day = 1; list.size() < 20; ++day) AddEditorEntry(list, EditorMode::Reminder, Gregorian, 2030, 1, day, "日", "");
    EXPECT_EQ(AddEditorEntry(list, EditorMode::Reminder, Gregorian, 2031, 1, 1, "第21", "").outcome, AddOutcome::ListFull);
    EXPECT_EQ(AddEditorEntry(list, EditorMode::Reminder, Gregorian, 2030, 1, 1, "换", "").outcome, AddOutcome::Added);
    ASSERT_EQ(list.size(), 20u);

    SaveEditorList(EditorMode::Reminder, list);
    EXPECT_EQ(Read(ReminderKeyPath, "A"), "AD02-17-2026" + Aligned("初一"));
    EXPECT_EQ(Read(ReminderKeyPath, "U"), "");
    EXPECT_EQ(LoadEditorList(EditorMode::Reminder), list);
    EXPECT_EQ(ReminderText(2030, 1, 1), Aligned("换"));
}

TEST_F(MemorialEditor, TheCountdownIsOneDayWithoutAudio)
{
    EditorList list;
    AddEditorEntry(list, EditorMode::Countdown, Gregorian, 2030, 1, 1, "新年", AudioFile("a.mp3"));
    AddEditorEntry(list, EditorMode::Countdown, Gregorian, 2031, 1, 1, "再一年", AudioFile("b.mp3"));
    EXPECT_EQ(list, EditorList{"倒计01月01日（AD2031年）：" + Aligned("再一年")});
    SaveEditorList(EditorMode::Countdown, list);
    EXPECT_EQ(Read(LumoraKeyPath, CountdownValueName), "AD01-01-2031" + Aligned("再一年"));
    EXPECT_EQ(LoadEditorList(EditorMode::Countdown), list);
    EXPECT_EQ(CountdownText(2030, 12, 31), "距再一年还有1天");

    DeleteEditorLine(list, 0);
    SaveEditorList(EditorMode::Countdown, list);
    EXPECT_EQ(Read(LumoraKeyPath, CountdownValueName), "");
    EXPECT_TRUE(LoadEditorList(EditorMode::Countdown).empty());
}

TEST_F(MemorialEditor, SavingRewritesTheWholeKindAndLeavesTheOthers)
{
    std::string song = AudioFile("birthday song.mp3");
    Write(MemorialKeyPath(Gregorian), "06-01", "AD0000 坏");
    Write(MemorialKeyPath(Gregorian), "06-02", "AD2000" + Aligned("删掉"));
    Write(ReminderKeyPath, "A", "AD05-12-2024" + Aligned("提醒"));
    EditorList list = LoadEditorList(EditorMode::Memorial);
    ASSERT_EQ(list.size(), 1u);
    DeleteEditorLine(list, 0);
    AddEditorEntry(list, EditorMode::Memorial, Gregorian, 2000, 5, 12, "生日", song);
    AddEditorEntry(list, EditorMode::Memorial, Lunar, 2020, 16, 2, "闰四", "");
    AddEditorEntry(list, EditorMode::Memorial, Hijri, 1445, 12, 29, "年末", "");
    SaveEditorList(EditorMode::Memorial, list);

    EXPECT_EQ(Read(MemorialKeyPath(Gregorian), "05-12"), "AD2000" + Aligned("生日") + " " + song);
    EXPECT_EQ(Read(MemorialKeyPath(Lunar), "16-02"), "AD2020" + Aligned("闰四"));
    EXPECT_EQ(Read(MemorialKeyPath(Gregorian), "06-01"), "");
    EXPECT_EQ(Read(MemorialKeyPath(Gregorian), "06-02"), "");
    EXPECT_EQ(Read(ReminderKeyPath, "A"), "AD05-12-2024" + Aligned("提醒"));
    EXPECT_EQ(LoadEditorList(EditorMode::Memorial), list);

    // Registry use off: the window's save button is disabled, nothing is written.
    UseRegistry = 0;
    SaveEditorList(EditorMode::Memorial, {});
    EXPECT_EQ(LoadEditorList(EditorMode::Memorial), list);
    UseRegistry = 1;
    SaveEditorList(EditorMode::Memorial, {});
    EXPECT_TRUE(LoadEditorList(EditorMode::Memorial).empty());
    EXPECT_EQ(Read(MemorialKeyPath(Lunar), "16-02"), "");
}

namespace {
// What the registry held when a save had written and not yet deleted.
EditorList memorialsMidway, remindersMidway;
void SnapshotMidway()
{
    memorialsMidway = LoadEditorList(EditorMode::Memorial);
    remindersMidway = LoadEditorList(EditorMode::Reminder);
}
}  // namespace

TEST_F(MemorialEditor, ASaveCutShortAfterItsWritesKeepsEveryOldAndNewEntry)
{
    Write(MemorialKeyPath(Gregorian), "05-12", "AD2000" + Aligned("旧生日"));
    Write(MemorialKeyPath(Gregorian), "06-02", "AD2000" + Aligned("删掉"));
    Write(MemorialKeyPath(Hijri), "09-01", "AD1445" + Aligned("斋月"));
    for (const char* name : {"A", "B", "C", "U"}) Write(ReminderKeyPath, name, "AD01-0" + std::string(1, char(name[0] - 'A' + '1')) + "-2030" + Aligned(name));
    EditorList memorials = LoadEditorList(EditorMode::Memorial), reminders = LoadEditorList(EditorMode::Reminder);
    ASSERT_EQ(memorials.size(), 3u);
    ASSERT_EQ(reminders.size(), 3u);  // "U" is never loaded
    EditorList oldMemorials = memorials, oldReminders = reminders;
    DeleteEditorLine(memorials, 1);
    AddEditorEntry(memorials, EditorMode::Memorial, Gregorian, 1990, 5, 12, "新生日", "");
    AddEditorEntry(memorials, EditorMode::Memorial, Lunar, 2020, 16, 2, "闰四", "");
    DeleteEditorLine(memorials, 1);  // the Hijri memorial: its key goes whole
    reminders = {reminders[2]};

    // Midway every entry is there, the new ones in place of those they replace.
    AfterEditorWrites = SnapshotMidway;
    SaveEditorList(EditorMode::Memorial, memorials);
    EXPECT_EQ(memorialsMidway, (EditorList{memorials[0], oldMemorials[1], memorials[1], oldMemorials[2]}));
    SaveEditorList(EditorMode::Reminder, reminders);
    EXPECT_EQ(remindersMidway, (EditorList{reminders[0], oldReminders[1], oldReminders[2]}));
    AfterEditorWrites = nullptr;
    // Finally the registry holds exactly the lists.
    EXPECT_EQ(LoadEditorList(EditorMode::Memorial), memorials);
    EXPECT_EQ(LoadEditorList(EditorMode::Reminder), reminders);
    EXPECT_EQ(Read(MemorialKeyPath(Gregorian), "06-02"), "");
    for (const char* name : {"B", "C", "U"}) EXPECT_EQ(Read(ReminderKeyPath, name), "") << name;
    EXPECT_EQ(Read(MemorialKeyPath(Hijri), "09-01"), "");
}
