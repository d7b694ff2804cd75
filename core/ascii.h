// ASCII case folding, the one way the runtime compares and converts names and keys: only
// A-Z and a-z change, every other byte (UTF-8 included) stays as it is, whatever the locale.
#pragma once

#include <string>
#include <string_view>

constexpr char AsciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

constexpr char AsciiUpper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

// Equal when the same length and equal after folding both to lower case.
constexpr bool AsciiEqualFolded(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
    return true;
}

inline std::string AsciiLowered(std::string s) {
    for (char& c : s) c = AsciiLower(c);
    return s;
}

inline std::string AsciiUppered(std::string s) {
    for (char& c : s) c = AsciiUpper(c);
    return s;
}
