// The single way out of the program: every end (ProgramEnd, a runtime error, ESC, Alt+F4,
// closing the window) comes here and never returns.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// Writes the debug trace (debug builds), runs the ordered shutdown and exits the process:
// with the runtime error code when one is set (so a script can tell a crash from an end),
// else with 0.
[[noreturn]] void EndPath();

// Sets the runtime error code (array index, bad channel, reading past the end, ...) and
// leaves through the end path. Like ErrorSet, the current line becomes the error line.
// detail, when given, follows the error's line on standard error ("channel 3 is not open").
[[noreturn]] void RuntimeError(int code, std::string_view detail = {});

// A requested end (ProgramEnd, ESC, Alt+F4, closing the window): the end path exactly as
// above, trace included, but the process exits with 0 whatever code an earlier ErrorSet left.
[[noreturn]] void EndPathQuit();

// When an end signal (SIGTERM, SIGINT) has arrived: the requested end above, exit code 0.
// Every wait of the runtime calls it; it does nothing once an end has begun.
void EndSignalCheck();

// The shutdown alone, without trace or exit (ProgramChain runs it before starting the next
// program). Each step runs at most once per process.
void EndPathShutdown();

// The trace lines of a debug build's end, in their order.
std::vector<std::string> EndPathTraceLines(double errorCode, double errorLine, double currentLine,
                                           double currentModule);

// The process exit code for an error code: 0 for 0, the code for 1..255, 255 beyond.
int EndPathExitCode(double errorCode);
