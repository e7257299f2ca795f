// For the fuzz targets that read settings and stored days: the input
// becomes the whole registry file (the layout of registry_file.h), kept in
// a folder of its own, in memory where the system has /dev/shm.
#pragma once
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "registry_file.h"

inline void UseOwnRegistryFile()
{
    const char* base = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    std::string file = std::string(base) + "/lumora-fuzz-" + std::to_string(getpid());
    setenv("LUMORA_REGISTRY", file.c_str(), 1);
    setenv("LUMORA_SCREEN", "1920x1080", 1);
}

// Writes the input as the registry file and gives what it holds.
inline Store SetRegistryFile(const uint8_t* data, size_t size)
{
    std::string content(reinterpret_cast<const char*>(data), size);
    FILE* file = std::fopen(std::getenv("LUMORA_REGISTRY"), "wb");
    if (!file) std::abort();
    std::fwrite(content.data(), 1, content.size(), file);
    std::fclose(file);
    return ParseStore(content);
}
