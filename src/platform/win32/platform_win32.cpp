#include <windows.h>
#include <shellapi.h>

#include "platform.h"

namespace {

std::optional<std::wstring> ToWide(UINT codePage, const std::string& in)
{
    if (in.empty()) return std::wstring();
    int n = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, in.data(), int(in.size()), nullptr, 0);
    if (n <= 0) return std::nullopt;
    std::wstring out(size_t(n), L'\0');
    MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, in.data(), int(in.size()), out.data(), n);
    return out;
}

std::optional<std::string> FromWide(UINT codePage, const std::wstring& in)
{
    if (in.empty()) return std::string();
    BOOL lossy = FALSE;
    BOOL* lossyFlag = codePage == CP_UTF8 ? nullptr : &lossy;
    int n = WideCharToMultiByte(codePage, 0, in.data(), int(in.size()), nullptr, 0, nullptr, lossyFlag);
    if (n <= 0 || lossy) return std::nullopt;
    std::string out(size_t(n), '\0');
    WideCharToMultiByte(codePage, 0, in.data(), int(in.size()), out.data(), n, nullptr, nullptr);
    return out;
}

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

// The registry, media and file services are filled in with the settings and
// stored days; until then they answer as an empty machine would.
std::string RegReadText(RegistryRoot, const std::string&, const std::string&) { return ""; }
bool RegWriteText(RegistryRoot, const std::string&, const std::string&, const std::string&) { return false; }
void RegDeleteValueText(RegistryRoot, const std::string&, const std::string&) {}
void RegDeleteKeyPath(RegistryRoot, const std::string&) {}
int MediaCommand(const std::string&) { return 1; }
std::string ShortPathName(const std::string&) { return ""; }
void PlayClip(const std::string&) {}
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
std::string ModulePath() { return ""; }
bool FileExists(const std::string&) { return false; }

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
