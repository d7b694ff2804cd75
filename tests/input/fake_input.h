// A scriptable input system and host, so the input module runs without a window.
#pragma once

#include <array>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "input/input.h"
#include "platform/input_devices.h"
#include "platform/window.h"

namespace fake {

// Stand-ins for device handles; never dereferenced.
inline platform::KeyboardDevice* kKeyboard = reinterpret_cast<platform::KeyboardDevice*>(0x10);
inline platform::MouseDevice* kMouse = reinterpret_cast<platform::MouseDevice*>(0x20);
inline platform::JoystickDevice* Stick(int i) {
    return reinterpret_cast<platform::JoystickDevice*>(0x100 + 0x10 * i);
}
inline int StickIndex(platform::JoystickDevice* d) {
    return static_cast<int>((reinterpret_cast<uintptr_t>(d) - 0x100) / 0x10);
}

struct Joystick {
    platform::JoystickDeviceState state;
    bool lost = false;  // the next poll fails
    bool force = false;
};

class Devices final : public platform::InputSystem {
public:
    // ---- scripted state ----
    bool devicesOk = true, keyboardOk = true, keyboardAcquireOk = true;
    bool mouseOk = true, mouseAcquireOk = true;
    int mouseReadFailures = 0;     // the next reads that fail
    std::array<bool, 256> keys{};  // by key number
    // Pressed and released since the last read: down at the next read only, as a real
    // device reads a tap.
    std::array<bool, 256> tapped{};
    std::array<int, 256> layout{};  // layout character by key number
    std::array<bool, 256> virtualKeys{};
    platform::MouseDeviceState motion;  // handed out by the next device read, then cleared
    int cursorX = 300, cursorY = 250, originX = 100, originY = 50;
    bool pointerVisible = false;
    bool exclusive = false;
    std::array<bool, 3> systemButtons{};
    std::vector<Joystick> sticks;
    int systemSticks = 0;
    platform::SystemJoystickState systemStick;
    std::vector<std::string> calls;  // release and force calls, in order
    int lastForceX = 0, lastForceY = 0, lastForceMagnitude = 0;
    unsigned lastForceMs = 0;

    // ---- device layer ----
    bool DevicesStart() override { return devicesOk; }
    void DevicesStop() override { calls.push_back("stop"); }
    platform::KeyboardDevice* KeyboardCreate() override { return keyboardOk ? kKeyboard : nullptr; }
    bool KeyboardAcquire(platform::KeyboardDevice*) override { return keyboardAcquireOk; }
    bool KeyboardRead(platform::KeyboardDevice*, uint8_t state[256]) override {
        for (int k = 0; k < 256; ++k) state[k] = keys[k] || tapped[k] ? 0x80 : 0;
        tapped.fill(false);
        return true;
    }
    bool KeyEventsDiscard() override { return false; }
    void KeyboardRelease(platform::KeyboardDevice*) override { calls.push_back("keyboard"); }
    platform::MouseDevice* MouseCreate() override { return mouseOk ? kMouse : nullptr; }
    bool MouseSetExclusive(platform::MouseDevice*, bool e) override {
        exclusive = e;
        return true;
    }
    bool MouseAcquire(platform::MouseDevice*) override { return mouseAcquireOk; }
    void MouseUnacquire(platform::MouseDevice*) override {}
    bool MouseRead(platform::MouseDevice*, platform::MouseDeviceState& out) override {
        if (mouseReadFailures > 0) {
            --mouseReadFailures;
            return false;
        }
        ++mouseReads;
        if (onMouseRead) onMouseRead(mouseReads);
        out = motion;
        motion.dx = motion.dy = motion.dz = 0;
        return true;
    }
    void MouseRelease(platform::MouseDevice*) override { calls.push_back("mouse"); }
    int JoystickAttachedCount() override { return static_cast<int>(sticks.size()); }
    platform::JoystickDevice* JoystickOpen(int i, std::string& name) override {
        name = "Stick " + std::to_string(i) + ", Pad";
        return Stick(i);
    }
    bool JoystickPoll(platform::JoystickDevice* d) override { return !sticks[StickIndex(d)].lost; }
    bool JoystickReacquire(platform::JoystickDevice* d) override {
        calls.push_back("reacquire " + std::to_string(StickIndex(d)));
        sticks[StickIndex(d)].lost = false;
        return true;
    }
    void JoystickRead(platform::JoystickDevice* d, platform::JoystickDeviceState& out) override {
        out = sticks[StickIndex(d)].state;
    }
    bool JoystickHasForce(platform::JoystickDevice* d) override {
        return sticks[StickIndex(d)].force;
    }
    void JoystickForce(platform::JoystickDevice* d, int32_t x, int32_t y, int32_t m,
                       uint32_t ms) override {
        calls.push_back("force " + std::to_string(StickIndex(d)));
        lastForceX = x;
        lastForceY = y;
        lastForceMagnitude = m;
        lastForceMs = ms;
    }
    void JoystickRelease(platform::JoystickDevice* d) override {
        calls.push_back("joystick " + std::to_string(StickIndex(d)));
    }

