#include <fcntl.h>
#include <iconv.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <optional>
#include <string>

#include "platform.h"
#include "registry_file.h"
#include "../../calendar/gbk_text.h"

namespace {

std::optional<std::string> Convert(const char* to, const char* from, const std::string& in)
{
    iconv_t cd = iconv_open(to, from);
    if (cd == iconv_t(-1)) return std::nullopt;
    std::string out(in.size() * 2 + 8, '\0');
    char* src = const_cast<char*>(in.data());
    size_t srcLeft = in.size();
    char* dst = out.data();
    size_t dstLeft = out.size();
    bool ok = true;
    while (srcLeft > 0) {
        if (iconv(cd, &src, &srcLeft, &dst, &dstLeft) != size_t(-1)) continue;
        if (errno != E2BIG) {
            ok = false;
            break;
        }
        size_t used = out.size() - dstLeft;
        out.resize(out.size() * 2);
        dst = out.data() + used;
        dstLeft = out.size() - used;
    }
    iconv_close(cd);
    if (!ok) return std::nullopt;
    out.resize(out.size() - dstLeft);
    return out;
}

}  // namespace

namespace {

// The UTF-8 of one two-byte GBK character (lead byte 0x81..0xFE), asked of
// iconv once and kept: the day export converts megabytes made of a few
// hundred characters. Its length, 0 when iconv does not turn the two bytes
// into exactly one character.
struct Utf8Character {
    unsigned char length;
    char bytes[4];
};

Utf8Character known[1 << 16];
bool asked[1 << 16];

Utf8Character& AskIconv(unsigned code)
{
    static iconv_t cd = iconv_open("UTF-8", "GBK");
    Utf8Character& entry = known[code];
    asked[code] = true;
    if (cd == iconv_t(-1)) return entry;
    char two[2] = {char(code >> 8), char(code & 0xFF)};
    char* src = two;
    size_t srcLeft = 2;
    char* dst = entry.bytes;
    size_t dstLeft = sizeof entry.bytes;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    if (iconv(cd, &src, &srcLeft, &dst, &dstLeft) == size_t(-1) || srcLeft != 0) return entry;
    size_t size = sizeof entry.bytes - dstLeft;
    // One character: a lead byte and as many continuation bytes as it says.
    unsigned char lead = size == 0 ? 0 : static_cast<unsigned char>(entry.bytes[0]);
    size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
    if (length != 0 && size == length) entry.length = static_cast<unsigned char>(length);
    return entry;
}

inline const Utf8Character& CharacterToUtf8(unsigned code)
{
    return asked[code] ? known[code] : AskIconv(code);
}

}  // namespace

std::optional<std::string> GbkToUtf8(const std::string& gbk)
{
    // ASCII stands for itself and GBK holds no state from one character to
    // the next, so the text converts character by character; anything else
    // goes to iconv whole, as it comes. Two bytes give at most four; each
    // character is copied as four bytes and the end moved by its length.
    std::string out(2 * gbk.size() + 4, '\0');
    char* to = out.data();
    const unsigned char* from = reinterpret_cast<const unsigned char*>(gbk.data());
    const unsigned char* end = from + gbk.size();
    while (from < end) {
        // Eight ASCII bytes at a time: most of an exported line is digits.
        uint64_t eight;
        if (end - from >= 8 && (std::memcpy(&eight, from, 8), (eight & 0x8080808080808080u) == 0)) {
            std::memcpy(to, from, 8);
            to += 8;
            from += 8;
            continue;
        }
        if (*from < 0x80) {
            *to++ = char(*from++);
            continue;
        }
        if (*from == 0x80 || *from == 0xFF || from + 1 == end) return Convert("UTF-8", "GBK", gbk);
        const Utf8Character& utf8 = CharacterToUtf8(unsigned(from[0]) << 8 | from[1]);
        if (utf8.length == 0) return Convert("UTF-8", "GBK", gbk);
        std::memcpy(to, utf8.bytes, sizeof utf8.bytes);
        to += utf8.length;
        from += 2;
    }
    out.resize(size_t(to - out.data()));
    return out;
}

std::optional<std::string> Utf8ToGbk(const std::string& utf8) { return Convert("GBK", "UTF-8", utf8); }

std::vector<std::string> Utf8Arguments(int argc, char** argv)
{
    return std::vector<std::string>(argv + 1, argv + argc);
}

LocalDateTime LocalNow()
{
    std::time_t now = std::time(nullptr);
    std::tm tm{};
    localtime_r(&now, &tm);
    return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
}

// --- Registry, media recorder and files -----------------------------------
// The registry is a text file (registry_file.h), read again by every call
// that finds it changed.
// LUMORA_REGISTRY_USER_ONLY=1 refuses writes under HKEY_LOCAL_MACHINE, as
// Windows does for an ordinary user.
namespace {

constexpr size_t MaxNameBytes = 260;
constexpr size_t MaxValueBytes = 1024;
// A registry file larger than this is taken as damaged and left alone.
constexpr long MaxFileBytes = 64L << 20;

std::string TrimBlanks(const std::string& text)
{
    size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) return "";
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// Key paths and value names as every registry function takes them.
std::string NameForUse(const std::string& name) { return LeftBytes(TrimBlanks(name), MaxNameBytes); }

std::string RegistryFilePath()
{
    const char* own = std::getenv("LUMORA_REGISTRY");
    if (own && *own) return own;
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config && config[0] == '/') return std::string(config) + "/lumora/registry";
    const char* home = std::getenv("HOME");
    if (home && *home) return std::string(home) + "/.config/lumora/registry";
    return "";
}

