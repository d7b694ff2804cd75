// Start input, the fall-backs and shutdown, over fake devices.
#include <gtest/gtest.h>

#include "runtime/error_log.h"
#include "support/test_support.h"
#include "tests/input/input_fixture.h"

namespace {

class InputStartTest : public InputFixture {
protected:
    void SetUp() override {
        InputFixture::SetUp();
        ErrorLogReset();
    }
    std::string Log() { return testsupport::ReadFile(ErrorLogPath()); }
};

TEST_F(InputStartTest, InitialRecord) {
    EXPECT_EQ(state.mouseX, 100);
    EXPECT_EQ(state.mouseY, 100);
    EXPECT_EQ(state.mouseRefresh, 1);
    EXPECT_EQ(state.joystickCount, 0);
    EXPECT_EQ(state.pointerShown, 0);
    EXPECT_EQ(state.keyboardDevice, nullptr);
}

TEST_F(InputStartTest, WithDevicesNothingIsLoggedAndTheKeyTableIsTheIdentity) {
    dev->sticks.resize(2);
    Start();
    EXPECT_EQ(Log(), "");
    EXPECT_NE(state.directInput, nullptr);
    EXPECT_EQ(state.keyboardDevice, fake::kKeyboard);
    EXPECT_EQ(state.mouseDevice, fake::kMouse);
    EXPECT_EQ(state.mouseCooperativeLevel, 5);
    EXPECT_TRUE(dev->exclusive);
    for (int k = 0; k < 256; ++k) ASSERT_EQ(state.keyToVirtualKey[k], k);
    // The cursor in client coordinates becomes the runtime's position.
    EXPECT_EQ(state.mouseX, 200);
    EXPECT_EQ(state.mouseY, 200);
    EXPECT_EQ(state.joystickCount, 2);
    EXPECT_STREQ(state.joystickNames[1], "Stick 1, Pad");
}

TEST_F(InputStartTest, NoDeviceLayerFallsBackToTheSystemWithTheGermanTable) {
    dev->devicesOk = false;
    dev->systemSticks = 12;
    Start();
    EXPECT_EQ(Log(), "No DX_Input\r\n");
    EXPECT_EQ(state.directInput, nullptr);
    EXPECT_EQ(state.keyboardDevice, nullptr);
    EXPECT_EQ(state.mouseDevice, nullptr);
    EXPECT_EQ(state.keyToVirtualKey[0], 13);
    EXPECT_EQ(state.keyToVirtualKey[1], 27);
    EXPECT_EQ(state.keyToVirtualKey[21], 'Z');
    EXPECT_EQ(state.keyToVirtualKey[44], 'Y');
    EXPECT_EQ(state.keyToVirtualKey[156], 28);
    EXPECT_EQ(state.keyToVirtualKey[58], 0);
    EXPECT_EQ(state.keyToVirtualKey[84], 255);
    EXPECT_EQ(state.keyToVirtualKey[255], 255);
    // The system may count more joysticks than there are names for.
    EXPECT_EQ(state.joystickCount, 12);
    EXPECT_STREQ(state.joystickNames[9], "Legacy 9");

    // Keys go through the virtual-key table: key 21 is the Z key.
    dev->virtualKeys['Z'] = true;
    EXPECT_TRUE(KeyDown(state, 21));
    EXPECT_FALSE(KeyDown(state, 44));
    EXPECT_FALSE(KeyDown(state, 84));  // no virtual key
}

TEST_F(InputStartTest, KeyboardAndMouseThatCannotBeAcquiredAreLoggedAndKept) {
    dev->keyboardAcquireOk = false;
    dev->mouseAcquireOk = false;
    Start();
    EXPECT_EQ(Log(), "No DX_KB\r\nNo DX_Mouse\r\n");
    EXPECT_EQ(state.keyboardDevice, fake::kKeyboard);
    EXPECT_EQ(state.mouseDevice, fake::kMouse);
}

TEST_F(InputStartTest, NoKeyboardDeviceMeansTheFallbackTable) {
    dev->keyboardOk = false;
    Start();
    EXPECT_EQ(Log(), "");
    EXPECT_EQ(state.keyToVirtualKey[21], 'Z');
}

TEST_F(InputStartTest, SharedMouseShowsThePointerAtTheRuntimePosition) {
    dev->cursorX = 150;  // client (50, 30)
    dev->cursorY = 80;
    Start(false);
    EXPECT_EQ(state.mouseDevice, nullptr);
    EXPECT_EQ(state.pointerShown, 1);
    EXPECT_TRUE(dev->pointerVisible);
    EXPECT_EQ(dev->cursorX, 150);
    EXPECT_EQ(dev->cursorY, 80);
}

TEST_F(InputStartTest, AtMostTenJoysticksAreTaken) {
    dev->sticks.resize(13);
    Start();
    EXPECT_EQ(state.joystickCount, 10);
}

TEST_F(InputStartTest, ShutdownShowsThePointerAndReleasesMouseKeyboardJoysticksThenTheLayer) {
    dev->sticks.resize(2);
    Start();
    InputShutdown(state);
    EXPECT_TRUE(dev->pointerVisible);
    EXPECT_EQ(state.pointerShown, 1);
    std::vector<std::string> expected = {"mouse", "keyboard", "joystick 0", "joystick 1", "stop"};
    EXPECT_EQ(dev->calls, expected);
    EXPECT_EQ(state.mouseDevice, nullptr);
    EXPECT_EQ(state.directInput, nullptr);
    // A second shutdown finds nothing to release.
    InputShutdown(state);
    EXPECT_EQ(dev->calls, expected);
}

}  // namespace
