#include "core/fatal.h"

#include <cstdlib>

namespace {
CoreFatalHandler installed = nullptr;
}

void CoreFatalHandlerSet(CoreFatalHandler handler) {
    installed = handler;
}

void CoreFatal(int code) {
    if (installed) installed(code);
    // A handler that came back, or none: the code is all there is to report.
    std::exit(code);
}
