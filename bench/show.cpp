// The whole show under the fixed-step clock: each frame's work time (drawing and game logic,
// the swap and the wait left out), the worst frame, the 99th percentile and the run time.
// Needs a display (run it under xvfb-run). Prints one JSON line.
//   bench_show [path/to/zan3]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

int main(int argc, char** argv) {
    const std::string exe = argc > 1 ? argv[1] : std::string(CORVANE_BENCH_SHOW);
    const std::string log = (std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "/tmp") +
                            std::string("/corvane-bench-show.log");
    const std::string command = "CORVANE_FIXED_STEP=1 SDL_AUDIODRIVER=dummy CORVANE_FRAME_LOG='" +
                                log + "' '" + exe + "' > /dev/null 2>&1";
    const auto start = std::chrono::steady_clock::now();
    const int rc = std::system(command.c_str());
    const std::chrono::duration<double> total = std::chrono::steady_clock::now() - start;
    std::ifstream in(log);
    std::vector<std::pair<double, long>> frames;  // work ms, frame number
    long n;
    double ms;
    while (in >> n >> ms) frames.emplace_back(ms, n);
    if (rc != 0 || frames.empty()) {
        std::fprintf(stderr, "the show did not run (status %d, %zu frames logged)\n", rc,
                     frames.size());
        return 1;
    }
    std::vector<std::pair<double, long>> sorted = frames;
    std::sort(sorted.begin(), sorted.end());
    const double p99 = sorted[std::min(sorted.size() - 1, sorted.size() * 99 / 100)].first;
    double sum = 0;
    long over = 0;
    for (const auto& f : frames) {
        sum += f.first;
        if (f.first > 1000.0 / 60.0) ++over;
    }
    std::printf("{\"bench\":\"show\",\"frames\":%zu,\"mean_ms\":%.3f,\"p99_ms\":%.3f,"
                "\"worst_ms\":%.3f,\"worst_frames\":[",
                frames.size(), sum / double(frames.size()), p99, sorted.back().first);
    for (size_t i = 0; i < 5 && i < sorted.size(); ++i)
        std::printf("%s[%ld,%.3f]", i ? "," : "", sorted[sorted.size() - 1 - i].second,
                    sorted[sorted.size() - 1 - i].first);
    std::printf("],\"frames_over_16.7ms\":%ld,\"run_s\":%.2f}\n", over, total.count());
    return 0;
}
