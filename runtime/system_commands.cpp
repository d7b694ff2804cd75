// The program's commands for errors, its end, the platform, the log, the debugger and the
// console.
#include <cstdint>

#include "core/int_convert.h"
#include "corvane.h"
#include "platform/system.h"
#include "platform/window.h"
#include "runtime/debug_output.h"
#include "runtime/end_path.h"
#include "runtime/error_log.h"
#include "runtime/runtime_state.h"
#include "runtime/system_info.h"

double ErrorSet(double code) {
    runtimeState.errorCode = code;
    runtimeState.errorLine = runtimeState.currentLine;
    return code;
}

void LineMark(double unit, double line) {
    runtimeState.currentModule = unit;
    runtimeState.currentLine = line;
}

void ProgramEnd() {
    ErrorSet(0);
    EndPathQuit();
}

RtString PlatformInfo(RtString& key) {
    const std::string original = key.Str();
    const std::string upper = SystemUpper(original);
    key = RtString(std::string_view(upper));
    return RtString(std::string_view(SystemPlatformInfo(upper, original)));
}

RtString CommandLineGet() {
    return runtimeState.commandLine;
}

void DebugOut(const RtString& text) {
    DebugOutText(text.Str());
}

void LogWrite(const RtString& text) {
    ErrorLogAppend(text.Str());
}

void LogWrite(const char* text) {
    ErrorLogAppend(text);
}

void ConsoleOpen() {
    platform::ConsoleOpen();
}

double WindowHandleGet() {
    void* handle = runtimeState.mainWindow ? runtimeState.mainWindow : platform::WindowHandle();
    return static_cast<double>(reinterpret_cast<uintptr_t>(handle));
}

double DebugBreakpoint(double line) {
    return DebugBreakpointHit(ToInt(line));
}
