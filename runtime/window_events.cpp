#include "runtime/window_events.h"

#include <string>

#include "platform/window.h"
#include "runtime/end_path.h"
#include "runtime/rt_text.h"
#include "runtime/runtime_state.h"

namespace {
std::unique_ptr<platform::WindowEvents>& events() {
    static std::unique_ptr<platform::WindowEvents> e;
    return e;
}

platform::WindowEvents& Events() {
    auto& e = events();
    if (!e) e = platform::CreateWindowEvents();
    return *e;
}

void ActivationChange(bool active) {
    RuntimeState& rs = runtimeState;
    if (rs.debugMode != 0 || !rs.autoPause) return;
    std::string title = RtToStd(rs.windowTitle);
    if (!active) title += " <pause>";
    platform::WindowTitleSet(title);
    rs.paused = !active;
}
}  // namespace

bool MessageDispatchOne() {
    // Every wait of the runtime (frames, key and mouse waits, pauses) passes here.
    EndSignalCheck();
    platform::WindowEvent ev;
    if (!Events().Poll(ev)) return false;
    switch (ev.kind) {
        case platform::WindowEventKind::CloseRequest:
            EndPath();
        case platform::WindowEventKind::FocusLost:
            ActivationChange(false);
            break;
        case platform::WindowEventKind::FocusGained:
            ActivationChange(true);
            break;
        default:
            break;
    }
    return true;
}

bool MessagePump() {
    while (MessageDispatchOne()) {
    }
    return true;
}

void WindowEventsInstall(std::unique_ptr<platform::WindowEvents> e) {
    events() = std::move(e);
}
