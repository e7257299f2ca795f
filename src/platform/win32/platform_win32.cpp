#include <windows.h>
#include <mmsystem.h>
#include <shellapi.h>

#include "platform.h"
#include "wide_text.h"
#include "gbk_text.h"

namespace {

std::optional<std::string> Convert(UINT to, UINT from, const std::string& in)
{
    auto wide = ToWide(from, in);
    if (!wide) return std::nullopt;
    return FromWide(to, *wide);
}

}  // namespace

std::optional<std::string> GbkToUtf8(const std::string& gbk) { return Convert(CP_UTF8, 936, gbk); }

std::optional<std::string> Utf8ToGbk(const std::string& utf8) { return Convert(936, CP_UTF8, utf8); }

std::vector<std::string> Utf8Arguments(int, char**)
{
    // The ANSI argv depends on the code page Windows was started with; the
    // wide command line does not.
    std::vector<std::string> args;
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!wide) return args;
    for (int i = 1; i < count; ++i) args.push_back(FromWide(CP_UTF8, wide[i]).value_or(""));
    LocalFree(wide);
    return args;
}

LocalDateTime LocalNow()
{
    SYSTEMTIME st;
    GetLocalTime(&st);
    return {st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond};
}

// --- Registry, media and files -------------------------------------------
// Text crosses the Windows API as UTF-16 converted from and to code page 936
// explicitly, whatever the machine's ANSI code page: values written on a
// Chinese system read back the same on any other.
namespace {

constexpr size_t MaxValueBytes = 1024;
constexpr REGSAM ReadAccess = 0x20019;  // KEY_READ
constexpr REGSAM FullAccess = 0xF003F;  // KEY_ALL_ACCESS

// Key paths and value names as every registry function takes them.
std::optional<std::wstring> RegistryName(const std::string& name)
{
    return ToWide(936, LeftBytes(TrimBlanks(name), RegistryNameBytes));
}

HKEY RootKey(RegistryRoot root) { return root == RegistryRoot::LocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER; }

std::optional<std::wstring> WidePath(const std::string& path) { return ToWide(936, path); }

}  // namespace

