// Mouse reads: the once-per-frame refresh, clamping, the parked pointer and the pointer switch.
#include <gtest/gtest.h>

#include "tests/input/input_fixture.h"

namespace {

class MouseTest : public InputFixture {};

TEST_F(MouseTest, ReadsWithinOneFrameShareTheMovementOfTheRefresh) {
    Start();
    dev->motion.dx = 7;
    dev->motion.dy = -3;
    dev->motion.dz = 240;
    MouseReading a, b;
    ASSERT_TRUE(MouseRead(state, a));
    EXPECT_EQ(a.dx, 7);
    EXPECT_EQ(a.dy, -3);
    EXPECT_EQ(a.wheel, 1);
    dev->motion.dx = 50;  // movement within the frame waits for the next refresh
    ASSERT_TRUE(MouseRead(state, b));
    EXPECT_EQ(b.dx, 7);
    EXPECT_EQ(b.dy, -3);
    EXPECT_EQ(b.wheel, 1);
    EXPECT_EQ(state.mouseX, 207);
    EXPECT_EQ(state.mouseY, 197);

    state.mouseRefresh = 1;  // the next present
    dev->motion.dz = -5;
    ASSERT_TRUE(MouseRead(state, a));
    EXPECT_EQ(a.dx, 50);
    EXPECT_EQ(a.wheel, -1);
    EXPECT_EQ(state.mouseX, 257);
}

TEST_F(MouseTest, ClampKeepsThePositionInsideTheWindowAndRemembersIt) {
    Start();
    state.mouseX = 5000;
    state.mouseY = -40;
    MouseReading m;
    MouseReadClamped(state, m);
    EXPECT_EQ(state.mouseX, 639);
    EXPECT_EQ(state.mouseY, 0);
    state.mouseRefresh = 1;
    dev->motion.dx = 3;
    dev->motion.dy = 2;
    MouseReadClamped(state, m);
    EXPECT_EQ(state.mouseX, 639);  // 642 clamped again
    EXPECT_EQ(state.mouseY, 2);
    runtimeState.screenWidth = 0;  // no window: the lower bound wins
    MouseReadClamped(state, m);
    EXPECT_EQ(state.mouseX, 0);
}

TEST_F(MouseTest, DeviceButtons) {
    Start();
    dev->motion.buttons[0] = 0x80;
    dev->motion.buttons[2] = 0x80;
    MouseReading m;
    MouseRead(state, m);
    EXPECT_EQ(m.button1, 1);
    EXPECT_EQ(m.button2, 0);
    EXPECT_EQ(m.button3, 1);
}

TEST_F(MouseTest, FailedReadIsRetriedAfterAcquiring) {
    Start();
    dev->mouseReadFailures = 1;
    dev->motion.dx = 4;
    MouseReading m;
    EXPECT_TRUE(MouseRead(state, m));
    EXPECT_EQ(m.dx, 4);
    // Read and acquire both failing: a failure with an all-zero state, refresh still due.
    state.mouseRefresh = 1;
    dev->mouseReadFailures = 1;
    dev->mouseAcquireOk = false;
    dev->motion.dx = 9;
    dev->motion.buttons[0] = 0x80;
    EXPECT_FALSE(MouseRead(state, m));
    EXPECT_EQ(m.dx, 0);
    EXPECT_EQ(m.button1, 0);
    EXPECT_EQ(state.mouseRefresh, 1);
    // Two failed reads with a working acquire: success without new values.
    dev->mouseAcquireOk = true;
    dev->mouseReadFailures = 2;
    EXPECT_TRUE(MouseRead(state, m));
    EXPECT_EQ(m.dx, 0);
    EXPECT_EQ(state.mouseRefresh, 1);
}

TEST_F(MouseTest, HiddenPointerWithoutDeviceStaysParkedWhileThePositionMoves) {
    dev->devicesOk = false;
    Start();
    ASSERT_EQ(state.mouseDevice, nullptr);
    ASSERT_EQ(state.pointerShown, 0);
    int x0 = state.mouseX, y0 = state.mouseY;
    dev->cursorX = 230;  // moved from the park position
    dev->cursorY = 190;
    MouseReading m;
    MouseRead(state, m);
    EXPECT_EQ(m.dx, 30);
    EXPECT_EQ(m.dy, -10);
    EXPECT_EQ(m.wheel, 0);
    EXPECT_EQ(dev->cursorX, 200);
    EXPECT_EQ(dev->cursorY, 200);
    EXPECT_EQ(state.mouseX, x0 + 30);
    EXPECT_EQ(state.mouseY, y0 - 10);
    dev->systemButtons[1] = true;
    MouseRead(state, m);
    EXPECT_EQ(m.button2, 1);
    EXPECT_EQ(m.dx, 30);  // same frame
}

TEST_F(MouseTest, ShownPointerGivesItsClientPositionAndTheDifference) {
    Start();
    PointerShowSet(state, true);
    EXPECT_FALSE(dev->exclusive);
    EXPECT_EQ(state.mouseCooperativeLevel, 6);
    dev->cursorX = 110;  // client (10, 5)
    dev->cursorY = 55;
    MouseReading m;
    MouseRead(state, m);
    EXPECT_EQ(m.dx, 10 - 200);
    EXPECT_EQ(m.dy, 5 - 200);
    EXPECT_EQ(state.mouseX, 10);
    EXPECT_EQ(state.mouseY, 5);
}

TEST_F(MouseTest, PointerShowMovesThePointerOnlyWhenItWasHidden) {
    Start();
    state.mouseX = 20;
    state.mouseY = 30;
    PointerShowSet(state, true);
    EXPECT_TRUE(dev->pointerVisible);
    EXPECT_EQ(dev->cursorX, 120);
    EXPECT_EQ(dev->cursorY, 80);
    dev->cursorX = 400;
    PointerShowSet(state, true);
    EXPECT_EQ(dev->cursorX, 400);
    PointerShowSet(state, false);
    EXPECT_FALSE(dev->pointerVisible);
    EXPECT_TRUE(dev->exclusive);
    EXPECT_EQ(state.mouseCooperativeLevel, 5);
    EXPECT_EQ(state.pointerShown, 0);
}

}  // namespace
