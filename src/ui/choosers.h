// The file choosers of the windows, and the file dropped on a window. Paths
// are code page 936 texts; one that code page cannot name comes back as "".
#pragma once
#include <windows.h>
#include <shellapi.h>

#include <string>

// The background bitmap chooser, starting in BitmapFolder: the chosen path,
// or "" when cancelled.
std::string ChooseBitmapFile(HWND owner);
// The audio file chooser ("选择音频文件"), starting in AudioFolder: the
// chosen path, or "" when cancelled.
std::string ChooseAudioFile(HWND owner);
// The first file of a drop; the drop is finished.
std::string DroppedFile(HDROP drop);
// A bitmap file loaded and stretched to width x height; null when it does not load.
HBITMAP LoadBitmapFile(const std::string& path, int width, int height);
