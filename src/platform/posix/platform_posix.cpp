#include <iconv.h>

#include <cerrno>
#include <ctime>

#include "platform.h"

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

std::optional<std::string> GbkToUtf8(const std::string& gbk) { return Convert("UTF-8", "GBK", gbk); }

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
// The recorder gives no replies; the command goes to MediaCommand so that
// it is recorded with the others.
int MediaCommandReply(const std::string& command, std::string& reply)
{
    reply.clear();
    return MediaCommand(command);
}
void InitThreadForAudio() {}
void EndThreadForAudio() {}
