// The window's events as the runtime handles them: closing ends the program, losing and
// regaining focus pause and resume it (while auto-pause is on and no debugger runs it).
#pragma once

#include <memory>

#include "platform/window.h"

// Takes every waiting window event and handles it. Always true. The frame, input waits and
// video playback call it.
bool MessagePump();

// Handles one window event; false when none was waiting.
bool MessageDispatchOne();

// Replaces the event queue the pump reads (null: the platform's own).
void WindowEventsInstall(std::unique_ptr<platform::WindowEvents> events);
