// How the OS layer says what a user must know (an unreadable setting, a library that is
// missing) without knowing the runtime above it: the runtime registers its diagnostics
// channel at start-up; until then, or without a runtime, the line goes to standard error.
#pragma once

#include <string>

namespace platform {

enum class ReportLevel { Error = 1, Warning = 2, Info = 3 };

using ReportSink = void (*)(ReportLevel level, const std::string& what, const std::string& why);
void ReportSinkSet(ReportSink sink);

// "what: why" through the registered sink.
void Report(ReportLevel level, const std::string& what, const std::string& why);

}  // namespace platform
