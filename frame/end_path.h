// The single way out of the program: every end (ProgramEnd, a runtime error, ESC, Alt+F4,
// closing the window) comes here and never returns.
#pragma once

// Runs the ordered shutdown and exits the process.
[[noreturn]] void EndPath();

// Sets the runtime error code (array index, bad channel, reading past the end, ...) and
// leaves through the end path.
[[noreturn]] void RuntimeError(int code);
