#include "core/fatal.h"

#include <cstdlib>

namespace {
CoreFatalHandler installed = nullptr;
}

void CoreFatalHandlerSet(CoreFatalHandler handler) {
    installed = handler;
}

void CoreFatal(int code, std::string_view detail) {
    if (installed) installed(code, detail);
    // A handler that came back, or none: the code is all there is to report.
    std::exit(code);
}
