#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "platform.h"
#include "speaking_clock.h"

namespace {

std::string Joined(const std::vector<std::string>& clips)
{
    std::string text;
    for (const std::string& clip : clips) text += (text.empty() ? "" : " ") + clip;
    return text;
}

TEST(SpeakingClock, ClipsOfTheAnnouncedTimes)
{
    struct Case {
        int hour, minute, sayMinutes;
        const char* clips;
    } cases[] = {
        {0, 0, 1, "SOUND0 SOUNDHOUR"},
        {2, 5, 1, "SOUNDTWO SOUNDHOUR SOUND0 SOUND5 SOUNDMINUTE"},
        {10, 30, 1, "SOUND10 SOUNDHOUR SOUND30 SOUNDMINUTE"},
        {12, 12, 1, "SOUND10 SOUND2 SOUNDHOUR SOUND10 SOUND2 SOUNDMINUTE"},
        {22, 59, 1, "SOUND20 SOUND2 SOUNDHOUR SOUND50 SOUND9 SOUNDMINUTE"},
        {15, 0, 1, "SOUND10 SOUND5 SOUNDHOUR"},
        {9, 7, 1, "SOUND9 SOUNDHOUR SOUND0 SOUND7 SOUNDMINUTE"},
        {20, 0, 0, "SOUND20 SOUNDHOUR"},
        {2, 0, 0, "SOUNDTWO SOUNDHOUR"},
        {23, 41, 0, "SOUND20 SOUND3 SOUNDHOUR"},  // the whole-hour form never says minutes
    };
    for (const Case& c : cases)
        EXPECT_EQ(Joined(AnnouncementClips(c.hour, c.minute, c.sayMinutes)), std::string("SOUNDTIME ") + c.clips)
            << c.hour << ":" << c.minute;
}

// Every minute of the day is a sentence of the embedded clips: one or two
// words for the hour (两 only for 2), none, one or two for the minutes.
TEST(SpeakingClock, EveryMinuteOfTheDayIsWellFormed)
{
    const std::set<std::string> embedded = {
        "SOUND0", "SOUND1", "SOUND2", "SOUND3", "SOUND4", "SOUND5", "SOUND6", "SOUND7", "SOUND8", "SOUND9",
        "SOUND10", "SOUND20", "SOUND30", "SOUND40", "SOUND50", "SOUNDTWO", "SOUNDHOUR", "SOUNDMINUTE", "SOUNDTIME"};
    for (int hour = 0; hour < 24; ++hour) {
        for (int minute = 0; minute < 60; ++minute) {
            std::vector<std::string> clips = AnnouncementClips(hour, minute, 1);
            SCOPED_TRACE(Joined(clips));
            for (const std::string& clip : clips) EXPECT_TRUE(embedded.count(clip));
            size_t hourWords = std::find(clips.begin(), clips.end(), "SOUNDHOUR") - clips.begin() - 1;
            EXPECT_EQ(hourWords, hour > 10 && hour % 10 != 0 ? 2u : 1u);
            EXPECT_EQ(clips.size() - hourWords - 2, minute == 0 ? 0u : minute % 10 != 0 ? 3u : 2u);
            EXPECT_EQ(std::count(clips.begin(), clips.end(), "SOUNDTWO"), hour == 2 ? 1 : 0);
        }
    }
}

class SpeakingClockWorker : public ::testing::Test {
protected:
    void SetUp() override { Reset(); }
    void TearDown() override { Reset(); }
    static void Reset()
    {
        WaitForAnnouncement();
        SpeakState.store(0);
        RecordedClips().clear();
    }
    // How many announcements were heard; -1 when they overlap (two workers
    // at once). Windows plays the real clips and records none.
    static int Announcements()
    {
        const std::vector<std::string>& heard = RecordedClips();
        int count = 0;
        for (size_t begin = 0, end; begin < heard.size(); begin = end, ++count) {
            end = std::find(heard.begin() + begin + 1, heard.end(), ChimeClip) - heard.begin();
            std::vector<std::string> sentence(heard.begin() + begin + 1, heard.begin() + end);
            if (heard[begin] != ChimeClip || sentence.empty() || sentence.front() != "SOUNDTIME" ||
                std::count(sentence.begin(), sentence.end(), "SOUNDTIME") != 1 ||
                (sentence.back() != "SOUNDHOUR" && sentence.back() != "SOUNDMINUTE"))
                return -1;
        }
        return count;
    }
};

TEST_F(SpeakingClockWorker, StartsOnlyWhenNoAnnouncementPlays)
{
    SpeakState.store(1);  // an announcement is playing: requests are dropped
    SpeakTime();
    AnnounceWholeHourAt({2024, 6, 21, 14, 0, 0});
    WaitForAnnouncement();
    EXPECT_EQ(SpeakState.load(), 1);
    EXPECT_TRUE(RecordedClips().empty());

    SpeakState.store(0);  // the whole hour is announced only at hh:00:00
    AnnounceWholeHourAt({2024, 6, 21, 14, 0, 1});
    AnnounceWholeHourAt({2024, 6, 21, 14, 1, 0});
    WaitForAnnouncement();
    EXPECT_EQ(SpeakState.load(), 0);

    SpeakState.store(2);  // the last one has ended: a new one starts
    AnnounceWholeHourAt({2024, 6, 21, 14, 0, 0});
    WaitForAnnouncement();
    EXPECT_EQ(SpeakState.load(), 2);
#ifndef _WIN32
    EXPECT_EQ(Announcements(), 1);
    EXPECT_EQ(RecordedClips().back(), "SOUNDHOUR");  // the hour alone
#endif
}

// A burst of requests (the hot key held down, both timers at once) never
// plays two announcements over each other.
TEST_F(SpeakingClockWorker, BurstOfRequestsGivesWholeAnnouncements)
{
    SpeakTime();
    EXPECT_NE(SpeakState.load(), 0);  // taken at once, before the worker runs
    for (int i = 0; i < 200; ++i) {
        SpeakTime();
        AnnounceWholeHourAt({2024, 6, 21, 8, 0, 0});
    }
    WaitForAnnouncement();
    EXPECT_EQ(SpeakState.load(), 2);
#ifndef _WIN32
    EXPECT_GE(Announcements(), 1);
#endif
}

}  // namespace
