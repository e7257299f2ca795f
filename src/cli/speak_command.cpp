// lumora-cli speak [HH:MM] [--hour-only]: the clips the speaking clock would
// play, by resource name, in order. Nothing is played.
#include <cstdio>
#include <string>

#include "commands.h"
#include "platform.h"
#include "speaking_clock.h"
#include "terminal.h"

namespace {

const char SpeakUsage[] =
    "usage: lumora-cli speak [HH:MM] [--hour-only]\n"
    "  the clips the speaking clock plays for HH:MM (default: now), in order;\n"
    "  --hour-only: as the whole-hour announcement, the hour alone";

// "H:MM" or "HH:MM" of the 24-hour clock.
bool ParseClockTime(const std::string& text, int& hour, int& minute)
{
    size_t colon = text.find(':');
    if (colon == std::string::npos || colon == 0 || colon > 2 || text.size() != colon + 3) return false;
    if (text.find_first_not_of("0123456789:") != std::string::npos) return false;
    auto h = ParseWholeNumber(text.substr(0, colon), 0, 23);
    auto m = ParseWholeNumber(text.substr(colon + 1), 0, 59);
    if (!h || !m) return false;
    hour = int(*h);
    minute = int(*m);
    return true;
}

}  // namespace

int SpeakCommand(const CommandArgs& args)
{
    LocalDateTime now = LocalNow();
    int hour = now.hour, minute = now.minute;
    int32_t sayMinutes = 1;
    bool timeGiven = false;
    for (const std::string& arg : args) {
        if (arg == "--help") {
            PrintLine(stdout, SpeakUsage);
            return 0;
        }
        if (arg == "--hour-only") {
            sayMinutes = 0;
        } else if (!timeGiven && ParseClockTime(arg, hour, minute)) {
            timeGiven = true;
        } else {
            PrintLine(stderr, "speak: expected HH:MM (00:00 to 23:59) or --hour-only, not '" + arg + "'");
            return 2;
        }
    }
    std::string line = ChimeClip;
    for (const std::string& clip : AnnouncementClips(hour, minute, sayMinutes)) line += " " + clip;
    PrintLine(stdout, line);
    return 0;
}
