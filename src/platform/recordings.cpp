// What MediaCommand and PlayClip were given: the recorders off Windows fill
// these; where the real device and clips play they stay empty.
#include "platform.h"

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
