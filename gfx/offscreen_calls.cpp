#include "gfx/offscreen_calls.h"

namespace {
OffscreenCalls registered;
}

void OffscreenCallsRegister(const OffscreenCalls& calls) {
    registered = calls;
}

const OffscreenCalls& Offscreen() {
    return registered;
}
