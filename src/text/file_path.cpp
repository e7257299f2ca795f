#include "file_path.h"

#include "gbk_text.h"

bool IsDriveFilePath(const std::string& path)
{
    if (path.size() < 4 || path.size() > MaxPathBytes || path.compare(1, 2, ":\\") != 0) return false;
    return !IsSingleByte(path, LastCharacterStart(path), '\\');
}

std::string FolderOfPath(const std::string& path) { return path.substr(0, AfterLastOf(path, "\\")); }
