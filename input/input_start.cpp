// Start and shutdown of the input devices.
#include <algorithm>
#include <cstring>
#include <string>

#include "input/fallback_keys.h"
#include "input/input.h"
#include "runtime/error_log.h"

namespace {

void NameCopy(char (&dst)[522], const std::string& name) {
    size_t n = std::min(name.size(), sizeof dst - 1);
    std::memcpy(dst, name.data(), n);
    dst[n] = '\0';
}

void CursorToRecord(InputState& s, platform::InputSystem& os) {
    int cx, cy, ox, oy;
    os.CursorScreen(cx, cy);
    os.ClientOrigin(ox, oy);
    s.mouseX = cx - ox;
    s.mouseY = cy - oy;
}

void CursorFromRecord(InputState& s, platform::InputSystem& os) {
    int ox, oy;
    os.ClientOrigin(ox, oy);
    os.CursorMoveScreen(s.mouseX + ox, s.mouseY + oy);
}

}  // namespace

void InputStart(InputState& s, void* window, bool exclusive) {
    platform::InputSystem& os = Os();
    bool devices = os.DevicesStart();
    s.directInput = devices ? &os : nullptr;
    if (!devices) ErrorLogAppend("No DX_Input");

    s.window = window;
    CursorToRecord(s, os);

    if (!devices) {
        s.joystickCount = os.SystemJoystickCount();
        s.joystickDevices[0] = s.joystickDevices[1] = nullptr;
        // The system may know more joysticks than the record has names for.
        int named = std::min(s.joystickCount, platform::kMaxJoysticks);
        for (int i = 0; i < named; ++i) NameCopy(s.joystickNames[i], os.SystemJoystickName(i));
        FallbackKeyTableFill(s.keyToVirtualKey, false);
        return;
    }

    s.keyboardDevice = os.KeyboardCreate();
    if (s.keyboardDevice && !os.KeyboardAcquire(s.keyboardDevice)) {
        // The device stays: the next poll acquires it again.
        ErrorLogAppend("No DX_KB");
    }
    FallbackKeyTableFill(s.keyToVirtualKey, s.keyboardDevice != nullptr);

    s.pointerShown = 0;
    if (exclusive) {
        s.mouseDevice = os.MouseCreate();
        if (s.mouseDevice) {
            s.mouseCooperativeLevel = kMouseLevelExclusive;
            if (!os.MouseSetExclusive(s.mouseDevice, true) || !os.MouseAcquire(s.mouseDevice)) {
                ErrorLogAppend("No DX_Mouse");
            }
        }
    } else {
        CursorFromRecord(s, os);
        os.CursorShow(true);
        s.pointerShown = 1;
    }

    int taken = 0;
    int attached = os.JoystickAttachedCount();
    for (int i = 0; i < attached && taken < platform::kMaxJoysticks; ++i) {
        std::string name;
        platform::JoystickDevice* dev = os.JoystickOpen(i, name);
        if (!dev) continue;
        s.joystickDevices[taken] = dev;
        NameCopy(s.joystickNames[taken], name);
        ++taken;
    }
    s.joystickCount = taken;
}

void InputShutdown(InputState& s) {
    platform::InputSystem& os = Os();
    PointerShowSet(s, true);
    if (s.mouseDevice) {
        os.MouseUnacquire(s.mouseDevice);
        os.MouseRelease(s.mouseDevice);
        s.mouseDevice = nullptr;
    }
    if (s.keyboardDevice) {
        os.KeyboardRelease(s.keyboardDevice);
        s.keyboardDevice = nullptr;
    }
    for (auto& dev : s.joystickDevices) {
        if (dev) os.JoystickRelease(dev);
        dev = nullptr;
    }
    if (s.directInput) {
        os.DevicesStop();
        s.directInput = nullptr;
    }
}
