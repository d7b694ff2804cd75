// The joystick commands. Joystick numbers are taken as a signed byte.
#include <algorithm>

#include "core/int_convert.h"
#include "corvane.h"
#include "input/input.h"

namespace {

int StickNumber(double n) {
    return static_cast<int8_t>(ToInt(n) & 0xFF);
}

platform::JoystickDeviceState Read(double n) {
    platform::JoystickDeviceState j;
    JoystickStateRead(Input(), StickNumber(n), j);
    return j;
}

double Unit(int32_t axis) {
    return std::clamp(axis / 32767.0, -1.0, 1.0);
}

}  // namespace

double JoystickCountGet() {
    return Input().joystickCount;
}

RtString JoystickNameGet(double n) {
    InputState& s = Input();
    int i = StickNumber(n);
    if (i < 0 || i >= s.joystickCount || i >= platform::kMaxJoysticks) return RtString();
    return RtString(s.joystickNames[i]);
}

double JoystickXGet(double n) {
    return Unit(Read(n).x);
}
double JoystickYGet(double n) {
    return Unit(Read(n).y);
}
double JoystickZGet(double n) {
    return Unit(Read(n).z);
}
double JoystickRxGet(double n) {
    return Unit(Read(n).rx);
}
double JoystickRyGet(double n) {
    return Unit(Read(n).ry);
}
double JoystickRzGet(double n) {
    return Unit(Read(n).rz);
}

double JoystickPovXGet(double n) {
    uint32_t hat = Read(n).pov[0];
    return hat == 9000 ? 1.0 : hat == 27000 ? -1.0 : 0.0;
}

double JoystickPovYGet(double n) {
    uint32_t hat = Read(n).pov[0];
    return hat == 0 ? -1.0 : hat == 18000 ? 1.0 : 0.0;
}

double JoystickButtonGet(double n, double button) {
    int b = ToInt(button);
    if (b < 0 || b > 31) return 0.0;
    return Read(n).buttons[b];
}

void JoystickRead(double& x, double& y, double& button1, double& button2) {
    platform::JoystickDeviceState j = Read(0);
    x = j.x / 30000;
    y = j.y / 30000;
    button1 = j.buttons[0];
    button2 = j.buttons[1];
}

void JoystickForceSet(double n, double durationMs, double x, double y) {
    JoystickForce(Input(), StickNumber(n), durationMs, x, y);
}
