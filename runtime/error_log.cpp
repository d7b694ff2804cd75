#include "runtime/error_log.h"

#include <chrono>
#include <thread>

#include "platform/log_file.h"

namespace {
constexpr int kAttempts = 5;
constexpr auto kRetryDelay = std::chrono::milliseconds(100);
}  // namespace

std::string ErrorLogPath() {
    return platform::TempFolder() + "/ErrorLog.txt";
}

void ErrorLogAppend(const std::string& text) {
    const std::string path = ErrorLogPath();
    const std::string line = text + "\r\n";
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        if (platform::LogFileAppendOnce(path, line)) return;
        std::this_thread::sleep_for(kRetryDelay);
    }
}

void ErrorLogAppend(const char* text) {
    ErrorLogAppend(std::string(text ? text : "NULL"));
}

void ErrorLogReset() {
    platform::LogFileRemove(ErrorLogPath());
}
