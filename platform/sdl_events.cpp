#include "platform/sdl_events.h"

#include <algorithm>
#include <vector>

namespace platform {

namespace {
std::vector<SdlEventObserver>& Observers() {
    static std::vector<SdlEventObserver> list;
    return list;
}
}  // namespace

void SdlEventObserverAdd(SdlEventObserver fn) {
    auto& v = Observers();
    if (fn && std::find(v.begin(), v.end(), fn) == v.end()) v.push_back(fn);
}

void SdlEventObserverRemove(SdlEventObserver fn) {
    auto& v = Observers();
    v.erase(std::remove(v.begin(), v.end(), fn), v.end());
}

void SdlEventNotify(const SDL_Event& ev) {
    // A copy: an observer may add or remove observers while it runs.
    auto v = Observers();
    for (auto fn : v) fn(ev);
}

bool SdlVideoStart() {
    if (SDL_WasInit(SDL_INIT_VIDEO)) return true;
    // The program keeps the screen saver off while it runs.
    SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "0");
    // SIGTERM and SIGINT are the runtime's (platform/end_signals.h), not a quit event.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    return SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) == 0;
}

}  // namespace platform
