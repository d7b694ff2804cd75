#include "frame/end_path.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "frame/error_log.h"
#include "frame/runtime_state.h"
#include "frame/shutdown.h"
#include "platform/paths.h"

namespace {

// Truncation towards zero without undefined behaviour: NaN gives 0, out-of-range values
// saturate.
int TruncInt(double v) {
    if (std::isnan(v)) return 0;
    if (v >= 2147483647.0) return 2147483647;
    if (v <= -2147483648.0) return -2147483647 - 1;
    return static_cast<int>(v);
}

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

bool ending = false;

}  // namespace

std::vector<std::string> EndPathTraceLines(double errorCode, double errorLine, double currentLine,
                                           double currentModule) {
    return {"-End On Line", IntText(TruncInt(errorCode)), IntText(TruncInt(errorLine - 1.0)),
            IntText(TruncInt(currentLine)), IntText(TruncInt(currentModule))};
}

int EndPathExitCode(double errorCode) {
    int code = TruncInt(errorCode);
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
    if (!ending) {
        ending = true;
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

void RuntimeError(int code) {
    runtimeState.errorCode = code;
    runtimeState.errorLine = runtimeState.currentLine;
    EndPath();
}

void EndPathQuit() {
    EndWith(true);
}
