// The input module's place in start-up, the frame loop and the end path.
#pragma once

#include <string>

// Start-up "Init Input": the record in its initial state, stored in runtimeState.input.
void InputRecordCreate();
// Start-up, with the window: starts the devices (mouse taken exclusively when hidePointer is
// set), installs the frame loop's keyboard poll and key test and the shutdown step.
void InputRuntimeStart();
// Start-up's pointer state: shown when hidePointer is 0, as PointerShow does.
void InputPointerStateApply();

// What the waits and the line editor need from modules the input module does not know:
// the music loop check (sound) and the line editor's backdrop and text (gfx). Null: none.
void InputMusicHookSet(void (*check)());
struct InputTextHooks {
    void (*backdropSave)() = nullptr;   // copy the back buffer into background layer 3
    void (*backdropDraw)() = nullptr;   // draw layer 3
    void (*backdropClear)() = nullptr;  // clear layer 3
    void (*print)(int x, int y, const std::string& text) = nullptr;  // current font
};
void InputTextHooksSet(const InputTextHooks& hooks);
