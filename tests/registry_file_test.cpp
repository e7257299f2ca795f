// The text file that holds the registry off Windows, read and written
// without the file system.
#include <gtest/gtest.h>

#include <string>

#include "registry_file.h"

namespace {

// "U|path|name=data" per value ("M" for the machine's keys), one a line.
std::string Described(const Store& store)
{
    std::string out;
    for (const StoredKey& key : store) {
        std::string prefix = (key.root == RegistryRoot::LocalMachine ? "M|" : "U|") + key.path + "|";
        if (key.values.empty()) out += prefix + "\n";
        for (const StoredValue& value : key.values) out += prefix + value.name + "=" + value.data + "\n";
    }
    return out;
}

}  // namespace

TEST(RegistryFile, WhatIsWrittenReadsBackTheSame)
{
    const Store stores[] = {
        {},
        {{RegistryRoot::CurrentUser, "", {{"", "root's own"}}}},
        {{RegistryRoot::CurrentUser, "Software\\Lumora", {{"Version", "4.0"}, {"", "unnamed"}, {"Empty", ""}}},
         {RegistryRoot::LocalMachine, "SOFTWARE\\Run", {{"Lumora", "\"C:\\a b\\lumora.exe\""}}}},
        // Two-byte characters, one whose trail byte is "\", and bytes that
        // are no character: a control byte, 0x80, 0xFF, a lone lead byte.
        {{RegistryRoot::CurrentUser, "Software\\岚舟\\\x81\x5C", {{"名字", "岚舟 100%"}}}},
        {{RegistryRoot::CurrentUser, "K[\xFF]", {{"\"q\"\t", std::string("\x01\r\n\x7F\x80\xFF=", 7) + "\xB0"}}}},
    };
    for (const Store& store : stores) {
        std::string text = FormatStore(store);
        EXPECT_EQ(Described(ParseStore(text)), Described(store)) << text;
        EXPECT_EQ(FormatStore(ParseStore(text)), text);
    }
}

// Lines that cannot be read are skipped; what can be read is kept, and a
// later line for the same key or value joins or replaces the earlier one.
TEST(RegistryFile, DamagedLinesAreSkipped)
{
    const std::string key = "[HKEY_CURRENT_USER\\K]\n";
    const struct {
        std::string text, read;
    } cases[] = {
        {"\"Orphan\"=\"1\"\n" + key + "\"v\"=\"2\"\r\n", "U|K|v=2\n"},
        {key + "\"Broken=\"2\"\n\"BadEscape\"=\"%G1\"\n\"Cut\"=\"%4\"\n\"Unclosed\"=\"3\n", "U|K|\n"},
        {key + "\"Extra\"=\"4\"x\n\"Quote\"=\"a\"b\"\nno line at all\n; \"Comment\"=\"5\"\n", "U|K|\n"},
        {"[HKEY_CURRENT_USER\\a\\\\b]\n\"v\"=\"1\"\n[HKEY_NOWHERE\\K]\n\"v\"=\"2\"\n[HKEY_CURRENT_USERX]\n", ""},
        {"[HKEY_CURRENT_USER\\K\\]\n\"v\"=\"1\"\n[HKEY_CURRENT_USER\\]\n\"v\"=\"2\"\n[\n]\n", ""},
        {key + "\"v\"=\"1\"\n[hkey_current_user\\k]\n\"V\"=\"2\"\n\"w\"=\"3\"", "U|K|v=2\nU|K|w=3\n"},
        {"[HKEY_LOCAL_MACHINE]\n@=\"%E5%B2%9A \xE5\xB2\x9A\"\n", "M||=\xE5\xB2\x9A 岚\n"},
        {key + "\"bad utf-8\"=\"\xE5\xB2\"\n\"v\"=\"\xFF\"\n", "U|K|\n"},
    };
    for (const auto& c : cases) EXPECT_EQ(Described(ParseStore(c.text)), c.read) << c.text;
}
