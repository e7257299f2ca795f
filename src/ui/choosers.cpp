#include "choosers.h"

#include <commdlg.h>
#include <shellapi.h>

#include "audio_playback.h"
#include "settings.h"
#include "win32/wide_text.h"

namespace {

// An open-file dialog for an existing file: filter holds name, NUL,
// pattern, NUL pairs; filterIndex is the 1-based filter shown first.
std::string ChooseFile(HWND owner, const std::wstring& title, const std::wstring& filter, int filterIndex,
                       const std::string& folder)
{
    std::wstring start = Wide(folder);
    wchar_t path[MAX_PATH] = L"";
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filter.c_str();
    dialog.nFilterIndex = DWORD(filterIndex);
    dialog.lpstrFile = path;
    dialog.nMaxFile = MAX_PATH;
    dialog.lpstrInitialDir = start.empty() ? nullptr : start.c_str();
    dialog.lpstrTitle = title.c_str();
    // The program's current folder stays where it was.
    dialog.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    if (!GetOpenFileNameW(&dialog)) return "";
    return Gbk(path);
}

}  // namespace

std::string ChooseBitmapFile(HWND owner)
{
    std::wstring filter = Wide("位图文件");
    filter += L'\0';
    filter += L"*.BMP";
    filter += L'\0';
    return ChooseFile(owner, Wide("选择位图文件"), filter, 1, BitmapFolder);
}

std::string ChooseAudioFile(HWND owner)
{
    // The filter's NULs come through: the conversion is told the length.
    return ChooseFile(owner, Wide(AudioChooserTitle), Wide(AudioChooserFilter()), AudioChooserFilterIndex,
                      AudioFolder);
}

std::string DroppedFile(HDROP drop)
{
    wchar_t path[MAX_PATH] = L"";
    std::string file = DragQueryFileW(drop, 0, path, MAX_PATH) > 0 ? Gbk(path) : "";
    DragFinish(drop);
    return file;
}

HBITMAP LoadBitmapFile(const std::string& path, int width, int height)
{
    if (path.empty()) return nullptr;
    return HBITMAP(LoadImageW(nullptr, Wide(path).c_str(), IMAGE_BITMAP, width, height, LR_LOADFROMFILE));
}
