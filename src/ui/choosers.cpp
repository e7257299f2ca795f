#include "choosers.h"

#include <commdlg.h>
#include <shellapi.h>

#include "settings.h"
#include "win32/wide_text.h"

std::string ChooseBitmapFile(HWND owner)
{
    std::wstring filter = Wide("位图文件");
    filter += L'\0';
    filter += L"*.BMP";
    filter += L'\0';
    std::wstring title = Wide("选择位图文件"), folder = Wide(BitmapFolder);
    wchar_t path[MAX_PATH] = L"";
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = path;
    dialog.nMaxFile = MAX_PATH;
    dialog.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    dialog.lpstrTitle = title.c_str();
    // The program's current folder stays where it was.
    dialog.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    if (!GetOpenFileNameW(&dialog)) return "";
    return Gbk(path);
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
