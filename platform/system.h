// Assorted system services: debugger detection and output, local time, a machine
// identifier, battery state and the console.
#pragma once

#include <string>

namespace platform {

// True while a tracer (debugger) is attached to this process.
bool DebuggerAttached();

// Writes text to standard error in one write, so lines of two threads never interleave.
void StderrWrite(const std::string& text);

// Writes text to the debugger's channel (standard error), only while one is attached.
void DebugOutput(const std::string& text);

struct LocalTime {
    int year = 0;
    int month = 0;  // 1..12
    int day = 0;    // 1..31
    int hour = 0;
    int minute = 0;
    int second = 0;
};
LocalTime LocalTimeNow();

// The machine's identifier text (/etc/machine-id, else the D-Bus copy); empty when none.
std::string MachineIdText();

// Battery charge in percent, 255 when the machine has no battery or it cannot be read.
int BatteryPercent();

// Connects standard input and output to the controlling terminal. Without a terminal the
// streams are left as they are, except that a closed one is pointed at /dev/null so later
// reads and writes stay harmless. True when a terminal was connected.
bool ConsoleOpen();

}  // namespace platform
