#include "runtime/error_log.h"

#include <chrono>
#include <thread>

#include "platform/log_file.h"
#include "runtime/runtime_state.h"

namespace {
constexpr int kAttempts = 5;
constexpr auto kRetryDelay = std::chrono::milliseconds(100);
}  // namespace

std::string ErrorLogPath() {
    return platform::TempFolder() + "/ErrorLog.txt";
}

void ErrorLogAppend(const std::string& text) {
    std::string& fallback = runtimeState.errorLogFallback;
    const std::string line = text + "\r\n";
    if (!fallback.empty()) {
        platform::LogFileAppend(fallback, line);
        return;
    }
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
    platform::LogFileRemove(ErrorLogPath());
}
