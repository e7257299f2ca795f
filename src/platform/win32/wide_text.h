// Conversions between the program's code-page texts and the UTF-16 that the
// wide Win32 functions take. The program keeps its texts in code page 936
// and converts them explicitly, so a Chinese interface shows correctly
// whatever the system's own code page is.
#pragma once
#include <windows.h>

#include <optional>
#include <string>

inline std::optional<std::wstring> ToWide(UINT codePage, const std::string& in)
{
    if (in.empty()) return std::wstring();
    int n = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, in.data(), int(in.size()), nullptr, 0);
    if (n <= 0) return std::nullopt;
    std::wstring out(size_t(n), L'\0');
    MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, in.data(), int(in.size()), out.data(), n);
    return out;
}

inline std::optional<std::string> FromWide(UINT codePage, const std::wstring& in)
{
    if (in.empty()) return std::string();
    // A character the code page lacks is refused, never replaced by a
    // look-alike ("²" by "2"): a path must keep naming the same file.
    BOOL lossy = FALSE;
    BOOL* lossyFlag = codePage == CP_UTF8 ? nullptr : &lossy;
    DWORD flags = codePage == CP_UTF8 ? 0 : WC_NO_BEST_FIT_CHARS;
    int n = WideCharToMultiByte(codePage, flags, in.data(), int(in.size()), nullptr, 0, nullptr, lossyFlag);
    if (n <= 0 || lossy) return std::nullopt;
    std::string out(size_t(n), '\0');
    WideCharToMultiByte(codePage, flags, in.data(), int(in.size()), out.data(), n, nullptr, nullptr);
    return out;
}

// A code page 936 text for a window ("" for a text that is not valid GBK).
inline std::wstring Wide(const std::string& gbk) { return ToWide(936, gbk).value_or(std::wstring()); }

// A window's text in code page 936 ("" when it holds characters GBK lacks).
inline std::string Gbk(const std::wstring& text) { return FromWide(936, text).value_or(std::string()); }
