// The input module's place in start-up, the frame loop and the end path.
#pragma once

#include <string>

// Start-up "Init Input": the record in its initial state, stored in runtimeState.input.
void InputRecordCreate();
// Start-up, with the window: starts the devices (mouse taken exclusively when hidePointer is
// set) and registers the debugger's keyboard poll and the shutdown step.
void InputRuntimeStart();
// What FramePresent asks each frame: whether the devices have started, the keyboard poll
// with the mouse refresh (input.h), and whether a key (scan code 0..255) is down; no key is
// down before start-up.
bool InputRunning();
bool InputFrameKeyDown(int scanCode);
// Start-up's pointer state: shown when hidePointer is 0, as PointerShow does.
void InputPointerStateApply();

// The line editor's backdrop (a background layer the 3D module keeps). Null: none.
struct InputTextHooks {
    void (*backdropSave)() = nullptr;   // copy the back buffer into background layer 3
    void (*backdropDraw)() = nullptr;   // draw layer 3
    void (*backdropClear)() = nullptr;  // clear layer 3
};
void InputTextHooksSet(const InputTextHooks& hooks);
// The line editor's backdrop steps; each does nothing while its hook is null.
void InputBackdropSave();
void InputBackdropDraw();
void InputBackdropClear();
