// Keyboard, mouse and joysticks from the OS. Two layers, as the runtime expects them: the
// device layer (exclusive, per-device handles that are created, acquired and read) and the
// system layer (plain key, cursor and joystick queries that always work once a window
// exists). Keys are numbered by PC set-1 scan code, extended keys at +128.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace platform {

// Opaque device handles; only the input system that made one may use it.
struct KeyboardDevice;
struct MouseDevice;
struct JoystickDevice;

// What a mouse device read gives: movement since the last read and buttons 0..3 (non-zero =
// pressed).
struct MouseDeviceState {
    int32_t dx = 0, dy = 0, dz = 0;
    uint8_t buttons[4] = {};
};

// The 80-byte joystick record: axes -32768..32767, hats in hundredths of a degree clockwise
// from up (0xFFFFFFFF centred), buttons with bit 7 = pressed.
struct JoystickDeviceState {
    int32_t x = 0, y = 0, z = 0, rx = 0, ry = 0, rz = 0;
    int32_t sliders[2] = {};
    uint32_t pov[4] = {};
    uint8_t buttons[32] = {};
};
static_assert(sizeof(JoystickDeviceState) == 80);

// What the system joystick query gives (positions 0..65535, button flags bit per button).
struct SystemJoystickState {
    uint32_t x = 0, y = 0, z = 0;
    uint32_t pov = 0;
    uint32_t buttons = 0;
};

constexpr int kMaxJoysticks = 10;

class InputSystem {
public:
    virtual ~InputSystem() = default;

    // ---- device layer ----
    // Starts the device layer; false when it cannot be had (the system layer still works).
    virtual bool DevicesStart() = 0;
    virtual void DevicesStop() = 0;

    virtual KeyboardDevice* KeyboardCreate() = 0;
    // Foreground access: fails while the window does not have the keyboard focus.
    virtual bool KeyboardAcquire(KeyboardDevice* dev) = 0;
    // 256 bytes by key number, bit 7 = down; a key pressed and released since the last read
    // reads as down once.
    virtual bool KeyboardRead(KeyboardDevice* dev, uint8_t state[256]) = 0;
    // Drops key events waiting in the queue; true when there were any.
    virtual bool KeyEventsDiscard() = 0;
    virtual void KeyboardRelease(KeyboardDevice* dev) = 0;

    virtual MouseDevice* MouseCreate() = 0;
    // exclusive: pointer hidden, relative movement only; otherwise the pointer stays usable.
    virtual bool MouseSetExclusive(MouseDevice* dev, bool exclusive) = 0;
    virtual bool MouseAcquire(MouseDevice* dev) = 0;
    virtual void MouseUnacquire(MouseDevice* dev) = 0;
    virtual bool MouseRead(MouseDevice* dev, MouseDeviceState& out) = 0;
    virtual void MouseRelease(MouseDevice* dev) = 0;

    // Number of attached joysticks the device layer can see now.
    virtual int JoystickAttachedCount() = 0;
    // Opens attached joystick index; null when it cannot be used. name: "instance, product".
    virtual JoystickDevice* JoystickOpen(int index, std::string& name) = 0;
    // Refreshes the device; false when it was lost.
    virtual bool JoystickPoll(JoystickDevice* dev) = 0;
    // Re-opens a lost device in place.
    virtual bool JoystickReacquire(JoystickDevice* dev) = 0;
    virtual void JoystickRead(JoystickDevice* dev, JoystickDeviceState& out) = 0;
    virtual bool JoystickHasForce(JoystickDevice* dev) = 0;
    // One constant-force effect: direction (x, y) in -32767..32767, magnitude 0..10000.
    virtual void JoystickForce(JoystickDevice* dev, int32_t dirX, int32_t dirY, int32_t magnitude,
                               uint32_t durationMs) = 0;
    virtual void JoystickRelease(JoystickDevice* dev) = 0;

    // ---- system layer ----
    // Is the key of this virtual-key code down now, or pressed since the last question?
    virtual bool SystemVirtualKeyDown(int virtualKey) = 0;
    // 256 bytes by key number, bit 7 = down.
    virtual void SystemKeyboardState(uint8_t state[256]) = 0;
    // The character the key gives in the current layout with the current modifiers, as the
    // first byte of its text (may be >= 128 or a control code); 0 for none.
    virtual int LayoutCharacter(int keyNumber) = 0;

    // Pointer position on the screen and the window's client origin on the screen.
    virtual void CursorScreen(int& x, int& y) = 0;
    virtual void ClientOrigin(int& x, int& y) = 0;
    virtual void CursorMoveScreen(int x, int y) = 0;
    virtual void CursorShow(bool show) = 0;
    // Buttons 0 left, 1 right, 2 middle.
    virtual bool SystemMouseButton(int button) = 0;

    virtual int SystemJoystickCount() = 0;
    virtual std::string SystemJoystickName(int n) = 0;
    virtual bool SystemJoystickRead(int n, SystemJoystickState& out) = 0;

    virtual void SleepMs(int ms) = 0;
};

// The SDL implementation. window: the SDL window handle (may be null before one exists).
std::unique_ptr<InputSystem> CreateInputSystem(void* window);

// ---- key numbers ----
// The physical key of a key number as a USB HID usage (0 for none).
int KeyNumberToUsage(int keyNumber);
// The key number of a USB HID usage (0 for none).
int UsageToKeyNumber(int usage);
// The OS's own name of a key number's physical key ("" for none).
std::string KeyNumberName(int keyNumber);

// Modifier state for LayoutKeyToCharacter.
struct KeyModifiers {
    bool shift = false;
    bool ctrl = false;
    bool alt = false;
    bool capsLock = false;
    bool numLock = false;
};
// The character a layout key symbol gives under the modifiers, as the first byte of its text;
// 0 for keys that give none. layoutKey is the unshifted symbol (a Unicode code point for
// character keys, the OS's own code otherwise).
int LayoutKeyToCharacter(int32_t layoutKey, const KeyModifiers& mods);

// ---- virtual joysticks for tests (no hardware needed) ----
// (DevicesStart also attaches one when CORVANE_VIRTUAL_JOYSTICK is set: see
// platform/virtual_joystick_spec.h.)
// Attaches one with 6 axes, 32 buttons and 1 hat; returns its index or -1.
int VirtualJoystickAttach();
void VirtualJoystickSet(int index, int axis, int16_t value);
void VirtualJoystickSetButton(int index, int button, bool down);
void VirtualJoystickSetHat(int index, uint8_t hat);
void VirtualJoystickDetach(int index);

}  // namespace platform