namespace {

// A value's text in code page `codePage`; "" when it cannot be read.
std::string ReadValueText(RegistryRoot root, const std::string& keyPath, const std::string& valueName,
                          UINT codePage)
{
    auto path = RegistryName(keyPath), name = RegistryName(valueName);
    HKEY key;
    if (!path || !name || RegOpenKeyExW(RootKey(root), path->c_str(), 0, ReadAccess, &key) != ERROR_SUCCESS)
        return "";
    // 1024 bytes of code page 936 are at most 1024 UTF-16 units, with a
    // terminating zero when the writer stored one.
    constexpr DWORD MaxDataBytes = (MaxValueBytes + 1) * sizeof(wchar_t);
    std::wstring data;
    DWORD type = 0, size = 0;
    bool ok = RegQueryValueExW(key, name->c_str(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS &&
              (type == REG_SZ || type == REG_EXPAND_SZ) && size <= MaxDataBytes;
    if (ok) {
        data.assign(size / sizeof(wchar_t) + 1, L'\0');
        ok = RegQueryValueExW(key, name->c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size) ==
             ERROR_SUCCESS;
        data.resize(size / sizeof(wchar_t));
    }
    RegCloseKey(key);
    if (!ok) return "";
    // The terminating zero that the system may have added is no part of the text.
    if (!data.empty() && data.back() == L'\0') data.pop_back();
    auto text = FromWide(codePage, data);
    // A value longer than the reading buffer cannot be read at all.
    if (!text || text->size() > MaxValueBytes) return "";
    return TrimBlanks(text->substr(0, text->find('\0')));
}

bool WriteValueText(RegistryRoot root, const std::string& keyPath, const std::string& valueName,
                    const std::optional<std::wstring>& data)
{
    auto path = RegistryName(keyPath), name = RegistryName(valueName);
    HKEY key;
    DWORD disposition;
    if (!path || !name || !data ||
        RegCreateKeyExW(RootKey(root), path->c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, FullAccess, nullptr,
                        &key, &disposition) != ERROR_SUCCESS)
        return false;
    // The byte count is the text's, without a terminating zero.
    LSTATUS status = RegSetValueExW(key, name->c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data->data()),
                                    DWORD(data->size() * sizeof(wchar_t)));
    RegCloseKey(key);
    return status == ERROR_SUCCESS;
}

}  // namespace

std::string RegReadText(RegistryRoot root, const std::string& keyPath, const std::string& valueName)
{
    return ReadValueText(root, keyPath, valueName, 936);
}

bool RegWriteText(RegistryRoot root, const std::string& keyPath, const std::string& valueName,
                  const std::string& text)
{
    return WriteValueText(root, keyPath, valueName, ToWide(936, LeftBytes(text, MaxValueBytes)));
}

std::string RegReadUtf8Text(RegistryRoot root, const std::string& keyPath, const std::string& valueName)
{
    return ReadValueText(root, keyPath, valueName, CP_UTF8);
}

bool RegWriteUtf8Text(RegistryRoot root, const std::string& keyPath, const std::string& valueName,
                      const std::string& utf8)
{
    auto data = ToWide(CP_UTF8, utf8);
    if (data && data->size() > MaxValueBytes) return false;
    return WriteValueText(root, keyPath, valueName, data);
}

void RegDeleteValueText(RegistryRoot root, const std::string& keyPath, const std::string& valueName)
{
    auto path = RegistryName(keyPath), name = RegistryName(valueName);
    HKEY key;
    if (!path || !name || RegOpenKeyExW(RootKey(root), path->c_str(), 0, FullAccess, &key) != ERROR_SUCCESS) return;
    RegDeleteValueW(key, name->c_str());
    RegCloseKey(key);
}

void RegDeleteKeyPath(RegistryRoot root, const std::string& keyPath)
{
    // RegDeleteKeyW refuses a key with sub-keys; "" would name the root.
    auto path = RegistryName(keyPath);
    if (path && !path->empty()) RegDeleteKeyW(RootKey(root), path->c_str());
}

int MediaCommand(const std::string& command)
{
    std::string reply;
    return MediaCommandReply(command, reply);
}

std::string ShortPathName(const std::string& path)
{
    auto wide = WidePath(path);
    wchar_t buffer[1024];
    DWORD n = wide ? GetShortPathNameW(wide->c_str(), buffer, 1024) : 0;
    if (n == 0 || n >= 1024) return "";
    return FromWide(936, std::wstring(buffer, n)).value_or("");
}

void PlayClip(const std::string& resourceName)
{
    auto name = ToWide(936, resourceName);
    if (name) PlaySoundW(name->c_str(), GetModuleHandleW(nullptr), SND_RESOURCE | SND_SYNC);
}

void StopClip() { PlaySoundW(nullptr, nullptr, 0); }

std::string ModulePathUtf8()
{
    std::wstring buffer(32768, L'\0');
    DWORD n = GetModuleFileNameW(nullptr, buffer.data(), DWORD(buffer.size()));
    if (n == 0 || n >= buffer.size()) return "";
    buffer.resize(n);
    return FromWide(CP_UTF8, buffer).value_or("");
}

bool FileExists(const std::string& path)
{
    auto wide = WidePath(path);
    if (!wide || wide->empty()) return false;
    // Without backup semantics a folder cannot be opened, so only files pass.
    HANDLE file = CreateFileW(wide->c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    CloseHandle(file);
    return true;
}

bool IsBitmapFile(const std::string& path)
{
    auto wide = WidePath(path);
    if (!wide || wide->empty()) return false;
    HANDLE bitmap = LoadImageW(nullptr, wide->c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE);
    if (!bitmap) return false;
    DeleteObject(bitmap);
    return true;
}

ScreenDimensions ScreenSize() { return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}; }

// --- Audio: the media device's reply and the speaking clock's thread ---
#include <mmsystem.h>
#include <objbase.h>

int MediaCommandReply(const std::string& command, std::string& reply)
{
    reply.clear();
    auto wide = ToWide(936, command);
    if (!wide) return -1;
    wchar_t buffer[1024] = {};
    MCIERROR error = mciSendStringW(wide->c_str(), buffer, 1024, nullptr);
    reply = FromWide(936, buffer).value_or("");
    return int(error);
}
void InitThreadForAudio() { CoInitialize(nullptr); }
void EndThreadForAudio() { CoUninitialize(); }

// --- The single running copy ---
// A named mutex that the first copy keeps open until the process ends.
namespace {
HANDLE InstanceLock = nullptr;
}

int IsOtherInstanceRunning(const std::string& name)
{
    auto wide = ToWide(936, name);
    if (!wide) return 1;
    HANDLE mutex = CreateMutexW(nullptr, FALSE, wide->c_str());
    if (!mutex) return 1;
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        CloseHandle(mutex);
        return 1;
    }
    InstanceLock = mutex;
    return 0;
}

void ReleaseInstanceLock()
{
    if (InstanceLock) CloseHandle(InstanceLock);
    InstanceLock = nullptr;
}