    // ---- system layer ----
    bool SystemVirtualKeyDown(int vk) override { return vk >= 0 && vk < 256 && virtualKeys[vk]; }
    void SystemKeyboardState(uint8_t state[256]) override {
        for (int k = 0; k < 256; ++k) state[k] = virtualKeys[k] ? 0x80 : 0;
    }
    int LayoutCharacter(int k) override { return layout[k & 0xFF]; }
    void CursorScreen(int& x, int& y) override {
        x = cursorX;
        y = cursorY;
    }
    void ClientOrigin(int& x, int& y) override {
        x = originX;
        y = originY;
    }
    void CursorMoveScreen(int x, int y) override {
        cursorX = x;
        cursorY = y;
    }
    void CursorShow(bool show) override { pointerVisible = show; }
    bool SystemMouseButton(int b) override { return systemButtons[b]; }
    int SystemJoystickCount() override { return systemSticks; }
    std::string SystemJoystickName(int n) override { return "Legacy " + std::to_string(n); }
    bool SystemJoystickRead(int n, platform::SystemJoystickState& out) override {
        if (n >= systemSticks) return false;
        out = systemStick;
        return true;
    }
    void SleepMs(int) override { ++sleeps; }
    int sleeps = 0;
    int mouseReads = 0;
    // Called before each device mouse read with its number, to script button changes.
    std::function<void(int)> onMouseRead;

    // A US-like layout for the letters, digits and space.
    void UsLetters() {
        const char* rows[] = {"qwertyuiop", "asdfghjkl", "zxcvbnm"};
        const int starts[] = {16, 30, 44};
        for (int r = 0; r < 3; ++r) {
            for (int i = 0; rows[r][i]; ++i) layout[starts[r] + i] = rows[r][i];
        }
        for (int d = 0; d < 9; ++d) layout[2 + d] = '1' + d;
        layout[11] = '0';
        layout[57] = ' ';
    }
};

// Thrown by the end path's first shutdown step, which the fixture registers, so a test sees
// the end without leaving the process.
struct ProgramEnded {};

// The window's event queue, always empty: each message pump polls it once.
class Events final : public platform::WindowEvents {
public:
    int pumps = 0;
    // Called at each message pump with its number.
    std::function<void(int)> onPump;

    bool Poll(platform::WindowEvent&) override {
        ++pumps;
        if (onPump) onPump(pumps);
        return false;
    }
};

// The line editor's text drawing: every print, in order, into the installed record.
struct Host {
    std::vector<std::string> printed;
};
inline Host* host = nullptr;
inline void Print(int, int, const std::string& text) {
    host->printed.push_back(text);
}

// What the commands run through the frame calls and the line editor's backdrop hooks; the
// fixture registers the functions below, which count into the installed record.
struct Frame {
    int presents = 0, musicChecks = 0, backdropSaves = 0, backdropClears = 0;
    // Called at each present with its number, so a test can press and release keys.
    std::function<void(int)> onPresent;
};
inline Frame* frame = nullptr;
inline void FrameMusicCheck() {
    ++frame->musicChecks;
}
inline void FramePresent() {
    ++frame->presents;
    if (frame->onPresent) frame->onPresent(frame->presents);
}
inline void BackdropSave() {
    ++frame->backdropSaves;
}
inline void BackdropDraw() {}
inline void BackdropClear() {
    ++frame->backdropClears;
}
inline void EndStep() {
    throw ProgramEnded{};
}

}  // namespace fake
