// The file that stands in for the registry off Windows, in the layout of a
// .reg export so that it can be read and mended by hand:
//
//   [HKEY_CURRENT_USER\Software\Lumora]
//   "Version"="4.0"
//   @="the key's unnamed value"
//
// Texts are shown in UTF-8; a byte that cannot be shown as it is (a control
// byte, "%", a quote, a bracket in a key path, a byte that is no character
// of code page 936) is written %XX. Lines that cannot be read are ignored.
#pragma once
#include <string>
#include <vector>

#include "gbk_text.h"
#include "platform.h"

struct StoredValue {
    std::string name;
    std::string data;
};
struct StoredKey {
    RegistryRoot root;
    std::string path;
    std::vector<StoredValue> values;
};
using Store = std::vector<StoredKey>;

// "" is the root itself; otherwise no part between backslashes is empty.
bool IsUsableKeyPath(const std::string& path);

// The keys and values of a file's text; later duplicates of a key or value
// replace or join the earlier ones, as reading the lines in order gives.
Store ParseStore(const std::string& content);
// The file's text; ParseStore gives back the same keys and values.
std::string FormatStore(const Store& store);

// Store and StoredKey, read-only or not.
// Names match without regard to the case of ASCII letters, as Windows's do.
template <typename Keys>
auto FindKey(Keys& store, RegistryRoot root, const std::string& path) -> decltype(&store[0])
{
    std::string folded = AsciiLowered(path);
    for (auto& key : store)
        if (key.root == root && AsciiLowered(key.path) == folded) return &key;
    return nullptr;
}

template <typename Key>
auto FindValue(Key& key, const std::string& name) -> decltype(&key.values[0])
{
    std::string folded = AsciiLowered(name);
    for (auto& value : key.values)
        if (AsciiLowered(value.name) == folded) return &value;
    return nullptr;
}
