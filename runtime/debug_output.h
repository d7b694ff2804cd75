// The runtime's messages to an attached debugger.
#pragma once

#include <string>

// "TX" + text to the debugger output, only while a debugger is attached; the text is said on
// the diagnostics channel at the debug level too.
void DebugOutText(const std::string& text);

// The runtime's own progress lines ("FBO", "GFX seem OK"): to the debugger output as they
// stand while one is attached, and said on the diagnostics channel at the debug level.
void DebugOutLine(const std::string& text);

// "BP" + the line in lower-case hex (a negative line as its 32-bit two's complement).
std::string DebugBreakpointText(int line);

// The breakpoint: without a debugger nothing happens and the result is 0. With one, the main
// window hides, the "BP" text goes out, the pause ends, the keyboard is polled and the mouse
// refreshed, breakpointHidden is set and the result is 1. The next FramePresent of a debug
// build shows the window again.
int DebugBreakpointHit(int line);

// Replaces the debugger test and the output channel (tests); null restores the platform's.
void DebugChannelSet(bool (*attached)(), void (*output)(const std::string& text));
