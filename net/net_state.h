// The network module's state: the one session and what the commands remember between calls.
#pragma once

#include <cstdint>

#include "net/session.h"

struct NetState {
    NetSession session;
    int32_t lastSender = -1;  // the sender of the last message NetMessageGet took
};

// The state, or null before start-up's network step and after the end path's.
NetState* Net();
