// Frame pacing: 600 presents at 60 frames per second through the real window and clock.
// Prints the median, 99th percentile and worst deviation of the frame interval from
// 1000 / 60 ms, and the CPU time the process burns per second of pacing (the spin part of the
// pacing rule costs CPU by design; this shows how much).
// Run under a display, e.g. `xvfb-run -a build/bench/bench_frame_pacing`.
// It starts the runtime itself, so it keeps its own main().
#define CORVANE_OWN_MAIN
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <vector>

#include "corvane.h"
#include "frame/startup.h"
#include "runtime/end_path.h"

namespace {

double CpuMs() {
    return static_cast<double>(std::clock()) * 1000.0 / CLOCKS_PER_SEC;
}

}  // namespace

void GameMain() {
    constexpr int kFrames = 600;
    constexpr double kSlot = 1000.0 / 60.0;
    FrameRateSet(60);
    for (int i = 0; i < 30; ++i) FramePresent();  // settle the schedule

    std::vector<double> intervals;
    intervals.reserve(kFrames);
    const double cpu0 = CpuMs();
    const auto wall0 = std::chrono::steady_clock::now();
    double last = TimerGet();
    for (int i = 0; i < kFrames; ++i) {
        FramePresent();
        const double now = TimerGet();
        intervals.push_back(now - last);
        last = now;
    }
    const double wallMs =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - wall0).count();
    const double cpuMs = CpuMs() - cpu0;

    std::vector<double> dev;
    dev.reserve(intervals.size());
    for (double v : intervals) dev.push_back(std::fabs(v - kSlot));
    std::sort(dev.begin(), dev.end());
    const double median = dev[dev.size() / 2];
    const double p99 = dev[static_cast<size_t>(dev.size() * 0.99)];
    const double worst = dev.back();
    double mean = 0;
    for (double v : intervals) mean += v;
    mean /= intervals.size();

    std::printf("frames              %d\n", kFrames);
    std::printf("mean interval       %.3f ms (target %.3f)\n", mean, kSlot);
    std::printf("median deviation    %.3f ms\n", median);
    std::printf("99th pct deviation  %.3f ms\n", p99);
    std::printf("worst deviation     %.3f ms\n", worst);
    std::printf("CPU per second      %.1f ms\n", cpuMs / (wallMs / 1000.0));
    std::fflush(stdout);
    EndPath();
}

int main(int argc, char** argv) {
    ProgramEntry(nullptr, CommandLineTail(argc, argv), kShowDefault);
}
