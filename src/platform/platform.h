// The seam between the portable core and the operating system: one header,
// one implementation per platform (posix/ or win32/), chosen at link time.
#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

// Text conversion between the program's code page 936 and UTF-8; nullopt
// when the input is not valid in its encoding.
std::optional<std::string> GbkToUtf8(const std::string& gbk);
std::optional<std::string> Utf8ToGbk(const std::string& utf8);

// The program's command-line arguments (without the program name) in UTF-8.
std::vector<std::string> Utf8Arguments(int argc, char** argv);

struct LocalDateTime {
    int year, month, day, hour, minute, second;
};
// The computer's local clock.
LocalDateTime LocalNow();

// The registry: text values under key paths of two roots. On Windows the
// real registry; elsewhere a file with the same key paths and value names
// (LUMORA_REGISTRY, else $XDG_CONFIG_HOME/lumora/registry; with
// LUMORA_REGISTRY_USER_ONLY=1 the machine's keys cannot be written, as for an
// ordinary Windows user). Texts are GBK.
enum class RegistryRoot { CurrentUser, LocalMachine };
// Key paths and value names are trimmed of blanks and cut to this many bytes
// (never inside a two-byte character) before use.
inline constexpr size_t RegistryNameBytes = 260;
// The value's text trimmed of blanks, "" when it cannot be read.
std::string RegReadText(RegistryRoot root, const std::string& keyPath, const std::string& valueName);
// Failures are silent for the program; the result tells whether it was written.
bool RegWriteText(RegistryRoot root, const std::string& keyPath, const std::string& valueName,
                  const std::string& text);
// The same for a value whose text may hold characters that code page 936
// lacks (a program path with ö, ñ or Hangul): the text is UTF-8.
std::string RegReadUtf8Text(RegistryRoot root, const std::string& keyPath, const std::string& valueName);
bool RegWriteUtf8Text(RegistryRoot root, const std::string& keyPath, const std::string& valueName,
                      const std::string& utf8);
void RegDeleteValueText(RegistryRoot root, const std::string& keyPath, const std::string& valueName);
void RegDeleteKeyPath(RegistryRoot root, const std::string& keyPath);

// The media device: one command string (MCI on Windows), 0 when it
// succeeded. Elsewhere the commands are recorded and answered as failed
// opens of missing files would be, so tests can read what was sent.
int MediaCommand(const std::string& command);
// The short (8.3) form of a path, "" when it cannot be had.
std::string ShortPathName(const std::string& path);
// Plays one of the program's WAVE clips by resource name and returns when it
// has finished (recorded elsewhere).
void PlayClip(const std::string& resourceName);
// Stops the clip that is playing, if any, from any thread.
void StopClip();
// What MediaCommand and PlayClip were given, in order (recorders only).
std::vector<std::string>& RecordedMediaCommands();
std::vector<std::string>& RecordedClips();

// The full path of the running program in UTF-8, which spells every path
// (code page 936 cannot); "" when it cannot be had.
std::string ModulePathUtf8();
// True when the file exists and can be opened for reading. Elsewhere than on
// Windows a drive-absolute path "X:\dir\file" names /dir/file, as Wine's
// drive Z: does, so stored Windows paths and tests read the same files.
bool FileExists(const std::string& path);
// True when the file loads as a bitmap picture (a Windows BMP).
bool IsBitmapFile(const std::string& path);

struct ScreenDimensions {
    int width, height;
};
// The primary screen in pixels (elsewhere LUMORA_SCREEN=WxH, else 1920x1080).
ScreenDimensions ScreenSize();

// --- Audio: the media device's reply and the speaking clock's thread ---
// One media command string as MediaCommand sends it, with the device's
// reply text (at most 1024 bytes; "" when it gives none, and on recorders).
int MediaCommandReply(const std::string& command, std::string& reply);
// Prepare and release a worker thread that plays sound (COM on Windows).
void InitThreadForAudio();
void EndThreadForAudio();

// The single running copy: 1 when another copy already holds the named lock
// (or the lock cannot be made), else 0. The first copy keeps its lock until
// the process ends (a named mutex on Windows, a locked file elsewhere).
int IsOtherInstanceRunning(const std::string& name);
// Gives the lock up before the process ends, so that a copy started while
// this one finishes is not turned away.
void ReleaseInstanceLock();
