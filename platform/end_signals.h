// The end signals (SIGTERM, SIGINT): the handler only records that one came; the runtime's
// waits look at the record and take the program through its end path.
#pragma once

namespace platform {

// Installs the handlers (idempotent). Before the window system starts, so its own handlers
// stay out.
void EndSignalsCatch();

// Whether an end signal has arrived since EndSignalsCatch.
bool EndSignalPending();

}  // namespace platform
