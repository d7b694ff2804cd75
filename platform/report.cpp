#include "platform/report.h"

#include <atomic>

#include "platform/system.h"

namespace platform {

namespace {
std::atomic<ReportSink> installed{nullptr};  // the decoder threads report too
}

void ReportSinkSet(ReportSink sink) {
    installed.store(sink);
}

void Report(ReportLevel level, const std::string& what, const std::string& why) {
    if (ReportSink sink = installed.load()) {
        sink(level, what, why);
        return;
    }
    const char* word = level == ReportLevel::Error     ? "error: "
                       : level == ReportLevel::Warning ? "warning: "
                                                       : "info: ";
    StderrWrite(word + what + ": " + why + "\n");
}

}  // namespace platform
