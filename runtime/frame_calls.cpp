#include "runtime/frame_calls.h"

namespace {
void (*calls[static_cast<int>(FrameCall::Count)])() = {};
}

void FrameCallRegister(FrameCall call, void (*fn)()) {
    calls[static_cast<int>(call)] = fn;
}

void FrameCallRun(FrameCall call) {
    if (auto fn = calls[static_cast<int>(call)]) fn();
}
