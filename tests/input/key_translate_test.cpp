// The typed-character rule over a fake keyboard.
#include "input/key_translate.h"

#include <gtest/gtest.h>

#include <set>

namespace {

class Keys final : public KeySource {
public:
    std::set<int> down;
    int layout[256] = {};
    bool KeyDown(int k) override { return down.count(k) != 0; }
    int LayoutCharacter(int k) override { return layout[k]; }
};

class KeyTranslateTest : public ::testing::Test {
protected:
    void SetUp() override {
        keys.layout[30] = 'a';
        keys.layout[48] = 'b';
        keys.layout[2] = '1';
        keys.layout[57] = ' ';
    }
    Keys keys;
    KeyTranslator t;
};

TEST_F(KeyTranslateTest, HeldKeyGivesItsCharacterOnceUntilReleased) {
    keys.down = {30};
    EXPECT_EQ(t.Next(keys), 'a');
    EXPECT_EQ(t.Next(keys), 0);
    EXPECT_EQ(t.Next(keys), 0);
    keys.down = {};
    EXPECT_EQ(t.Next(keys), 0);
    EXPECT_EQ(t.last(), 0);
    keys.down = {30};
    EXPECT_EQ(t.Next(keys), 'a');
}

TEST_F(KeyTranslateTest, ShiftUpperCasesLettersButDoesNotCountAsANewKey) {
    keys.down = {42, 30};
    EXPECT_EQ(t.Next(keys), 'A');
    keys.down = {};
    t.Next(keys);
    keys.down = {54, 30};  // right Shift too
    EXPECT_EQ(t.Next(keys), 'A');
    keys.down = {};
    t.Next(keys);
    // a, then Shift joins while a is still held: one character only.
    keys.down = {30};
    EXPECT_EQ(t.Next(keys), 'a');
    keys.down = {30, 42};
    EXPECT_EQ(t.Next(keys), 0);
}

TEST_F(KeyTranslateTest, ShiftDoesNotChangeNonLetters) {
    keys.down = {42, 2};
    EXPECT_EQ(t.Next(keys), '1');
}

TEST_F(KeyTranslateTest, LowerKeyNumberWinsAndSwitchingKeysGivesTheNewOne) {
    keys.down = {48, 30};
    EXPECT_EQ(t.Next(keys), 'a');  // 30 comes before 48
    keys.down = {48};
    EXPECT_EQ(t.Next(keys), 'b');  // a different character is new
}

TEST_F(KeyTranslateTest, ModifiersAloneGiveNothingEvenWithALayoutCharacter) {
    for (int k : {29, 42, 54, 56, 58, 69, 221}) {
        keys.layout[k] = 'x';  // whatever the layout says, these never type
        keys.down = {k};
        EXPECT_EQ(t.Next(keys), 0) << "key " << k;
    }
    // A modifier held below a character key does not hide it.
    keys.down = {29, 30};
    EXPECT_EQ(t.Next(keys), 'a');
}

TEST_F(KeyTranslateTest, BackspaceAndBothEntersHaveFixedCodes) {
    keys.layout[14] = 127;
    keys.layout[28] = 13;
    keys.down = {14};
    EXPECT_EQ(t.Next(keys), 8);
    keys.down = {28};
    EXPECT_EQ(t.Next(keys), 10);
    keys.down = {};
    t.Next(keys);
    keys.down = {156};
    EXPECT_EQ(t.Next(keys), 10);
}

TEST_F(KeyTranslateTest, ControlCodesAndHighBytesGiveNothing) {
    keys.layout[40] = 0xE4;  // a Latin-1 letter
    keys.layout[15] = 9;     // Tab
    keys.layout[1] = 27;     // Escape
    keys.layout[41] = 127;
    for (int k : {40, 15, 1}) {
        keys.down = {k};
        EXPECT_EQ(t.Next(keys), 0) << "key " << k;
    }
    keys.down = {41};
    EXPECT_EQ(t.Next(keys), 127);  // the top of the printable range is kept
    // A key that gives nothing does not block a later one that does.
    keys.down = {};
    t.Next(keys);
    keys.down = {15, 30};
    EXPECT_EQ(t.Next(keys), 'a');
}

TEST_F(KeyTranslateTest, KeyNumber255IsNeverScanned) {
    keys.layout[255] = 'z';
    keys.down = {255};
    EXPECT_EQ(t.Next(keys), 0);
}

}  // namespace
