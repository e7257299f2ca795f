#include "audio_playback.h"

#include <cstring>

#include "file_path.h"
#include "platform.h"
#include "settings.h"

MediaDevice AudioDevice = {MediaCommandReply, ShortPathName};

std::string WindowAudioPath;
std::string ShortPath;
int16_t WindowAudioOpen = 0;
std::string AudioFolder;

std::string PreviewPath;
int16_t PreviewOpen = 0;
int16_t PreviewState = 0;
int32_t PreviewLength = 0;
int32_t PreviewPosition = 0;

const char AudioChooserTitle[] = "选择音频文件";

int IsAudioFileName(const std::string& path)
{
    size_t dot = path.rfind('.');
    if (dot == std::string::npos) return 0;
    std::string framed = ".";
    for (size_t i = dot + 1; i < path.size(); ++i) {
        char c = path[i];
        framed += c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c;
    }
    framed += '.';
    return std::strstr(".MID.MP3.WAV.WMA.", framed.c_str()) != nullptr ? 1 : 0;
}

std::string MediaOpenCommand(const std::string& shortPath, const std::string& alias)
{
    if (shortPath.empty() || shortPath.find('"') != std::string::npos) return "";
    // The device reads the file name up to the first blank unless it is quoted.
    std::string name = shortPath.find(' ') == std::string::npos ? shortPath : "\"" + shortPath + "\"";
    return "Open " + name + " Alias " + alias + " Type MPEGVideo";
}

int32_t MediaReplyNumber(const std::string& reply)
{
    // The reply may carry a terminating zero byte and anything after it.
    size_t end = reply.find('\0');
    if (end == std::string::npos) end = reply.size();
    size_t begin = end;
    while (begin > 0 && reply[begin - 1] >= '0' && reply[begin - 1] <= '9') --begin;
    int64_t value = 0;
    for (size_t i = begin; i < end; ++i) {
        value = value * 10 + (reply[i] - '0');
        if (value > INT32_MAX) return INT32_MAX;
    }
    return int32_t(value);
}

namespace {

int SendMedia(const std::string& command)
{
    std::string reply;
    return AudioDevice.send(command, reply);
}

// Opens path under alias; false when it cannot be opened. A path holding a
// double quote is refused before the system is even asked for its short form.
bool OpenMedia(const std::string& path, const std::string& alias)
{
    if (path.find('"') != std::string::npos) return false;
    ShortPath = AudioDevice.shortPath(path);
    std::string command = MediaOpenCommand(ShortPath, alias);
    return !command.empty() && SendMedia(command) == 0;
}

}  // namespace

void InitAudioState(const std::string& programDir)
{
    WindowAudioPath.clear();
    ShortPath.clear();
    WindowAudioOpen = 0;
    AudioFolder = programDir;
}

void PlayDayAudio()
{
    if (CloseFORMAudioPlayFlag != 0 || WindowAudioPath.empty()) return;
    if (!OpenMedia(WindowAudioPath, "AudioMCI")) return;
    WindowAudioOpen = 1;
    SendMedia("Play AudioMCI");
}

void StopDayAudio()
{
    if (WindowAudioOpen != 1) return;
    SendMedia("Close AudioMCI");
    WindowAudioOpen = 0;
}

void TakeDayAudio(const std::string& path, bool sameDay)
{
    if (sameDay && WindowAudioOpen == 1 && CloseFORMAudioPlayFlag == 0 && path == WindowAudioPath) return;
    StopDayAudio();
    ShortPath.clear();
    WindowAudioPath = path;
    PlayDayAudio();
}

void PreviewStop()
{
    SendMedia("Close eAudioMCI");
    PreviewOpen = 0;
    PreviewState = 0;
}

void PreviewToggle()
{
    if (PreviewOpen != 0) {
        PreviewStop();
        return;
    }
    if (PreviewPath.empty() || !OpenMedia(PreviewPath, "eAudioMCI")) return;
    PreviewOpen = 1;
    SendMedia("set eAudioMCI time format ms");
    std::string reply;
    AudioDevice.send("status eAudioMCI length", reply);
    PreviewLength = MediaReplyNumber(reply);
    PreviewPosition = 0;
    if (PreviewLength > 0) {
        SendMedia("Play eAudioMCI");
        PreviewState = 1;
    } else {
        // Nothing to play (or the length cannot be read): close at once.
        SendMedia("Close eAudioMCI");
        PreviewOpen = 0;
    }
}

void PreviewPauseResume()
{
    if (PreviewOpen != 1) return;
    if (PreviewState == 1) {
        SendMedia("Pause eAudioMCI");
        PreviewState = 2;
    } else if (PreviewState == 2) {
        SendMedia("Play eAudioMCI");
        PreviewState = 1;
    }
}

void PreviewTick()
{
    std::string reply;
    AudioDevice.send("status eAudioMCI position", reply);
    PreviewPosition = MediaReplyNumber(reply);
    // The device's reported end is not always reached exactly; 10 ms short counts as the end.
    if (PreviewOpen == 1 && int64_t(PreviewPosition) >= int64_t(PreviewLength) - 10) PreviewStop();
}

void SetPreviewFile(const std::string& path)
{
    if (PreviewOpen == 1) PreviewStop();
    PreviewPath = path;
    AudioFolder = FolderOfPath(path);
}

void ClosePreview()
{
    if (PreviewOpen == 1) SendMedia("Close eAudioMCI");
    PreviewOpen = 0;
    PreviewState = 0;
}

const char* PreviewToggleText() { return PreviewOpen == 1 ? "结束" : "试听"; }

const char* PreviewPauseText() { return PreviewState == 1 ? "暂停" : "播放"; }

bool PreviewTimerRunning() { return PreviewOpen == 1; }

const std::string& AudioChooserFilter()
{
    static const std::string filter = [] {
        const char* parts[] = {"MID 文件", "*.MID", "MP3 文件", "*.MP3", "WAV 文件", "*.WAV",
                               "WMA 文件", "*.WMA", "音频文件", "*.MP3;*.WAV;*.MID;*.WMA"};
        std::string text;
        for (const char* part : parts) {
            text += part;
            text += '\0';
        }
        text += '\0';
        return text;
    }();
    return filter;
}

