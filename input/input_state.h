// The one record of input state. Start-up creates it (runtimeState.input), start input fills
// it and the frame loop refreshes it once per frame; the input commands read from it.
#pragma once

#include <cstdint>
#include <string>

#include "platform/input_devices.h"

// The line editor's backdrop (a background layer the 3D module keeps). Null: none.
// What the line editor draws with: background layer 3 as its backdrop and the current font.
// Start-up points them at the renderer (InputRuntimeStart); tests point them at recorders.
struct InputTextHooks {
    void (*backdropSave)() = nullptr;   // copy the back buffer into background layer 3
    void (*backdropDraw)() = nullptr;   // draw layer 3
    void (*backdropClear)() = nullptr;  // clear layer 3
    void (*print)(int x, int y, const std::string& text) = nullptr;  // with the current font
};

struct InputState {
    bool running = false;  // start-up has started the devices (InputRuntimeStart)
    InputTextHooks textHooks;
    int mouseX = 100;
    int mouseY = 100;
    platform::InputSystem* directInput = nullptr;        // the device layer; null = system only
    platform::KeyboardDevice* keyboardDevice = nullptr;  // null = system keyboard
    platform::MouseDevice* mouseDevice = nullptr;        // null = system pointer
    platform::JoystickDevice* joystickDevices[platform::kMaxJoysticks] = {};
    char joystickNames[platform::kMaxJoysticks][522] = {};
    uint8_t keyState[256] = {};  // bit 7 = down
    // A press a poll saw (the key read down after reading up) outlives the poll: it counts for
    // the frame polls left here (0 = none) and for the readers (KeyReader bits) that have not
    // had it yet, so a key tapped between two polls is not taken by whichever poll came first.
    uint8_t keyPressFrames[256] = {};
    uint8_t keyPressUnread[256] = {};
    bool keyPressShifted[256] = {};  // a Shift key was down at the poll that saw the press
    void* window = nullptr;
    uint8_t pointerShown = 0;
    int mouseCooperativeLevel = 0;  // 5 exclusive (pointer hidden), 6 shared (pointer shown)
    int joystickCount = 0;
    uint8_t mouseRefresh = 1;  // the next mouse read takes new movement values
    int16_t lastDx = 0;
    int16_t lastDy = 0;
    int16_t lastWheel = 0;
    // Device movement read between refreshes, kept for the next refresh so none is lost.
    int heldDx = 0, heldDy = 0, heldDz = 0;
    int16_t keyToVirtualKey[256] = {};  // used only without a keyboard device
};

constexpr int kMouseLevelExclusive = 5;
constexpr int kMouseLevelShared = 6;
