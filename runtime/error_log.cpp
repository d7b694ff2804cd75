#include "runtime/error_log.h"

#include <chrono>
#include <thread>

#include "platform/log_file.h"
#include "platform/process.h"
#include "runtime/diagnostics.h"
#include "runtime/runtime_state.h"

namespace {
constexpr int kAttempts = 5;
constexpr auto kRetryDelay = std::chrono::milliseconds(100);

// A live program (the host beside its joiner) writes the shared log: this one keeps a log of
// its own beside it instead of emptying or mixing into that one.
void UseOwnLog(const std::string& shared) {
    const std::string own =
        platform::TempFolder() + "/ErrorLog-" + std::to_string(platform::ProcessId()) + ".txt";
    platform::LogFileRemove(own);  // left by an earlier process of the same id
    runtimeState.errorLogOwnPath = own;
    DiagWarning("ErrorLog",
                "another running program keeps " + shared + "; this program's log is " + own);
}

// The first line of a run creates the log and holds it, which tells a program starting later
// that this one is alive. One that finds the hold taken moves to its own log.
void HoldLog() {
    RuntimeState& rs = runtimeState;
    if (platform::LogFileHold(ErrorLogPath()) == platform::LogHoldResult::Busy &&
        rs.errorLogOwnPath.empty()) {
        UseOwnLog(ErrorLogPath());
        platform::LogFileHold(ErrorLogPath());
    }
    // Tried once a run: a refused name is left to the append, which moves the run to a
    // private file, and a hold that could not be had is not asked for at every line.
    rs.errorLogHoldTaken = true;
}
}  // namespace

std::string ErrorLogPath() {
    if (!runtimeState.errorLogOwnPath.empty()) return runtimeState.errorLogOwnPath;
    return platform::TempFolder() + "/ErrorLog.txt";
}

void ErrorLogAppend(const std::string& text) {
    std::string& fallback = runtimeState.errorLogFallback;
    const std::string line = text + "\r\n";
    if (!fallback.empty()) {
        platform::LogFileAppend(fallback, line);
        return;
    }
    if (!runtimeState.errorLogHoldTaken) HoldLog();
    const std::string path = ErrorLogPath();
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        const platform::LogAppendResult r = platform::LogFileAppend(path, line);
        if (r == platform::LogAppendResult::Written) return;
        if (r == platform::LogAppendResult::Refused) {
            // Something planted at the shared name: the rest of this run logs to a private
            // file instead, chosen once, so no later line waits on the planted one.
            fallback = platform::LogFileCreatePrivate(platform::TempFolder(), "ErrorLog-");
            if (fallback.empty()) fallback = "/dev/null";
            platform::LogFileAppend(fallback, line);
            return;
        }
        std::this_thread::sleep_for(kRetryDelay);
    }
}

std::string ErrorLogFallbackPath() {
    return runtimeState.errorLogFallback;
}

void ErrorLogAppend(const char* text) {
    ErrorLogAppend(std::string(text ? text : "NULL"));
}

void ErrorLogReset() {
    runtimeState.errorLogFallback.clear();
    runtimeState.errorLogOwnPath.clear();
    runtimeState.errorLogHoldTaken = false;
    platform::LogFileRelease();
    const std::string shared = ErrorLogPath();
    if (platform::LogFileHeldElsewhere(shared))
        UseOwnLog(shared);
    else
        platform::LogFileRemove(shared);  // a link planted there goes, never its target
}
