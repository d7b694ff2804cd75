// The key-number table against the OS's physical keys, and the layout character rule.
#include <gtest/gtest.h>

#include <set>

#include "platform/input_devices.h"

namespace {

TEST(InputKeyNumbers, EveryNamedKeyIsItsPhysicalKey) {
    const std::pair<int, const char*> named[] = {
        {1, "Escape"},
        {2, "1"},
        {10, "9"},
        {11, "0"},
        {14, "Backspace"},
        {15, "Tab"},
        {16, "Q"},
        {21, "Y"},
        {28, "Return"},
        {29, "Left Ctrl"},
        {30, "A"},
        {42, "Left Shift"},
        {44, "Z"},
        {54, "Right Shift"},
        {56, "Left Alt"},
        {57, "Space"},
        {58, "CapsLock"},
        {59, "F1"},
        {62, "F4"},
        {68, "F10"},
        {69, "Numlock"},
        {87, "F11"},
        {88, "F12"},
        {156, "Keypad Enter"},
        {157, "Right Ctrl"},
        {184, "Right Alt"},
        {199, "Home"},
        {200, "Up"},
        {201, "PageUp"},
        {203, "Left"},
        {205, "Right"},
        {207, "End"},
        {208, "Down"},
        {209, "PageDown"},
        {210, "Insert"},
        {211, "Delete"},
        {221, "Application"},
    };
    for (const auto& [key, name] : named) EXPECT_EQ(platform::KeyNumberName(key), name) << key;
}

TEST(InputKeyNumbers, TableIsOneToOneAndRoundTrips) {
    std::set<int> usages;
    for (int k = 0; k < 256; ++k) {
        int u = platform::KeyNumberToUsage(k);
        if (u == 0) continue;
        EXPECT_TRUE(usages.insert(u).second) << "usage " << u << " twice";
        EXPECT_EQ(platform::UsageToKeyNumber(u), k);
    }
    EXPECT_GE(usages.size(), 100u);
    EXPECT_EQ(platform::KeyNumberToUsage(0), 0);
    EXPECT_EQ(platform::KeyNumberToUsage(-1), 0);
    EXPECT_EQ(platform::KeyNumberToUsage(256), 0);
    EXPECT_EQ(platform::KeyNumberName(84), "");
}

TEST(InputLayoutCharacter, LettersDigitsAndModifiers) {
    using platform::KeyModifiers;
    using platform::LayoutKeyToCharacter;
    KeyModifiers none, shift, caps, ctrl, altGr;
    shift.shift = true;
    caps.capsLock = true;
    ctrl.ctrl = true;
    altGr.ctrl = altGr.alt = true;
    EXPECT_EQ(LayoutKeyToCharacter('a', none), 'a');
    EXPECT_EQ(LayoutKeyToCharacter('a', shift), 'A');
    EXPECT_EQ(LayoutKeyToCharacter('a', caps), 'A');
    KeyModifiers shiftCaps = shift;
    shiftCaps.capsLock = true;
    EXPECT_EQ(LayoutKeyToCharacter('a', shiftCaps), 'a');
    EXPECT_EQ(LayoutKeyToCharacter('a', ctrl), 1);  // a control code
    EXPECT_EQ(LayoutKeyToCharacter('a', altGr), 0);
    EXPECT_EQ(LayoutKeyToCharacter('1', shift), '!');
    EXPECT_EQ(LayoutKeyToCharacter('1', caps), '1');
    EXPECT_EQ(LayoutKeyToCharacter(' ', none), ' ');
    EXPECT_EQ(LayoutKeyToCharacter(0xE4, none), 0xE4);  // a Latin-1 letter stays one byte
    EXPECT_EQ(LayoutKeyToCharacter(0xE4, shift), 0xC4);
    EXPECT_EQ(LayoutKeyToCharacter(0x20AC, none), 0);  // no single byte
    EXPECT_EQ(LayoutKeyToCharacter(127, none), 0);     // Delete types nothing
    EXPECT_EQ(LayoutKeyToCharacter(8, none), 8);
}

TEST(InputLayoutCharacter, NumberPadNeedsNumLock) {
    using platform::LayoutKeyToCharacter;
    platform::KeyModifiers num;
    num.numLock = true;
    const int32_t kp7 = (1 << 30) | 0x5F;  // the keypad 7's symbol
    const int32_t kpPlus = (1 << 30) | 0x57;
    const int32_t up = (1 << 30) | 0x52;
    EXPECT_EQ(LayoutKeyToCharacter(kp7, num), '7');
    EXPECT_EQ(LayoutKeyToCharacter(kp7, {}), 0);
    EXPECT_EQ(LayoutKeyToCharacter(kpPlus, {}), '+');
    EXPECT_EQ(LayoutKeyToCharacter(up, num), 0);
}

}  // namespace
