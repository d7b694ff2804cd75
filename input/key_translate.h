// The rule that turns the keyboard's state into typed characters: the first key (by key
// number) that gives a character wins, and a held key gives its character only once.
#pragma once

// What the rule asks of the keyboard.
class KeySource {
public:
    virtual ~KeySource() = default;
    virtual bool KeyDown(int keyNumber) = 0;
    // The character the key gives through the layout, as the first byte of its text; 0 none.
    virtual int LayoutCharacter(int keyNumber) = 0;
    // Was a Shift key down for this (down) key's press?
    virtual bool ShiftFor(int keyNumber) {
        (void)keyNumber;
        return KeyDown(42) || KeyDown(54);
    }
};

class KeyTranslator {
public:
    // The character of a newly pressed key: 8 Backspace, 10 Enter, else 32..127; 0 for none
    // (nothing pressed, or the same key still held).
    int Next(KeySource& keys);
    // The remembered character (lower-case folded), 0 after a scan with no character key.
    int last() const { return last_; }

private:
    int last_ = 0;
};

// The character a single down key gives under the rule, before the held-key memory.
int KeyCharacter(KeySource& keys, int keyNumber);