// The file's bytes; "" for a file that does not exist. False when it exists
// but cannot be read whole.
bool ReadRegistryFile(const std::string& path, std::string& content)
{
    content.clear();
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return errno == ENOENT;
    char buffer[16384];
    size_t n;
    bool ok = true;
    while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
        content.append(buffer, n);
        if (content.size() > size_t(MaxFileBytes)) {
            ok = false;
            break;
        }
    }
    if (std::ferror(file)) ok = false;
    std::fclose(file);
    return ok;
}

// The last file read and what it holds: a file that has not changed since
// is not parsed again. Comparing the bytes (not the time stamp) also sees a
// change made twice within one tick of the file system's clock.
struct CachedStore {
    std::string path;
    std::string content;
    Store store;
};
CachedStore& Cache()
{
    static CachedStore cache;
    return cache;
}

// The registry as it stands, nullptr when the file exists but cannot be
// read (then nothing may be written over it). Valid until the next call.
const Store* CurrentStore()
{
    std::string path = RegistryFilePath(), content;
    if (path.empty() || !ReadRegistryFile(path, content)) return nullptr;
    CachedStore& cache = Cache();
    if (cache.path != path || cache.content != content) cache = {path, content, ParseStore(content)};
    return &cache.store;
}

bool MakeFolders(const std::string& filePath)
{
    size_t slash = filePath.rfind('/');
    if (slash == std::string::npos || slash == 0) return true;
    std::string folder = filePath.substr(0, slash);
    for (size_t pos = 1; pos <= folder.size(); ++pos) {
        if (pos < folder.size() && folder[pos] != '/') continue;
        if (mkdir(folder.substr(0, pos).c_str(), 0700) != 0 && errno != EEXIST) return false;
    }
    return true;
}

// Writes the whole file beside the old one and renames it over it, so the
// registry is always either the old or the new file, never half of one.
// Like the Windows registry, which flushes lazily, it does not wait for the
// disk: a close saves some twenty values, and a flush per value would make
// that take a noticeable time.
bool SaveStore(const Store& store)
{
    std::string path = RegistryFilePath();
    if (path.empty() || !MakeFolders(path)) return false;
    std::string content = FormatStore(store);
    std::string temporary = path + ".tmp" + std::to_string(getpid());
    unlink(temporary.c_str());
    int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0600);
    if (fd < 0) return false;
    bool ok = true;
    for (size_t done = 0; ok && done < content.size();) {
        ssize_t n = write(fd, content.data() + done, content.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) ok = false;
        else done += size_t(n);
    }
    if (close(fd) != 0) ok = false;
    if (!ok || rename(temporary.c_str(), path.c_str()) != 0) {
        unlink(temporary.c_str());
        return false;
    }
    Cache() = {path, content, store};
    return true;
}

bool MayWrite(RegistryRoot root)
{
    const char* userOnly = std::getenv("LUMORA_REGISTRY_USER_ONLY");
    return root != RegistryRoot::LocalMachine || !userOnly || std::strcmp(userOnly, "1") != 0;
}

