#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "gbk_text.h"
#include "platform.h"
#include "registry_file.h"
#include "text_conversion.h"

// The registry is a text file (registry_file.h), read again by every call
// that finds it changed.
// LUMORA_REGISTRY_USER_ONLY=1 refuses writes under HKEY_LOCAL_MACHINE, as
// Windows does for an ordinary user.
namespace {

constexpr size_t MaxValueBytes = 1024;
// A registry file larger than this is taken as damaged and left alone.
constexpr long MaxFileBytes = 64L << 20;

// Key paths and value names as every registry function takes them.
std::string NameForUse(const std::string& name) { return LeftBytes(TrimBlanks(name), RegistryNameBytes); }

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
    if (ConvertText("UTF-16LE", "UTF-8", stored) && !Utf8ToGbk(stored)) return stored;
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
    std::string below = AsciiLowered(path) + "\\";
    for (const StoredKey& key : store)
        if (key.root == root && AsciiLowered(key.path).compare(0, below.size(), below) == 0) return;
    StoredKey* key = FindKey(store, root, path);
    if (!key) return;
    store.erase(store.begin() + (key - store.data()));
    SaveStore(store);
}
