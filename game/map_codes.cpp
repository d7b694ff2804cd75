#include <cstring>

#include "game/map_data.h"

namespace zan3 {

namespace {

bool Is(const RtString& code, const char* text) {
    return std::strcmp(code.Text(), text) == 0;
}

bool IsLetter(char c) {
    return c == 'm' || c == 'l' || c == 's' || c == 't' || c == 'e';
}

}  // namespace

double GroundSprite(const RtString& code) {
    if (code.Length() != 2) return 0;
    const char a = code.Text()[0], b = code.Text()[1];
    if (b == ' ' && a >= 'a' && a <= 'z') return 10 + (a - 'a');
    if (b == ' ' && a >= 'A' && a <= 'M') return 36 + (a - 'A');
    if (Is(code, "  ") || Is(code, "d1") || Is(code, "d2") || Is(code, "d3") || Is(code, "d4"))
        return 51;
    if (a == ' ' && IsLetter(b)) return 51;
    if (Is(code, "> ") || Is(code, "< ")) return 58;
    if (a == '>' && b >= '1' && b <= '4') return 59 + (b - '1');
    return 0;
}

bool IsItemCode(const RtString& code) {
    if (code.Length() != 2) return false;
    const char a = code.Text()[0], b = code.Text()[1];
    return (b == '?' || b == '!') && (a == ' ' || IsLetter(a));
}

bool IsBlinkerCode(const RtString& code) {
    return Is(code, "d1") || Is(code, "d2") || Is(code, "d3") || Is(code, "d4");
}

bool IsLetterCode(const RtString& code) {
    if (code.Length() != 2) return false;
    const char a = code.Text()[0], b = code.Text()[1];
    if (a == ' ') return IsLetter(b);
    return IsLetter(a) && (b == '!' || b == '?' || b == '-' || b == '+');
}

}  // namespace zan3
