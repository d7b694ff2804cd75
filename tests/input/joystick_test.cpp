// Joystick reads through devices and the system fall-back, and the force effect.
#include <gtest/gtest.h>

#include "tests/input/input_fixture.h"

namespace {

class JoystickTest : public InputFixture {};

TEST_F(JoystickTest, NumbersWithoutAJoystickReadAsAllZero) {
    dev->sticks.resize(2);
    dev->sticks[1].state.x = 1234;
    Start();
    platform::JoystickDeviceState j;
    EXPECT_TRUE(JoystickStateRead(state, 1, j));
    EXPECT_EQ(j.x, 1234);
    for (int n : {2, 9, 10, 127, -1, -128}) {
        j.x = 99;
        EXPECT_FALSE(JoystickStateRead(state, n, j)) << n;
        EXPECT_EQ(j.x, 0);
        EXPECT_EQ(j.pov[0], 0u);  // reads as "up"
        EXPECT_EQ(j.buttons[0], 0);
    }
}

TEST_F(JoystickTest, LostDeviceIsReacquiredAndRead) {
    dev->sticks.resize(1);
    dev->sticks[0].state.buttons[3] = 0x80;
    Start();
    dev->sticks[0].lost = true;
    platform::JoystickDeviceState j;
    EXPECT_TRUE(JoystickStateRead(state, 0, j));
    EXPECT_EQ(j.buttons[3], 0x80);
    EXPECT_EQ(dev->calls.back(), "reacquire 0");
}

TEST_F(JoystickTest, SystemFallbackReadsOnlyTheFirstTwo) {
    dev->devicesOk = false;
    dev->systemSticks = 3;
    dev->systemStick.x = 65535;
    dev->systemStick.pov = 9000;
    dev->systemStick.buttons = 0b1011;
    Start();
    platform::JoystickDeviceState j;
    ASSERT_TRUE(JoystickStateRead(state, 1, j));
    EXPECT_EQ(j.x, 65535);
    EXPECT_EQ(j.pov[0], 9000u);
    EXPECT_EQ(j.buttons[0], 1);
    EXPECT_EQ(j.buttons[1], 2);
    EXPECT_EQ(j.buttons[2], 0);
    EXPECT_EQ(j.buttons[3], 8);
    EXPECT_EQ(j.buttons[4], 1);
    EXPECT_EQ(j.buttons[7], 1);
    EXPECT_EQ(j.buttons[8], 0);
    EXPECT_FALSE(JoystickStateRead(state, 2, j));
    EXPECT_EQ(j.x, 0);
}

TEST_F(JoystickTest, ForceIsClampedAndScaled) {
    dev->sticks.resize(2);
    dev->sticks[0].force = true;
    Start();
    JoystickForce(state, 0, 250, 2.0, -0.5);
    EXPECT_EQ(dev->calls.back(), "force 0");
    EXPECT_EQ(dev->lastForceX, 32767);
    EXPECT_EQ(dev->lastForceY, -16383);
    EXPECT_EQ(dev->lastForceMagnitude, 6250);  // (1 + 0.25) * 5000
    EXPECT_EQ(dev->lastForceMs, 250u);
    JoystickForce(state, 0, -10, std::nan(""), 0);
    EXPECT_EQ(dev->lastForceX, 0);
    EXPECT_EQ(dev->lastForceMs, 0u);
    size_t calls = dev->calls.size();
    JoystickForce(state, 1, 100, 1, 1);  // no force feedback
    JoystickForce(state, 5, 100, 1, 1);  // no joystick
    EXPECT_EQ(dev->calls.size(), calls);
}

}  // namespace
