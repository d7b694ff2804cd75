// The input module's place in start-up, the frame loop and the end path.
#pragma once

#include <string>

#include "input/input_state.h"

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
