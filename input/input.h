// The input module's internal operations over one InputState. The commands in corvane.h and
// the frame loop use them; tests drive them with a fake input system and host.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "input/input_state.h"
#include "platform/input_devices.h"

// The OS input system the module reads (created on first use when none was installed).
platform::InputSystem& Os();
// Replaces the input system; tests install a fake before starting input.
void InputSystemInstall(std::unique_ptr<platform::InputSystem> system);

// runtimeState.input, or a resting record before start-up so commands never crash.
InputState& Input();

// Fills the record: devices where they can be had, the system layer elsewhere. exclusive
// takes the mouse exclusively (pointer hidden, relative movement).
void InputStart(InputState& s, void* window, bool exclusive);
// Shows the pointer again and releases every device, mouse first.
void InputShutdown(InputState& s);

void KeyboardPoll(InputState& s);
// FramePresent's poll: presses seen by the polls before the last frame poll stop counting.
void KeyboardFramePoll(InputState& s);
// Down now, or pressed since the last frame poll but one: what the frame's own key tests read
// (a tapped ESC ends the program whichever poll saw it).
bool KeyDown(InputState& s, int keyNumber);
// Down at the last poll: what the wait for any input change reads.
bool KeyDownNow(InputState& s, int keyNumber);
// The readers that each get a tapped key once.
enum KeyReader : uint8_t { kKeyReaderKeyGet = 1, kKeyReaderTyping = 2 };
// Down now, or a press this reader has not had yet (which it takes).
bool KeyDownFor(InputState& s, int keyNumber, KeyReader reader);
// The character of the first newly pressed key (0 none); the memory is process-wide.
int KeyTranslate(InputState& s);

// What a mouse read gives.
struct MouseReading {
    int16_t button1 = 0, button2 = 0, button3 = 0;
    int16_t dx = 0, dy = 0, wheel = 0;
};
bool MouseRead(InputState& s, MouseReading& out);
// Reads the mouse and clamps the runtime's position into the window (kept in the record).
void MouseReadClamped(InputState& s, MouseReading& out);
bool MouseAnyButtonDown(InputState& s);
void PointerShowSet(InputState& s, bool show);

// Joystick n as the all-zero state when it cannot be read.
bool JoystickStateRead(InputState& s, int n, platform::JoystickDeviceState& out);
void JoystickForce(InputState& s, int n, double durationMs, double x, double y);

// Returns at the first change of keys, mouse or joysticks, or after 15 passes of 5 ms.
void InputWaitAnyChange(InputState& s);
void KeyWaitCharacter(InputState& s);
void MouseWaitClick(InputState& s);

// The line editor: edits text in place until Enter.
void TextInputEdit(InputState& s, std::string& text, int x, int y);

// FramePresent's step: poll the keyboard and let the next mouse read take new movement.
void InputFramePoll();
