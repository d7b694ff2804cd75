// Joystick reads and the constant-force effect.
#include <algorithm>
#include <cmath>

#include "input/input.h"

namespace {

double ClampUnit(double v) {
    return std::isnan(v) ? 0.0 : std::clamp(v, -1.0, 1.0);
}

}  // namespace

bool JoystickStateRead(InputState& s, int n, platform::JoystickDeviceState& out) {
    out = platform::JoystickDeviceState{};
    // A number without a joystick behind it reads as the all-zero state.
    if (n < 0 || n >= s.joystickCount || n >= platform::kMaxJoysticks) return false;
    platform::InputSystem& os = Os();
    if (platform::JoystickDevice* dev = s.joystickDevices[n]) {
        if (!os.JoystickPoll(dev)) {
            os.JoystickReacquire(dev);
            os.JoystickPoll(dev);
        }
        os.JoystickRead(dev, out);
        return true;
    }
    if (n > 1) return false;
    platform::SystemJoystickState j;
    if (!os.SystemJoystickRead(n, j)) return false;
    out.x = static_cast<int32_t>(j.x);
    out.y = static_cast<int32_t>(j.y);
    out.z = static_cast<int32_t>(j.z);
    out.pov[0] = j.pov;
    out.buttons[0] = j.buttons & 1;
    out.buttons[1] = j.buttons & 2;
    out.buttons[2] = j.buttons & 4;
    out.buttons[3] = j.buttons & 8;
    for (int b = 4; b < 8; ++b) out.buttons[b] = j.buttons & 1;
    return true;
}

void JoystickForce(InputState& s, int n, double durationMs, double x, double y) {
    if (n < 0 || n >= s.joystickCount || n >= platform::kMaxJoysticks) return;
    platform::JoystickDevice* dev = s.joystickDevices[n];
    platform::InputSystem& os = Os();
    if (!dev || !os.JoystickHasForce(dev)) return;
    x = ClampUnit(x);
    y = ClampUnit(y);
    auto dirX = static_cast<int32_t>(x * 32767);
    auto dirY = static_cast<int32_t>(y * 32767);
    auto magnitude = static_cast<int32_t>((x * x + y * y) * 10000 * 0.5);
    double ms = std::isnan(durationMs) ? 0.0 : std::clamp(durationMs, 0.0, 4294967.0);
    os.JoystickForce(dev, dirX, dirY, magnitude, static_cast<uint32_t>(ms));
}
