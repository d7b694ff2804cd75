// The SDL device layer over a virtual joystick: no hardware needed.
#include <gtest/gtest.h>

#include "platform/input_devices.h"

namespace {

TEST(InputJoystickDevice, AxesHatsAndButtonsOfAVirtualJoystick) {
    int index = platform::VirtualJoystickAttach();
    ASSERT_GE(index, 0);
    auto sys = platform::CreateInputSystem(nullptr);
    ASSERT_TRUE(sys->DevicesStart());
    ASSERT_GE(sys->JoystickAttachedCount(), index + 1);
    std::string name;
    platform::JoystickDevice* dev = sys->JoystickOpen(index, name);
    ASSERT_NE(dev, nullptr);
    EXPECT_NE(name.find(", "), std::string::npos);

    platform::VirtualJoystickSet(index, 0, 32767);
    platform::VirtualJoystickSet(index, 1, -32768);
    platform::VirtualJoystickSet(index, 5, 1000);
    platform::VirtualJoystickSetButton(index, 0, true);
    platform::VirtualJoystickSetButton(index, 31, true);
    platform::VirtualJoystickSetHat(index, 0x02);  // right
    ASSERT_TRUE(sys->JoystickPoll(dev));
    platform::JoystickDeviceState s;
    sys->JoystickRead(dev, s);
    EXPECT_EQ(s.x, 32767);
    EXPECT_EQ(s.y, -32768);
    EXPECT_EQ(s.rz, 1000);
    EXPECT_EQ(s.buttons[0], 0x80);
    EXPECT_EQ(s.buttons[1], 0);
    EXPECT_EQ(s.buttons[31], 0x80);
    EXPECT_EQ(s.pov[0], 9000u);
    EXPECT_EQ(s.pov[1], 0xFFFFFFFFu);  // the joystick has one hat

    const std::pair<uint8_t, uint32_t> hats[] = {
        {0x00, 0xFFFFFFFFu}, {0x01, 0u},     {0x03, 4500u},  {0x04, 18000u},
        {0x0C, 22500u},      {0x08, 27000u}, {0x09, 31500u}, {0x06, 13500u},
    };
    for (const auto& [hat, hundredths] : hats) {
        platform::VirtualJoystickSetHat(index, hat);
        sys->JoystickPoll(dev);
        sys->JoystickRead(dev, s);
        EXPECT_EQ(s.pov[0], hundredths) << int(hat);
    }
    EXPECT_FALSE(sys->JoystickHasForce(dev));  // a virtual joystick has no haptics
    sys->JoystickForce(dev, 1, 1, 100, 10);    // and asking for one is harmless

    sys->JoystickRelease(dev);
    platform::VirtualJoystickDetach(index);
    sys->DevicesStop();
}

}  // namespace
