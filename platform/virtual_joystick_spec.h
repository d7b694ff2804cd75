// The start-up virtual joystick: with CORVANE_VIRTUAL_JOYSTICK set, the input system attaches
// an SDL virtual joystick (6 axes, 32 buttons, 1 hat) before it counts joysticks, so a
// program sees a joystick on a machine without one (under Xvfb, in tests, in a demo). The
// value sets its fixed state, fields separated by ';':
//   axes=0.5,-1       axis values -1..1 from axis 0 on (x, y, z, rx, ry, rz); the rest 0
//   buttons=0,3       the buttons held down (0..31)
//   hat=right         centred, up, down, left, right, or two joined by '-' ("up-left")
// e.g. CORVANE_VIRTUAL_JOYSTICK="axes=0.5,-1;buttons=1;hat=up". An empty value attaches one
// at rest. A field it cannot read is left out and named in the error text.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace platform {

struct VirtualJoystickSpec {
    std::vector<int16_t> axes;  // -32768..32767, from axis 0 on
    std::vector<int> buttons;   // held down
    uint8_t hat = 0;            // SDL's hat bits: 1 up, 2 right, 4 down, 8 left
};

// False, with the pieces it could not read in error, when a field was left out.
bool VirtualJoystickSpecParse(const std::string& text, VirtualJoystickSpec& out,
                              std::string& error);

// Attaches the joystick the environment asks for, once per process; false when none is
// asked for or SDL refuses one. Call with SDL's joystick subsystem started.
bool VirtualJoystickFromEnvironment();

}  // namespace platform
