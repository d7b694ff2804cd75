// Platform-internal: lets other platform/ sources see every SDL event the window pump reads.
// Only platform/ files include this header (it carries SDL types).
#pragma once

#include <SDL2/SDL.h>

namespace platform {

using SdlEventObserver = void (*)(const SDL_Event&);

// Adds an observer; each is called for every event the pump takes, in the order added,
// before the window itself handles it. Adding the same observer twice has no effect.
void SdlEventObserverAdd(SdlEventObserver fn);
void SdlEventObserverRemove(SdlEventObserver fn);

// Calls every observer with the event (the pump does this).
void SdlEventNotify(const SDL_Event& ev);

// Makes sure SDL's video (and event) subsystem is started; true on success. The window and
// the input devices share one SDL start.
bool SdlVideoStart();

}  // namespace platform
