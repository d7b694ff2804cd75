// CORVANE_VIRTUAL_JOYSTICK's text: what each field sets, and pieces that cannot be read left
// out and named without losing the fields that can.
#include "platform/virtual_joystick_spec.h"

#include <gtest/gtest.h>

namespace {

using platform::VirtualJoystickSpec;

struct SpecCase {
    const char* text;
    bool ok;
    std::vector<int16_t> axes;
    std::vector<int> buttons;
    uint8_t hat;
    const char* error;  // a piece the error text must name
};

TEST(VirtualJoystickSpec, FieldsParseAndBadPiecesAreNamed) {
    const SpecCase cases[] = {
        {"", true, {}, {}, 0, ""},
        {"axes=0.5,-1;buttons=0,31;hat=up-left", true, {16384, -32768}, {0, 31}, 9, ""},
        {"axes=1,0,-0.25", true, {32767, 0, -8192}, {}, 0, ""},
        {"hat=right", true, {}, {}, 2, ""},
        {"hat=centred", true, {}, {}, 0, ""},
        {"hat=down-right", true, {}, {}, 6, ""},
        // Out of range, not a number, too many axes, no such field or direction.
        {"axes=1.5,0.2", false, {6553}, {}, 0, "axis 1.5"},
        {"axes=x", false, {}, {}, 0, "axis x"},
        {"axes=0,0,0,0,0,0,0.5", false, {0, 0, 0, 0, 0, 0}, {}, 0, "axis 0.5"},
        {"buttons=32,2,1.5", false, {}, {2}, 0, "button 32"},
        {"buttons=-1", false, {}, {}, 0, "button -1"},
        {"hat=sideways;buttons=3", false, {}, {3}, 0, "hat sideways"},
        {"hat=up-down", false, {}, {}, 0, "hat up-down"},
        {"speed=3;axes=0.5", false, {16384}, {}, 0, "speed=3"},
    };
    for (const SpecCase& c : cases) {
        VirtualJoystickSpec spec;
        std::string error;
        EXPECT_EQ(platform::VirtualJoystickSpecParse(c.text, spec, error), c.ok) << c.text;
        EXPECT_EQ(spec.axes, c.axes) << c.text;
        EXPECT_EQ(spec.buttons, c.buttons) << c.text;
        EXPECT_EQ(spec.hat, c.hat) << c.text;
        EXPECT_NE(error.find(c.error), std::string::npos) << c.text << ": " << error;
        EXPECT_EQ(error.empty(), c.ok) << c.text << ": " << error;
    }
}

}  // namespace
