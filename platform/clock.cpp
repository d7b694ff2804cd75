#include "platform/clock.h"

#include <cerrno>
#include <ctime>

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
    timespec req{static_cast<time_t>(ms / 1000), static_cast<long>((ms % 1000) * 1000000)};
    timespec rem{};
    // Signals must not cut the sleep short.
    while (nanosleep(&req, &rem) != 0 && errno == EINTR) req = rem;
}

double ProcessCpuMs() {
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return ts.tv_sec * 1000.0 + ts.tv_nsec / 1e6;
}

}  // namespace platform
