#include "frame/window_size_setting.h"

#include <cstdlib>

bool WindowSizeParse(const std::string& text, int& width, int& height) {
    const char* s = text.c_str();
    char* end = nullptr;
    const long w = std::strtol(s, &end, 10);
    if (end == s || (*end != 'x' && *end != 'X')) return false;
    const char* hs = end + 1;
    const long h = std::strtol(hs, &end, 10);
    if (end == hs || *end != '\0') return false;
    // A side past this is no window any driver opens; a typo must not reach the renderer.
    constexpr long kLargest = 16384;
    if (w < 1 || h < 1 || w > kLargest || h > kLargest) return false;
    width = static_cast<int>(w);
    height = static_cast<int>(h);
    return true;
}
