// The file that holds the registry off Windows: whatever its bytes, reading
// it gives keys and values that, written out and read again, come back the
// same, and writing out what was read back changes nothing more.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "registry_file.h"

namespace {

bool SameValues(const Store& a, const Store& b)
{
    if (a.size() != b.size()) return false;
    for (size_t k = 0; k < a.size(); ++k) {
        if (a[k].root != b[k].root || a[k].path != b[k].path || a[k].values.size() != b[k].values.size())
            return false;
        for (size_t v = 0; v < a[k].values.size(); ++v)
            if (a[k].values[v].name != b[k].values[v].name || a[k].values[v].data != b[k].values[v].data)
                return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Store read = ParseStore(std::string(reinterpret_cast<const char*>(data), size));
    for (const StoredKey& key : read) {
        if (!IsUsableKeyPath(key.path)) std::abort();
        // Keys and the values of a key are each found once, by their own names.
        if (FindKey(read, key.root, key.path) != &key) std::abort();
        for (const StoredValue& value : key.values)
            if (FindValue(key, value.name) != &value) std::abort();
    }
    std::string written = FormatStore(read);
    Store again = ParseStore(written);
    if (!SameValues(read, again) || FormatStore(again) != written) std::abort();
    return 0;
}
