// The waits: for any input change, for a typed key and for a mouse click.
#include <cmath>

#include "input/input.h"
#include "runtime/end_path.h"
#include "runtime/frame_calls.h"
#include "runtime/runtime_state.h"
#include "runtime/window_events.h"

namespace {

bool JoystickActive(InputState& s, int n) {
    platform::JoystickDeviceState j;
    JoystickStateRead(s, n, j);
    for (uint8_t b : j.buttons) {
        if (b) return true;
    }
    for (int32_t axis : {j.x, j.y, j.z}) {
        double v = std::fmin(1.0, std::fmax(-1.0, axis / 32767.0));
        if (std::fabs(v) > 0.1) return true;
    }
    uint32_t hat = j.pov[0];
    return hat == 0 || hat == 9000 || hat == 18000 || hat == 27000;
}

// ESC inside a wait ends the program as a requested end does, with error code 0.
void EscapeEnd() {
    runtimeState.errorCode = 0.0;
    runtimeState.errorLine = runtimeState.currentLine;
    EndPath();
}

}  // namespace

void InputWaitAnyChange(InputState& s) {
    MouseReading m;
    MouseReadClamped(s, m);
    int x = s.mouseX, y = s.mouseY, b1 = m.button1, b2 = m.button2;
    for (int pass = 0; pass < 15; ++pass) {
        FrameCallRun(FrameCall::MusicCheck);
        MessagePump();
        KeyboardPoll(s);
        s.mouseRefresh = 1;
        if (runtimeState.escapeQuits && KeyDown(s, 1)) EscapeEnd();
        // The keys as this poll read them (a tap reads as down at the poll that saw it): a press
        // kept from before is no change, and the one that ends the wait stays unread for the
        // reader that waited.
        for (int k = 0; k < 255; ++k) {
            if (KeyDownNow(s, k)) return;
        }
        MouseReadClamped(s, m);
        if (s.mouseX != x || s.mouseY != y || m.button1 != b1 || m.button2 != b2) return;
        int sticks =
            s.joystickCount < platform::kMaxJoysticks ? s.joystickCount : platform::kMaxJoysticks;
        for (int n = sticks - 1; n >= 0; --n) {
            if (JoystickActive(s, n)) return;
        }
        Os().SleepMs(5);
    }
}

void KeyWaitCharacter(InputState& s) {
    while (KeyTranslate(s) != 0) {
    }
    while (KeyTranslate(s) == 0) {
        FrameCallRun(FrameCall::MusicCheck);
        MessagePump();
        InputWaitAnyChange(s);
    }
    while (KeyTranslate(s) != 0) {
    }
}

void MouseWaitClick(InputState& s) {
    do {
        s.mouseRefresh = 1;
    } while (MouseAnyButtonDown(s));
    while (!MouseAnyButtonDown(s)) InputWaitAnyChange(s);
    while (MouseAnyButtonDown(s)) {
    }
}
