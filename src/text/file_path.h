// Windows file paths as the program stores them: code page 936 text, a
// drive letter, backslashes, at most MaxPathBytes bytes.
#pragma once
#include <cstddef>
#include <string>

// The ANSI file functions of Windows take buffers of MAX_PATH (260) bytes,
// the closing NUL among them: a longer path could never be opened there,
// so it names no file on any platform.
inline constexpr size_t MaxPathBytes = 259;

// Whether path names a file by a drive-absolute path ("D:\music\a.mp3")
// within MaxPathBytes: not a folder (a last backslash), not relative. Whether
// the file exists is the caller's question.
bool IsDriveFilePath(const std::string& path);
// The folder part of a path, up to and including its last backslash ("" when
// it has none); a backslash that is the trail byte of a two-byte character
// does not count.
std::string FolderOfPath(const std::string& path);
