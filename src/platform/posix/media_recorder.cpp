// The media device and the clips off Windows: recorders that keep what they
// were given, so that tests can read what would have been played.
#include <string>
#include <vector>

#include "gbk_text.h"
#include "platform.h"

// The recorder answers as the device does for files that are not there: an
// open fails with "file not found" (275), every other command with "invalid
// device name" (263), since no alias is ever open.
int MediaCommand(const std::string& command)
{
    RecordedMediaCommands().push_back(command);
    bool isOpen = command.size() >= 5 && AsciiLowered(command.substr(0, 5)) == "open ";
    return isOpen ? 275 : 263;
}

void PlayClip(const std::string& resourceName) { RecordedClips().push_back(resourceName); }

void StopClip() {}

// The recorder gives no replies; the command goes to MediaCommand so that
// it is recorded with the others.
int MediaCommandReply(const std::string& command, std::string& reply)
{
    reply.clear();
    return MediaCommand(command);
}
void InitThreadForAudio() {}
void EndThreadForAudio() {}
