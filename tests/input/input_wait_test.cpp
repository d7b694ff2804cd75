// The waits, the line editor and the frame step's keyboard poll, over the fake devices, host and
// frame calls.
#include <gtest/gtest.h>

#include <functional>

#include "tests/input/input_fixture.h"

namespace {

class InputWaitTest : public InputFixture {
protected:
    void SetUp() override {
        InputFixture::SetUp();
        dev->UsLetters();
        Start();
    }
};

TEST_F(InputWaitTest, AnyChangeWaitGivesUpAfterFifteenQuietPasses) {
    InputWaitAnyChange(state);
    EXPECT_EQ(dev->sleeps, 15);
    EXPECT_EQ(events->pumps, 15);
    EXPECT_EQ(frame.musicChecks, 15);
    EXPECT_EQ(state.mouseRefresh, 0);  // the last pass's read took the refresh
}

TEST_F(InputWaitTest, AnyChangeWaitReturnsAtAKeyOrAMouseMove) {
    dev->keys[57] = true;
    InputWaitAnyChange(state);
    EXPECT_EQ(dev->sleeps, 0);
    dev->keys[57] = false;

    dev->motion.dx = 1;  // taken by the first read, so no change is seen
    InputWaitAnyChange(state);
    EXPECT_EQ(dev->sleeps, 15);

    // A move while it waits ends it: after the wait's first read, the third pass's read.
    dev->sleeps = 0;
    const int readsBefore = dev->mouseReads;
    dev->onMouseRead = [&](int read) {
        if (read == readsBefore + 4) dev->motion.dx = 3;
    };
    InputWaitAnyChange(state);
    EXPECT_EQ(dev->sleeps, 2);
}

// One joystick at rest; each case changes one thing on it at the third pass of the wait.
TEST_F(InputWaitTest, AnyChangeWaitSeesJoystickButtonsAxesAndStraightHats) {
    struct Case {
        const char* what;
        std::function<void(platform::JoystickDeviceState&)> change;
        bool ends;
    };
    const Case cases[] = {
        {"button 31", [](auto& j) { j.buttons[31] = 0x80; }, true},
        {"x past a tenth", [](auto& j) { j.x = 3277; }, true},
        {"y past a tenth, negative", [](auto& j) { j.y = -4000; }, true},
        {"z past a tenth", [](auto& j) { j.z = 32767; }, true},
        {"x at a tenth", [](auto& j) { j.x = 3276; }, false},
        {"hat up", [](auto& j) { j.pov[0] = 0; }, true},
        {"hat right", [](auto& j) { j.pov[0] = 9000; }, true},
        {"hat down", [](auto& j) { j.pov[0] = 18000; }, true},
        {"hat left", [](auto& j) { j.pov[0] = 27000; }, true},
        {"hat diagonal", [](auto& j) { j.pov[0] = 4500; }, false},
        {"second hat", [](auto& j) { j.pov[1] = 9000; }, false},
    };
    for (const Case& c : cases) {
        InputShutdown(state);
        state = InputState{};
        dev->sticks.assign(1, {});
        for (uint32_t& hat : dev->sticks[0].state.pov) hat = 0xFFFFFFFFu;
        Start();
        dev->sleeps = 0;
        const int pumpsBefore = events->pumps;
        events->onPump = [&](int pump) {
            if (pump == pumpsBefore + 3) c.change(dev->sticks[0].state);
        };
        InputWaitAnyChange(state);
        EXPECT_EQ(dev->sleeps, c.ends ? 2 : 15) << c.what;
    }
}

TEST_F(InputWaitTest, EscapeEndsTheProgramInsideTheWaitUnlessSwitchedOff) {
    dev->keys[1] = true;
    EXPECT_THROW(InputWaitAnyChange(state), fake::ProgramEnded);
    runtimeState.escapeQuits = false;
    EXPECT_NO_THROW(InputWaitAnyChange(state));
}

TEST_F(InputWaitTest, KeyWaitReturnsAfterACharacterKeyAndConsumesIt) {
    dev->keys[30] = true;  // held from before the wait: not the key it waits for
    events->onPump = [&](int pump) {
        if (pump == 1) dev->keys[30] = false;
        if (pump == 5) dev->keys[42] = true;  // a modifier alone does not end the wait
        if (pump == 20) dev->keys[48] = true;
    };
    KeyWaitCharacter(state);
    EXPECT_GE(events->pumps, 20);
    EXPECT_EQ(KeyTranslate(state), 0);  // consumed: the held b gives nothing more
    dev->keys[48] = false;
    KeyTranslate(state);
    dev->keys[48] = true;
    EXPECT_EQ(KeyTranslate(state), 'B');  // Shift still held
}

TEST_F(InputWaitTest, TextInputTypesBackspacesBlinksAndReturnsOnEnter) {
    std::string text;
    // Frame by frame: which keys are down after that present.
    frame.onPresent = [&](int frame) {
        dev->keys.fill(false);
        switch (frame) {
            case 1:
                dev->keys[14] = true;
                break;  // Backspace on the empty text
            case 3:
                dev->keys[30] = true;
                break;  // a
            case 4:
                dev->keys[30] = true;
                break;  // still held
            case 5:
                dev->keys[42] = dev->keys[48] = true;
                break;  // B
            case 7:
                dev->keys[14] = true;
                break;  // Backspace
            case 9:
                dev->keys[57] = true;
                break;  // space
            case 60:
                dev->keys[28] = true;
                break;  // Enter
            default:
                break;
        }
    };
    TextInputEdit(state, text, 10, 20);
    EXPECT_EQ(text, "a ");
    EXPECT_EQ(frame.presents, 60);
    EXPECT_EQ(frame.backdropSaves, 1);
    EXPECT_EQ(frame.backdropClears, 1);
    ASSERT_EQ(host.printed.size(), 60u);  // the first print plus one per pass but the last
    EXPECT_EQ(host.printed[0], "");
    EXPECT_EQ(host.printed[3], "a");
    EXPECT_EQ(host.printed[5], "aB");
    EXPECT_EQ(host.printed[7], "a");
    // Quiet passes: 2, 4, 6, 8, then 10 onwards; the 21st of them toggles the cursor on
    // (pass 26), the 21st after that toggles it off (pass 47).
    EXPECT_EQ(host.printed[25], "a ");
    EXPECT_EQ(host.printed[26], "a _");
    EXPECT_EQ(host.printed[46], "a _");
    EXPECT_EQ(host.printed[47], "a ");
}

TEST_F(InputWaitTest, MouseWaitWaitsForPressAndRelease) {
    // Reads 1-3: held from before; 4-9: up; 10-12: pressed; from 13: released.
    dev->onMouseRead = [&](int read) {
        dev->motion.buttons[0] =
            ((read >= 1 && read <= 3) || (read >= 10 && read <= 12)) ? 0x80 : 0;
    };
    MouseWaitClick(state);
    EXPECT_EQ(dev->mouseReads, 13);
    EXPECT_GT(events->pumps, 0);
}

}  // namespace
