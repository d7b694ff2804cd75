#include "input/key_translate.h"

#include "core/ascii.h"

namespace {

bool IsModifierKey(int k) {
    // Ctrl, both Shifts, Alt, Caps Lock, Num Lock and Apps never type anything.
    return k == 29 || k == 42 || k == 54 || k == 56 || k == 58 || k == 69 || k == 221;
}

int Lower(int c) {
    return (c >= 0 && c < 128) ? AsciiLower(static_cast<char>(c)) : c;
}

}  // namespace

int KeyCharacter(KeySource& keys, int k) {
    int c;
    if (k == 14) {
        c = 8;
    } else if (k == 28 || k == 156) {
        c = 10;
    } else if (IsModifierKey(k)) {
        c = 0;
    } else {
        c = keys.LayoutCharacter(k);
    }
    // Control codes and bytes past ASCII are not typed text.
    if (c == 8 || c == 10 || (c >= 32 && c <= 127)) return c;
    return 0;
}

int KeyTranslator::Next(KeySource& keys) {
    int c = 0;
    int lower = 0;
    for (int k = 0; k < 255; ++k) {
        if (!keys.KeyDown(k)) continue;
        int ch = KeyCharacter(keys, k);
        lower = Lower(ch);
        if (ch != 0) {
            if (keys.ShiftFor(k) && ch >= 'a' && ch <= 'z') ch -= 32;
            c = ch;
            break;
        }
    }
    if (lower == last_) return 0;
    last_ = lower;
    return c;
}
