// Conversion between encodings by the C library's iconv, which the POSIX
// platform's text functions and the registry file share.
#pragma once
#include <optional>
#include <string>

// in (encoded as from) encoded as to; nullopt when in is not valid text of
// from or has no spelling in to.
std::optional<std::string> ConvertText(const char* to, const char* from, const std::string& in);
