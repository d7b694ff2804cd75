// The frame step and its timing commands (the commands themselves are declared in corvane.h).
#pragma once

// The runtime's timer in milliseconds: the high-resolution counter when there is one, else
// the millisecond clock.
double FrameTimer();

// Takes every waiting window event and handles it (close ends the program, focus changes
// pause and resume). Always true. Input waits and video playback call it too.
bool MessagePump();

// Handles one window event taken by the pump; false when none was waiting.
bool MessageDispatchOne();

// Called by FramePresent where it polls the keyboard (and refreshes the mouse), before the
// ESC and Alt+F4 tests. The input module sets it. Null: no poll.
void FrameKeyboardHookSet(void (*poll)());
// Answers whether a key (scan code 0..255) is down; FramePresent asks it for ESC (1) and
// Alt+F4 (56, 62). The input module sets it. Null: no key is down.
void FrameKeyTestSet(bool (*keyDown)(int scanCode));
// Music loop check, run in the pause loop and once per frame (sound module). Null: none.
void FrameMusicHookSet(void (*check)());
// The 3D scene leaving its shadow pass and the 3D mip-map choice reset (3D module).
void FrameShadowPassEndHookSet(void (*leave)());
void FrameMipmapResetHookSet(void (*reset)());
// Fixed-function pipeline selection after each frame (shader module). Null: the frame
// selects program 0 itself when shader objects exist.
void FrameFixedPipelineHookSet(void (*select)());
