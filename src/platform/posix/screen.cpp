#include <cstdlib>

#include "platform.h"

ScreenDimensions ScreenSize()
{
    // LUMORA_SCREEN=WxH stands in for a screen of that size.
    const char* given = std::getenv("LUMORA_SCREEN");
    if (given) {
        char* end = nullptr;
        long width = std::strtol(given, &end, 10);
        long height = *end == 'x' ? std::strtol(end + 1, &end, 10) : 0;
        if (*end == '\0' && width > 0 && height > 0 && width <= 100000 && height <= 100000)
            return {int(width), int(height)};
    }
    return {1920, 1080};
}
