#include <sys/stat.h>

#include <cctype>
#include <cstdint>
#include <cstdio>
#include <string>

#include "gbk_text.h"
#include "platform.h"

namespace {

// A Windows path as this file system names it: "X:\dir\file" is /dir/file
// (drive Z: of Wine), backslashes are slashes, and the name is UTF-8.
std::string PosixPath(const std::string& path)
{
    bool drive = path.size() >= 3 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':' &&
                 path[2] == '\\';
    std::string out = ReplacedSingleBytes(drive ? path.substr(2) : path, '\\', '/');
    return GbkToUtf8(out).value_or(out);
}

bool IsReadableFile(const std::string& posixPath)
{
    struct stat info;
    if (posixPath.empty() || stat(posixPath.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
    FILE* file = std::fopen(posixPath.c_str(), "rb");
    if (!file) return false;
    std::fclose(file);
    return true;
}

uint32_t LittleEndian(const unsigned char* bytes, int count)
{
    uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i) value = value << 8 | bytes[i];
    return value;
}

}  // namespace

// No short names here: an existing file's path is its own short form.
std::string ShortPathName(const std::string& path)
{
    struct stat info;
    return !path.empty() && stat(PosixPath(path).c_str(), &info) == 0 ? path : "";
}

bool FileExists(const std::string& path) { return IsReadableFile(PosixPath(path)); }

// The checks that the system's bitmap loader makes before it reads pixels:
// the "BM" signature, a known header, a sane size and depth, and pixel data
// that lies within the file.
bool IsBitmapFile(const std::string& path)
{
    std::string posixPath = PosixPath(path);
    if (!IsReadableFile(posixPath)) return false;
    FILE* file = std::fopen(posixPath.c_str(), "rb");
    if (!file) return false;
    unsigned char header[54] = {};
    size_t got = std::fread(header, 1, sizeof header, file);
    bool sized = std::fseek(file, 0, SEEK_END) == 0;
    long fileSize = sized ? std::ftell(file) : -1;
    std::fclose(file);
    if (got < 26 || header[0] != 'B' || header[1] != 'M' || fileSize < 0) return false;
    uint32_t pixelOffset = LittleEndian(header + 10, 4);
    uint32_t infoSize = LittleEndian(header + 14, 4);
    int64_t width, height;
    uint32_t planes, depth, compression = 0;
    if (infoSize == 12) {
        width = LittleEndian(header + 18, 2);
        height = LittleEndian(header + 20, 2);
        planes = LittleEndian(header + 22, 2);
        depth = LittleEndian(header + 24, 2);
    } else if (infoSize >= 40 && infoSize <= 124 && got >= 34) {
        width = int32_t(LittleEndian(header + 18, 4));
        height = int32_t(LittleEndian(header + 22, 4));
        planes = LittleEndian(header + 26, 2);
        depth = LittleEndian(header + 28, 2);
        compression = LittleEndian(header + 30, 4);
    } else {
        return false;
    }
    bool knownDepth = depth == 1 || depth == 4 || depth == 8 || depth == 16 || depth == 24 || depth == 32;
    if (width <= 0 || height == 0 || planes != 1 || !knownDepth || compression > 3) return false;
    if (pixelOffset < 14 + infoSize || pixelOffset >= uint64_t(fileSize)) return false;
    if (compression != 0) return true;  // run-length data has no fixed size
    uint64_t rowBytes = (uint64_t(width) * depth + 31) / 32 * 4;
    return rowBytes * uint64_t(height < 0 ? -height : height) <= uint64_t(fileSize) - pixelOffset;
}
