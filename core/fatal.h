// How the lowest layer ends the program on a fatal error (a size past 32 bits, an index out
// of range, memory exhausted) without knowing the runtime above it.
#pragma once

#include <string_view>

// The handler sets the runtime error code and leaves through the end path; it must not
// return. detail says what went wrong where ("index 12, size 10, at game.cpp:42"), or is
// empty. Start-up installs the runtime's; null restores the plain one.
using CoreFatalHandler = void (*)(int code, std::string_view detail);
void CoreFatalHandlerSet(CoreFatalHandler handler);

// Runs the installed handler. Without one (a program or test that never ran start-up) the
// process exits with the code itself.
[[noreturn]] void CoreFatal(int code, std::string_view detail = {});
