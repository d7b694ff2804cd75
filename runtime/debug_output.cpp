#include "runtime/debug_output.h"

#include <cstdint>
#include <cstdio>

#include "platform/system.h"
#include "platform/window.h"
#include "runtime/diagnostics.h"
#include "runtime/frame_calls.h"
#include "runtime/runtime_state.h"

namespace {
bool (*attachedTest)() = nullptr;
void (*outputSink)(const std::string&) = nullptr;

bool Attached() {
    return attachedTest ? attachedTest() : platform::DebuggerAttached();
}

// The attached test was made by the caller; write without asking again.
void Send(const std::string& text) {
    if (outputSink)
        outputSink(text);
    else
        platform::DebugOutput(text);
}
}  // namespace

void DebugChannelSet(bool (*attached)(), void (*output)(const std::string& text)) {
    attachedTest = attached;
    outputSink = output;
}

void DebugOutText(const std::string& text) {
    if (Attached()) Send("TX" + text);
    DiagDebug("DebugOut", text);
}

void DebugOutLine(const std::string& text) {
    if (Attached()) Send(text);
    DiagDebug("", text);
}

std::string DebugBreakpointText(int line) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "BP%x", static_cast<unsigned>(static_cast<uint32_t>(line)));
    return buf;
}

int DebugBreakpointHit(int line) {
    if (!Attached()) return 0;
    if (platform::WindowExists()) platform::WindowHide();
    Send(DebugBreakpointText(line));
    runtimeState.paused = false;
    FrameCallRun(FrameCall::InputPoll);
    runtimeState.breakpointHidden = 1;
    return 1;
}
