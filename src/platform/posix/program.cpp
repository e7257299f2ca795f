// The running program: its arguments, its path and its single running copy.
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "platform.h"

std::vector<std::string> Utf8Arguments(int argc, char** argv)
{
    return std::vector<std::string>(argv + 1, argv + argc);
}

std::string ModulePathUtf8()
{
    char buffer[4096];
    ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n <= 0) return "";
    return std::string(buffer, size_t(n));
}

// The single running copy: an exclusive lock on a file in the runtime folder; the descriptor stays
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
