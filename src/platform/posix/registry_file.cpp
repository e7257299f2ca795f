#include "registry_file.h"

#include <cstring>
#include <optional>

bool IsUsableKeyPath(const std::string& path)
{
    return path.empty() || !HasEmptyPart(path, '\\');
}

namespace {

const char* RootName(RegistryRoot root)
{
    return root == RegistryRoot::LocalMachine ? "HKEY_LOCAL_MACHINE" : "HKEY_CURRENT_USER";
}


const char HexDigits[] = "0123456789ABCDEF";

void AppendEscaped(std::string& out, const std::string& bytes)
{
    for (unsigned char b : bytes) {
        out += '%';
        out += HexDigits[b >> 4];
        out += HexDigits[b & 15];
    }
}

// A GBK text as the file shows it; `special` lists the ASCII characters
// that must be escaped besides "%" and the control bytes.
std::string EncodeText(const std::string& text, const char* special)
{
    std::string out;
    for (size_t pos = 0; pos < text.size();) {
        unsigned char b = static_cast<unsigned char>(text[pos]);
        if (b < 0x80) {
            if (b < 0x20 || b == 0x7F || b == '%' || std::strchr(special, b)) AppendEscaped(out, text.substr(pos, 1));
            else out += char(b);
            ++pos;
            continue;
        }
        // A run of two-byte characters goes through the converter at once;
        // only a run that does not come back unchanged is taken apart.
        size_t end = EndOfRun(text, pos);
        std::string run = text.substr(pos, end - pos);
        auto utf8 = GbkToUtf8(run);
        if (utf8 && Utf8ToGbk(*utf8) == run) {
            out += *utf8;
        } else {
            ForEachCharacter(text, pos, end, [&out](const std::string& one) {
                auto shown = one.size() == 2 ? GbkToUtf8(one) : std::nullopt;
                if (shown && Utf8ToGbk(*shown) == one) out += *shown;
                else AppendEscaped(out, one);
            });
        }
        pos = end;
    }
    return out;
}

int HexValue(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// The GBK text that EncodeText showed; nullopt for a damaged one.
std::optional<std::string> DecodeText(const std::string& shown)
{
    std::string out;
    for (size_t pos = 0; pos < shown.size();) {
        unsigned char b = static_cast<unsigned char>(shown[pos]);
        if (b == '%') {
            if (pos + 2 >= shown.size()) return std::nullopt;
            int high = HexValue(shown[pos + 1]), low = HexValue(shown[pos + 2]);
            if (high < 0 || low < 0) return std::nullopt;
            out += char(high * 16 + low);
            pos += 3;
        } else if (b < 0x80) {
            out += char(b);
            ++pos;
        } else {
            size_t end = pos;
            while (end < shown.size() && static_cast<unsigned char>(shown[end]) >= 0x80) ++end;
            auto gbk = Utf8ToGbk(shown.substr(pos, end - pos));
            if (!gbk) return std::nullopt;
            out += *gbk;
            pos = end;
        }
    }
    return out;
}

// `"name"="data"` or `@="data"`; false when the line is no such value.
bool ParseValueLine(const std::string& line, StoredValue& value)
{
    size_t pos = 0;
    std::optional<std::string> name;
    if (line[0] == '@') {
        name = "";
        pos = 1;
    } else {
        size_t close = line.find('"', 1);
        if (line[0] != '"' || close == std::string::npos) return false;
        name = DecodeText(line.substr(1, close - 1));
        pos = close + 1;
    }
    if (line.compare(pos, 2, "=\"") != 0 || line.size() < pos + 3 || line.back() != '"') return false;
    std::string shownData = line.substr(pos + 2, line.size() - pos - 3);
    if (shownData.find('"') != std::string::npos) return false;
    auto data = DecodeText(shownData);
    if (!name || !data) return false;
    value = {*name, *data};
    return true;
}

// `[ROOT]` or `[ROOT\key path]`; false when the line names no usable key.
bool ParseKeyLine(const std::string& line, RegistryRoot& root, std::string& path)
{
    std::string inside = line.substr(1, line.size() - 2);
    for (RegistryRoot candidate : {RegistryRoot::CurrentUser, RegistryRoot::LocalMachine}) {
        std::string rootName = RootName(candidate);
        if (AsciiLowered(inside.substr(0, rootName.size())) != AsciiLowered(rootName)) continue;
        std::string rest = inside.substr(rootName.size());
        if (!rest.empty() && rest[0] != '\\') continue;
        auto decoded = DecodeText(rest.empty() ? rest : rest.substr(1));
        if (!decoded || (!rest.empty() && decoded->empty()) || !IsUsableKeyPath(*decoded)) return false;
        root = candidate;
        path = *decoded;
        return true;
    }
    return false;
}

}  // namespace

Store ParseStore(const std::string& content)
{
    Store store;
    StoredKey* current = nullptr;
    size_t lineStart = 0;
    while (lineStart < content.size()) {
        size_t lineEnd = content.find('\n', lineStart);
        if (lineEnd == std::string::npos) lineEnd = content.size();
        std::string line = content.substr(lineStart, lineEnd - lineStart);
        lineStart = lineEnd + 1;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == ';') continue;
        if (line[0] == '[' && line.size() >= 2 && line.back() == ']') {
            RegistryRoot root;
            std::string path;
            current = nullptr;
            if (!ParseKeyLine(line, root, path)) continue;
            current = FindKey(store, root, path);
            if (!current) {
                store.push_back({root, path, {}});
                current = &store.back();
            }
            continue;
        }
        StoredValue value;
        if (!current || !ParseValueLine(line, value)) continue;
        if (StoredValue* old = FindValue(*current, value.name)) old->data = value.data;
        else current->values.push_back(value);
    }
    return store;
}

std::string FormatStore(const Store& store)
{
    std::string out = "; Lumora registry: [key] sections of \"name\"=\"text\" values, @ the key's\n"
                      "; unnamed value, %XX a byte that cannot be shown as it is.\n";
    for (const StoredKey& key : store) {
        out.append("\n[").append(RootName(key.root));
        if (!key.path.empty()) out.append("\\").append(EncodeText(key.path, "\"[]"));
        out.append("]\n");
        for (const StoredValue& value : key.values) {
            if (value.name.empty()) out.append("@");
            else out.append("\"").append(EncodeText(value.name, "\"")).append("\"");
            out.append("=\"").append(EncodeText(value.data, "\"")).append("\"\n");
        }
    }
    return out;
}
