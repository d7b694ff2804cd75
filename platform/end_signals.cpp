#include "platform/end_signals.h"

#include <signal.h>

#include <atomic>

namespace platform {
namespace {

// Lock-free, so setting it is safe inside a signal handler.
std::atomic<bool> endSignal{false};
static_assert(std::atomic<bool>::is_always_lock_free);

void OnEndSignal(int) {
    endSignal.store(true, std::memory_order_relaxed);
}

}  // namespace

void EndSignalsCatch() {
    struct sigaction sa {};
    sa.sa_handler = OnEndSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;  // no system call elsewhere fails because of it
    sigaction(SIGTERM, &sa, nullptr);
    sigaction(SIGINT, &sa, nullptr);
}

bool EndSignalPending() {
    return endSignal.load(std::memory_order_relaxed);
}

}  // namespace platform
