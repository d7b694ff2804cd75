#include "platform/clock.h"

#include <ctime>

#include "platform/end_signals.h"

namespace platform {

bool ClockCounterQuery(double& frequency) {
    timespec res{};
    if (clock_getres(CLOCK_MONOTONIC, &res) != 0) {
        frequency = 0.0;
        return false;
    }
    frequency = 1e9;  // the counter counts nanoseconds
    return true;
}

int64_t ClockCounter() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<int64_t>(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

double ClockCoarseMs() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<double>(static_cast<int64_t>(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000);
}

void SleepMs(int64_t ms) {
    if (ms <= 0) return;
    // Slices, so an end signal (which may reach any thread) ends the sleep within one; other
    // signals do not cut it short.
    constexpr int64_t kSliceMs = 20;
    timespec deadline{};
    clock_gettime(CLOCK_MONOTONIC, &deadline);
    deadline.tv_sec += static_cast<time_t>(ms / 1000);
    deadline.tv_nsec += static_cast<long>((ms % 1000) * 1000000);
    if (deadline.tv_nsec >= 1000000000) {
        deadline.tv_nsec -= 1000000000;
        ++deadline.tv_sec;
    }
    while (!EndSignalPending()) {
        timespec now{};
        clock_gettime(CLOCK_MONOTONIC, &now);
        const int64_t left = (static_cast<int64_t>(deadline.tv_sec) - now.tv_sec) * 1000000000 +
                             (deadline.tv_nsec - now.tv_nsec);
        if (left <= 0) return;
        const int64_t slice = left < kSliceMs * 1000000 ? left : kSliceMs * 1000000;
        timespec req{static_cast<time_t>(slice / 1000000000),
                     static_cast<long>(slice % 1000000000)};
        nanosleep(&req, nullptr);
    }
}

double ProcessCpuMs() {
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return ts.tv_sec * 1000.0 + ts.tv_nsec / 1e6;
}

}  // namespace platform
