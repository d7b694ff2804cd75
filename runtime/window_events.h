// The window's events as the runtime handles them: closing ends the program, losing and
// regaining focus pause and resume it (while auto-pause is on and no debugger runs it).
#pragma once

// Takes every waiting window event and handles it. Always true. The frame, input waits and
// video playback call it.
bool MessagePump();

// Handles one window event; false when none was waiting.
bool MessageDispatchOne();
