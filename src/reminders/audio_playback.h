// The audio that goes with a stored day: the file that a window plays once
// when it shows that day, and the memorial editor's preview of a chosen
// file. Both drive the system's media player with command strings, each
// under its own alias ("AudioMCI", "eAudioMCI") so that they never
// interfere. Every function here runs on the user-interface thread; all
// failures are silent (the file simply does not play).
#pragma once
#include <cstdint>
#include <string>

// 1 when the extension of path (the text after its last ".") is MID, MP3,
// WAV or WMA in any case, else 0.
int IsAudioFileName(const std::string& path);

// The media device as playback sees it: send a command string (0 when it
// succeeded; reply receives the device's answer) and find a path's short
// form. The program uses the platform's own; tests put a scripted device
// in its place.
struct MediaDevice {
    int (*send)(const std::string& command, std::string& reply);
    std::string (*shortPath)(const std::string& path);
};
extern MediaDevice AudioDevice;

// "Open " + shortPath + " Alias " + alias + " Type MPEGVideo", or "" when
// the file must not be opened: no short path, or a double quote in it (it
// would end the file name inside the command and pass the rest on as
// words of the command). A short path that still holds a blank (a volume
// without short names hands back the long path) is put in double quotes.
std::string MediaOpenCommand(const std::string& shortPath, const std::string& alias);
// The decimal number that ends a device reply ("12345" gives 12345); 0
// when the reply ends in no digit; at most INT32_MAX.
int32_t MediaReplyNumber(const std::string& reply);

// The audio of the shown day (process-wide state of the windows).
extern std::string WindowAudioPath;  // the day's audio file, "" when none
extern std::string ShortPath;        // the short form of the last file opened
extern int16_t WindowAudioOpen;      // 1 while "AudioMCI" is open
extern std::string AudioFolder;      // the folder the audio chooser opens in

// The start-up state: no day audio, the chooser opening in programDir.
void InitAudioState(const std::string& programDir);
// Opens and plays WindowAudioPath once, unless the background audio is
// switched off (CloseFORMAudioPlayFlag) or there is no file.
void PlayDayAudio();
// Closes the day's audio if it is open: on every rebuild of the day's
// information, when a window closes and before the memorial editor opens.
void StopDayAudio();
// The shown day's information was built again and names path as its audio.
// The same file still open for the same day goes on where it is; otherwise
// the old audio closes and path plays from its start.
void TakeDayAudio(const std::string& path, bool sameDay);

// The memorial editor's preview.
extern std::string PreviewPath;      // the chosen file
extern int16_t PreviewOpen;          // 1 while "eAudioMCI" is open
extern int16_t PreviewState;         // 0 stopped, 1 playing, 2 paused
extern int32_t PreviewLength;        // milliseconds
extern int32_t PreviewPosition;      // milliseconds, at the last tick

// The toggle button ("试听"/"结束"): opens and plays PreviewPath, or stops.
void PreviewToggle();
// The second button ("播放"/"暂停"): pauses or resumes an open preview.
void PreviewPauseResume();
// The editor's 500 ms timer: stops the preview 10 ms before its end.
void PreviewTick();
// Closes the preview and resets both buttons.
void PreviewStop();
// A newly chosen file: stops a running preview first, and remembers the
// file's folder as the chooser's next folder.
void SetPreviewFile(const std::string& path);
// The editor closes: the preview device is closed if it is open.
void ClosePreview();
// What the two buttons read, and whether the 500 ms timer should run.
const char* PreviewToggleText();
const char* PreviewPauseText();
bool PreviewTimerRunning();

// The fixed parts of the audio file chooser: its title, its filters as the
// open-file dialog takes them (name, NUL, pattern, NUL, ..., a final NUL)
// and the filter selected at first (1-based: all audio files).
extern const char AudioChooserTitle[];
const std::string& AudioChooserFilter();
constexpr int AudioChooserFilterIndex = 5;
