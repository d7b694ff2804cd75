#include "runtime/end_path.h"

#include <cstdio>
#include <cstdlib>

#include "core/int_convert.h"
#include "platform/end_signals.h"
#include "platform/paths.h"
#include "runtime/diagnostics.h"
#include "runtime/error_log.h"
#include "runtime/error_text.h"
#include "runtime/runtime_state.h"
#include "runtime/shutdown.h"

namespace {

std::string IntText(int v) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%d", v);
    return buf;
}

// The executable's folder becomes the current one again: the module path cut back to its
// last separator, which stays.
void RestoreExecutableFolder() {
    std::string path = platform::ExecutablePath();
    while (!path.empty() && path.back() != '/' && path.back() != '\\') path.pop_back();
    if (!path.empty()) platform::CurrentFolderSet(path);
}

// The current-folder step belongs to the end path itself; it is in place before any other
// code runs because the step table is constant-initialised.
const bool currentFolderRegistered =
    (ShutdownRegister(ShutdownStep::CurrentFolder, RestoreExecutableFolder), true);

// The end path's own state.
struct EndPathState {
    bool ending = false;  // an end has begun: its trace is written
};
EndPathState endPath;

}  // namespace

std::vector<std::string> EndPathTraceLines(double errorCode, double errorLine, double currentLine,
                                           double currentModule) {
    return {"-End On Line", IntText(ToInt(errorCode)), IntText(ToInt(errorLine - 1.0)),
            IntText(ToInt(currentLine)), IntText(ToInt(currentModule))};
}

int EndPathExitCode(double errorCode) {
    int code = ToInt(errorCode);
    if (code == 0) return 0;
    if (code < 0 || code > 255) return 255;
    return code;
}

void EndPathShutdown() {
    (void)currentFolderRegistered;
    ShutdownRunAll();
}

[[noreturn]] static void EndWith(bool requested) {
    // A step that ends the program again (an error inside a shutdown step) finishes the
    // remaining steps without a second trace.
    if (!endPath.ending) {
        endPath.ending = true;
        // A release build leaves no trace in the log, so an error end would otherwise say
        // nothing at all: one line on standard error names the code and where it was set.
        if (!requested && ToInt(runtimeState.errorCode) != 0) {
            std::string line = RuntimeErrorLine(runtimeState.errorCode, runtimeState.currentModule,
                                                runtimeState.errorLine);
            if (!runtimeState.errorDetail.empty()) line += ": " + runtimeState.errorDetail;
            DiagError("", line);
        }
        if (runtimeState.debugMode) {
            for (const std::string& line :
                 EndPathTraceLines(runtimeState.errorCode, runtimeState.errorLine,
                                   runtimeState.currentLine, runtimeState.currentModule))
                ErrorLogAppend(line);
        }
    }
    EndPathShutdown();
    // The desktop repaints by itself on Linux once the window is gone.
    std::exit(requested ? 0 : EndPathExitCode(runtimeState.errorCode));
}

void EndPath() {
    EndWith(false);
}

void RuntimeError(int code, std::string_view detail) {
    runtimeState.errorDetail = detail;
    runtimeState.errorCode = code;
    runtimeState.errorLine = runtimeState.currentLine;
    EndPath();
}

void EndPathQuit() {
    EndWith(true);
}

void EndSignalCheck() {
    if (!endPath.ending && platform::EndSignalPending()) EndWith(true);
}