// A Windows path as this file system names it: "X:\dir\file" is /dir/file
// (drive Z: of Wine), backslashes are slashes, and the name is UTF-8.
std::string PosixPath(const std::string& path)
{
    std::string out;
    size_t pos = 0;
    if (path.size() >= 3 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':' && path[2] == '\\')
        pos = 2;
    for (; pos < path.size(); pos += GbkCharLength(path, pos)) {
        if (IsSingleByte(path, pos, '\\')) out += '/';
        else out.append(path, pos, GbkCharLength(path, pos));
    }
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

std::string RegReadText(RegistryRoot root, const std::string& keyPath, const std::string& valueName)
{
    std::string path = NameForUse(keyPath), name = NameForUse(valueName);
    const Store* store = IsUsableKeyPath(path) ? CurrentStore() : nullptr;
    const StoredKey* key = store ? FindKey(*store, root, path) : nullptr;
    const StoredValue* value = key ? FindValue(*key, name) : nullptr;
    // A value longer than the reading buffer cannot be read at all.
    if (!value || value->data.size() > MaxValueBytes) return "";
    return TrimBlanks(value->data.substr(0, value->data.find('\0')));
}

bool RegWriteText(RegistryRoot root, const std::string& keyPath, const std::string& valueName,
                  const std::string& text)
{
    std::string path = NameForUse(keyPath), name = NameForUse(valueName);
    const Store* current = IsUsableKeyPath(path) && MayWrite(root) ? CurrentStore() : nullptr;
    if (!current) return false;
    Store store = *current;
    StoredKey* key = FindKey(store, root, path);
    if (!key) {
        store.push_back({root, path, {}});
        key = &store.back();
    }
    std::string data = LeftBytes(text, MaxValueBytes);
    if (StoredValue* value = FindValue(*key, name)) value->data = data;
    else key->values.push_back({name, data});
    return SaveStore(store);
}

// The file holds code page 936; a text that it cannot be written in is kept
// as its UTF-8 bytes, which are then told apart from a GBK text on reading:
// they are valid UTF-8 that code page 936 cannot write.
std::string RegReadUtf8Text(RegistryRoot root, const std::string& keyPath, const std::string& valueName)
{
    std::string stored = RegReadText(root, keyPath, valueName);
    if (Convert("UTF-16LE", "UTF-8", stored) && !Utf8ToGbk(stored)) return stored;
    return GbkToUtf8(stored).value_or("");
}

bool RegWriteUtf8Text(RegistryRoot root, const std::string& keyPath, const std::string& valueName,
                      const std::string& utf8)
{
    if (utf8.size() > MaxValueBytes) return false;
    return RegWriteText(root, keyPath, valueName, Utf8ToGbk(utf8).value_or(utf8));
}

void RegDeleteValueText(RegistryRoot root, const std::string& keyPath, const std::string& valueName)
{
    std::string path = NameForUse(keyPath), name = NameForUse(valueName);
    const Store* current = IsUsableKeyPath(path) && MayWrite(root) ? CurrentStore() : nullptr;
    if (!current) return;
    Store store = *current;
    StoredKey* key = FindKey(store, root, path);
    StoredValue* value = key ? FindValue(*key, name) : nullptr;
    if (!value) return;
    key->values.erase(key->values.begin() + (value - key->values.data()));
    SaveStore(store);
}

void RegDeleteKeyPath(RegistryRoot root, const std::string& keyPath)
{
    std::string path = NameForUse(keyPath);
    const Store* current = !path.empty() && IsUsableKeyPath(path) && MayWrite(root) ? CurrentStore() : nullptr;
    if (!current) return;
    Store store = *current;
    // As on Windows, a key that still has sub-keys stays.
    std::string below = FoldedName(path) + "\\";
    for (const StoredKey& key : store)
        if (key.root == root && FoldedName(key.path).compare(0, below.size(), below) == 0) return;
    StoredKey* key = FindKey(store, root, path);
    if (!key) return;
    store.erase(store.begin() + (key - store.data()));
    SaveStore(store);
}

// The recorder answers as the device does for files that are not there: an
// open fails with "file not found" (275), every other command with "invalid
// device name" (263), since no alias is ever open.
int MediaCommand(const std::string& command)
{
    RecordedMediaCommands().push_back(command);
    bool isOpen = command.size() >= 5 && FoldedName(command.substr(0, 5)) == "open ";
    return isOpen ? 275 : 263;
}

// No short names here: an existing file's path is its own short form.
std::string ShortPathName(const std::string& path)
{
    struct stat info;
    return !path.empty() && stat(PosixPath(path).c_str(), &info) == 0 ? path : "";
}

void PlayClip(const std::string& resourceName) { RecordedClips().push_back(resourceName); }

void StopClip() {}

std::vector<std::string>& RecordedMediaCommands()
{
    static std::vector<std::string> commands;
    return commands;
}

std::vector<std::string>& RecordedClips()
{
    static std::vector<std::string> clips;
    return clips;
}

std::string ModulePathUtf8()
{
    char buffer[4096];
    ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n <= 0) return "";
    return std::string(buffer, size_t(n));
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

ScreenDimensions ScreenSize()
{
    // LUMORA_SCREEN=WxH stands in for a screen of that size.
    const char* given = std::getenv("LUMORA_SCREEN");
    if (given) {
        char* end = nullptr;
        long width = std::strtol(given, &end, 10);
        long height = *end == 'x' ? std::strtol(end + 1, &end, 10) : 0;
        if (*end == '\0' && width > 0 && height > 0 && width <= 100000 && height <= 100000)
            return {int(width), int(height)};
    }
    return {1920, 1080};
}

// --- Audio: the media device's reply and the speaking clock's thread ---
// The recorder gives no replies; the command goes to MediaCommand so that
// it is recorded with the others.
int MediaCommandReply(const std::string& command, std::string& reply)
{
    reply.clear();
    return MediaCommand(command);
}
void InitThreadForAudio() {}
void EndThreadForAudio() {}

// --- The single running copy ---
// An exclusive lock on a file in the runtime folder; the descriptor stays
// open (and so locked) until the process ends.
namespace {
int InstanceLock = -1;
}

int IsOtherInstanceRunning(const std::string& name)
{
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    std::string path = std::string(runtime && *runtime ? runtime : "/tmp") + "/" + name + ".lock";
    int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) return 1;
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        close(fd);
        return 1;
    }
    InstanceLock = fd;
    return 0;
}

void ReleaseInstanceLock()
{
    if (InstanceLock >= 0) close(InstanceLock);
    InstanceLock = -1;
}
