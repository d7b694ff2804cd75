#include "files/pattern_match.h"

#include <cstddef>

#include "core/ascii.h"

static unsigned char Fold(char c) {
    return static_cast<unsigned char>(AsciiLower(c));
}

bool WildcardMatch(std::string_view pattern, std::string_view text) {
    size_t p = 0, t = 0;
    size_t starP = std::string_view::npos, starT = 0;
    while (t < text.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            while (p < pattern.size() && pattern[p] == '*') ++p;
            if (p == pattern.size()) return true;
            starP = p;
            starT = t;
            continue;
        }
        if (p < pattern.size() && ((pattern[p] == '?' && text[t] != '.') ||
                                   (pattern[p] != '?' && Fold(pattern[p]) == Fold(text[t])))) {
            ++p;
            ++t;
            continue;
        }
        if (starP == std::string_view::npos) return false;
        // Retry with the last '*' swallowing one more character.
        p = starP;
        t = ++starT;
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}
