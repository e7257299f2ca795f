#include <gtest/gtest.h>

#include <climits>
#include <map>
#include <string>
#include <utility>

#include "audio_playback.h"
#include "file_path.h"
#include "settings.h"

namespace {

TEST(AudioMediaText, FileNamesCommandsAndReplies)
{
    for (const char* path : {"C:\\music\\song.mp3", "a.Wav", "x.wMa", "C:\\音乐\\春节序曲.MID", "C:\\a.b\\c.wav"})
        EXPECT_EQ(IsAudioFileName(path), 1) << path;
    for (const char* path : {"", "song", "song.", "song.mp4", "song.P3", "song.ID", "C:\\a.mp3\\readme"})
        EXPECT_EQ(IsAudioFileName(path), 0) << path;

    EXPECT_EQ(MediaOpenCommand("C:\\MUSIC\\SONG~1.MP3", "AudioMCI"),
              "Open C:\\MUSIC\\SONG~1.MP3 Alias AudioMCI Type MPEGVideo");
    EXPECT_EQ(MediaOpenCommand("C:\\My Music\\新 年.mp3", "eAudioMCI"),
              "Open \"C:\\My Music\\新 年.mp3\" Alias eAudioMCI Type MPEGVideo");
    EXPECT_EQ(MediaOpenCommand("C:\\a\" Alias x Type waveaudio wait \"b.mp3", "AudioMCI"), "");
    EXPECT_EQ(MediaOpenCommand("", "AudioMCI"), "");

    EXPECT_EQ(MediaReplyNumber("183422"), 183422);
    EXPECT_EQ(MediaReplyNumber("unknown"), 0);
    EXPECT_EQ(MediaReplyNumber(std::string("4200\0" "77", 7)), 4200);  // the reply ends at its zero byte
    EXPECT_EQ(MediaReplyNumber("99999999999999999999999"), INT_MAX);

    // 0x5C after the lead byte 0x81 is the trail of one character, not a separator.
    EXPECT_EQ(FolderOfPath("D:\\\x81\x5C" "a.mp3"), "D:\\");
    EXPECT_EQ(FolderOfPath("D:\\\x81\x5C\\a.mp3"), "D:\\\x81\x5C\\");
    EXPECT_EQ(FolderOfPath("song.mp3"), "");
    // The open-file dialog reads its filters up to two zero bytes.
    const std::string& filter = AudioChooserFilter();
    EXPECT_EQ(filter.substr(filter.size() - 25), std::string("*.MP3;*.WAV;*.MID;*.WMA\0\0", 25));
}

// A media device that records the commands and answers from a script
// (anything else succeeds with an empty reply); short forms as on a volume
// without short names, but for one file.
std::string Sent;
std::map<std::string, std::pair<int, std::string>> Script;

int ScriptedSend(const std::string& command, std::string& reply)
{
    Sent += command + "|";
    auto answer = Script.find(command);
    reply = answer == Script.end() ? "" : answer->second.second;
    return answer == Script.end() ? 0 : answer->second.first;
}

std::string ScriptedShortPath(const std::string& path)
{
    return path == "C:\\Music\\Long Name.mp3" ? "C:\\MUSIC\\LONGNA~1.MP3" : path;
}

class AudioPlayback : public ::testing::Test {
protected:
    void SetUp() override
    {
        saved = AudioDevice;
        AudioDevice = {ScriptedSend, ScriptedShortPath};
        InitAudioState("C:\\Lumora\\");
        PreviewPath = "C:\\Music\\Long Name.mp3";
        Sent.clear();
        Script = {{"status eAudioMCI length", {0, "5000"}}};
        savedSwitch = CloseFORMAudioPlayFlag;
        CloseFORMAudioPlayFlag = 0;
    }
    void TearDown() override
    {
        ClosePreview();
        StopDayAudio();
        AudioDevice = saved;
        CloseFORMAudioPlayFlag = savedSwitch;
        InitAudioState("");
        PreviewPath.clear();
    }
    MediaDevice saved{};
    int savedSwitch = 0;
};

TEST_F(AudioPlayback, DayAudioPlaysOncePerShowing)
{
    WindowAudioPath = "C:\\Music\\Long Name.mp3";
    PlayDayAudio();
    StopDayAudio();  // the next day
    StopDayAudio();  // the window closes: nothing is open
    PlayDayAudio();  // back to the day: from the start
    EXPECT_EQ(Sent, "Open C:\\MUSIC\\LONGNA~1.MP3 Alias AudioMCI Type MPEGVideo|Play AudioMCI|Close AudioMCI|"
                    "Open C:\\MUSIC\\LONGNA~1.MP3 Alias AudioMCI Type MPEGVideo|Play AudioMCI|");
    EXPECT_EQ(WindowAudioOpen, 1);

    StopDayAudio();
    Sent.clear();
    Script["Open C:\\Music\\missing.mp3 Alias AudioMCI Type MPEGVideo"] = {275, ""};
    WindowAudioPath = "C:\\Music\\missing.mp3";
    PlayDayAudio();
    StopDayAudio();
    EXPECT_EQ(Sent, "Open C:\\Music\\missing.mp3 Alias AudioMCI Type MPEGVideo|");
    EXPECT_EQ(WindowAudioOpen, 0);

    // Switched off: the day stays silent, the editor's preview still plays.
    Sent.clear();
    CloseFORMAudioPlayFlag = 1;
    WindowAudioPath = "C:\\Music\\Long Name.mp3";
    PlayDayAudio();
    EXPECT_EQ(Sent, "");
    PreviewToggle();
    EXPECT_EQ(PreviewState, 1);
}

// The same day's information built again (an option changed) leaves its
// playing file alone; another day, another file or the switch turned off
// does not.
TEST_F(AudioPlayback, RebuiltInformationKeepsTheSameDaysAudio)
{
    const std::string song = "C:\\Music\\Long Name.mp3", open = "Open C:\\MUSIC\\LONGNA~1.MP3 Alias AudioMCI Type MPEGVideo|";
    TakeDayAudio(song, false);
    TakeDayAudio(song, true);
    EXPECT_EQ(Sent, open + "Play AudioMCI|");
    TakeDayAudio(song, false);
    EXPECT_EQ(Sent, open + "Play AudioMCI|Close AudioMCI|" + open + "Play AudioMCI|");
    Sent.clear();
    TakeDayAudio("C:\\Music\\other.mp3", true);
    EXPECT_EQ(Sent, "Close AudioMCI|Open C:\\Music\\other.mp3 Alias AudioMCI Type MPEGVideo|Play AudioMCI|");
    Sent.clear();
    CloseFORMAudioPlayFlag = 1;
    TakeDayAudio("C:\\Music\\other.mp3", true);
    EXPECT_EQ(Sent, "Close AudioMCI|");
    EXPECT_EQ(WindowAudioOpen, 0);
}

TEST_F(AudioPlayback, PathsWithBlanksPlayAndQuotesAreRefused)
{
    WindowAudioPath = "D:\\我的 音乐\\新年 好.wma";  // no short form on this volume
    PlayDayAudio();
    EXPECT_EQ(Sent, "Open \"D:\\我的 音乐\\新年 好.wma\" Alias AudioMCI Type MPEGVideo|Play AudioMCI|");
    StopDayAudio();

    Sent.clear();
    WindowAudioPath = PreviewPath = "D:\\a.mp3\" Alias AudioMCI Type waveaudio wait \"x.mp3";
    PlayDayAudio();
    PreviewToggle();
    EXPECT_EQ(Sent, "");
    EXPECT_EQ(WindowAudioOpen + PreviewOpen, 0);
}

TEST_F(AudioPlayback, PreviewPlaysPausesResumesAndEndsByItself)
{
    PreviewToggle();
    EXPECT_EQ(Sent, "Open C:\\MUSIC\\LONGNA~1.MP3 Alias eAudioMCI Type MPEGVideo|set eAudioMCI time format ms|"
                    "status eAudioMCI length|Play eAudioMCI|");
    EXPECT_STREQ(PreviewToggleText(), "结束");
    EXPECT_STREQ(PreviewPauseText(), "暂停");
    EXPECT_TRUE(PreviewTimerRunning());

    Sent.clear();
    PreviewPauseResume();
    EXPECT_STREQ(PreviewPauseText(), "播放");
    PreviewPauseResume();
    Script["status eAudioMCI position"] = {0, "4989"};
    PreviewTick();
    EXPECT_EQ(PreviewState, 1);
    Script["status eAudioMCI position"] = {0, "4990"};  // 10 ms short of the length is the end
    PreviewTick();
    EXPECT_EQ(Sent, "Pause eAudioMCI|Play eAudioMCI|status eAudioMCI position|status eAudioMCI position|"
                    "Close eAudioMCI|");
    EXPECT_STREQ(PreviewToggleText(), "试听");
    EXPECT_STREQ(PreviewPauseText(), "播放");
    EXPECT_FALSE(PreviewTimerRunning());
    Sent.clear();
    PreviewPauseResume();  // a closed preview's button does nothing
    EXPECT_EQ(Sent, "");

    // No length to be read: closed at once, never played.
    Sent.clear();
    Script["status eAudioMCI length"] = {0, "unknown"};
    PreviewToggle();
    EXPECT_EQ(Sent, "Open C:\\MUSIC\\LONGNA~1.MP3 Alias eAudioMCI Type MPEGVideo|set eAudioMCI time format ms|"
                    "status eAudioMCI length|Close eAudioMCI|");
    EXPECT_EQ(PreviewOpen, 0);
}

TEST_F(AudioPlayback, NewFileStopsThePreviewAndRemembersItsFolder)
{
    PreviewToggle();
    Sent.clear();
    SetPreviewFile("D:\\其他\\二.wav");
    EXPECT_EQ(Sent, "Close eAudioMCI|");
    EXPECT_EQ(PreviewOpen, 0);
    EXPECT_EQ(AudioFolder, "D:\\其他\\");
    PreviewToggle();
    ClosePreview();  // the editor closes
    ClosePreview();
    EXPECT_EQ(Sent, "Close eAudioMCI|Open D:\\其他\\二.wav Alias eAudioMCI Type MPEGVideo|"
                    "set eAudioMCI time format ms|status eAudioMCI length|Play eAudioMCI|Close eAudioMCI|");
}

}  // namespace
