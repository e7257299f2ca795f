// A registry and a folder of its own for each test. Natively the registry is
// a fresh file named by LUMORA_REGISTRY; on Windows (a throwaway Wine
// prefix) it is the real one, and the program's keys and Run values are
// removed before and after each test.
#pragma once
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "platform.h"

class RegistrySandbox : public ::testing::Test {
protected:
    static constexpr char RunKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
    static constexpr char TestKey[] = "Software\\Lumora\\RegistryTest";

    void SetUp() override
    {
        std::random_device random;
        folder = std::filesystem::temp_directory_path() / ("lumora-test-" + std::to_string(random()));
        std::filesystem::create_directories(folder);
#ifndef _WIN32
        setenv("LUMORA_REGISTRY", (folder / "registry").c_str(), 1);
        unsetenv("LUMORA_REGISTRY_USER_ONLY");
#endif
        ClearProgramKeys();
    }

    void TearDown() override
    {
        ClearProgramKeys();
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
#ifndef _WIN32
        unsetenv("LUMORA_REGISTRY");
        unsetenv("LUMORA_REGISTRY_USER_ONLY");
#endif
    }

    static void ClearProgramKeys()
    {
        for (RegistryRoot root : {RegistryRoot::CurrentUser, RegistryRoot::LocalMachine}) {
            for (const char* key : {"Software\\Lumora\\RegistryTest\\Sub", TestKey, "Software\\Lumora\\SolarMemorial",
                                    "Software\\Lumora\\LunarMemorial", "Software\\Lumora\\MuharramMemorial",
                                    "Software\\Lumora\\SolarReminded", "Software\\Lumora"})
                RegDeleteKeyPath(root, key);
            RegDeleteValueText(root, RunKey, "Lumora");
        }
    }

    // A file of the test's folder as the program names it: a drive-absolute
    // Windows path ("Z:\tmp\..." natively, which the platform maps to /tmp).
    std::string ProgramPath(const std::string& name) const
    {
#ifdef _WIN32
        return (folder / name).string();
#else
        std::string path = "Z:" + (folder / name).string();
        for (char& c : path)
            if (c == '/') c = '\\';
        return path;
#endif
    }

    void WriteFile(const std::string& name, const std::string& bytes) const
    {
        std::ofstream(folder / name, std::ios::binary) << bytes;
    }

    // The smallest honest bitmap: 2 x 2 pixels of 24 bits.
    void WriteBitmap(const std::string& name) const
    {
        std::string bmp = {'B', 'M', 70, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0,         // file header
                           40, 0, 0, 0, 2, 0, 0, 0, 2, 0, 0, 0, 1, 0, 24, 0,      // size, width, height, planes, depth
                           0, 0, 0, 0, 16, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
        bmp += std::string(16, '\x7F');  // two rows of two pixels, padded to 8 bytes
        WriteFile(name, bmp);
    }

    std::filesystem::path folder;
};
