// The runtime's column of the side-by-side 2D workloads (see the peers' README in the shared
// folder): `peer_workloads W V N` draws workload W (w1 sprites, w2 pixels, w3 text, w4 the
// empty frame) with the runtime's own commands from the same data the peers use, uncapped,
// times frames 20 to 119 from the top of the frame to the return of FramePresent, prints
// "RESULT corvane W V N MS" (the median) and ends. Only variant a is drawn.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "corvane.h"

namespace {

// ---- the peers' scene data, generated the same way (Park-Miller LCG, same seeds) ----

double NowMs() {
    timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

struct Sprite {
    float x, y, a, s;
};
std::vector<Sprite> MakeSprites(int n) {
    std::vector<Sprite> v(n);
    unsigned long long seed = 12345;
    auto rnd = [&] {
        seed = (seed * 16807ULL) % 2147483647ULL;
        return static_cast<double>(seed) / 2147483647.0;
    };
    for (Sprite& s : v) {
        s.x = static_cast<float>(rnd() * 640);
        s.y = static_cast<float>(rnd() * 480);
        s.a = static_cast<float>(rnd() * 6.2831853);
        s.s = static_cast<float>(0.5 + rnd());
    }
    return v;
}

struct Pixel {
    int x, y;
    unsigned char g;
};
std::vector<Pixel> MakePixels() {
    std::vector<Pixel> v;
    const unsigned char grey[3] = {85, 170, 255};
    for (int c = 0; c < 3; c++)
        for (int k = 0; k < 4; k++) {
            const double r = 20 + 15 * k;
            for (int d = 0; d < 360; d++) {
                const double t = d * M_PI / 180;
                v.push_back({static_cast<int>(std::floor(160 + 160 * c + r * std::cos(t))),
                             static_cast<int>(std::floor(240 + r * std::sin(t))), grey[c]});
            }
        }
    return v;
}

std::string BigText() {
    std::string s;
    for (int k = 0; k < 3; k++)
        for (int c = 33; c < 127; c++) s += static_cast<char>(c);
    return s;
}

// The median of frames 20..119, as the peers' timer takes it.
struct FrameTimes {
    std::vector<double> t;
    double t0 = 0;
    int frame = 0;
    int last = 120;  // frames drawn; more only when profiling (CORVANE_PEER_FRAMES)
    void Begin() { t0 = NowMs(); }
    bool End(const std::string& w, const std::string& v, int n) {
        const double e = NowMs() - t0;
        if (frame >= 20) t.push_back(e);
        if (++frame < last) return false;
        std::sort(t.begin(), t.end());
        const size_t m = t.size() / 2;
        std::printf("RESULT corvane %s %s %d %.3f\n", w.c_str(), v.c_str(), n,
                    (t[m - 1] + t[m]) / 2);
        std::fflush(stdout);
        return true;
    }
};

std::string Word(const std::string& line, int n) {
    size_t start = 0;
    for (int i = 0;; ++i) {
        while (start < line.size() && line[start] == ' ') ++start;
        const size_t end = std::min(line.find(' ', start), line.size());
        if (i == n) return line.substr(start, end - start);
        if (end >= line.size()) return "";
        start = end;
    }
}

constexpr double kSpriteSlot = 1;

}  // namespace

void GameMain() {
    const std::string line = CommandLineGet().Str();
    const std::string w = Word(line, 0).empty() ? "w4" : Word(line, 0);
    const std::string v = Word(line, 1).empty() ? "a" : Word(line, 1);
    const int n = Word(line, 2).empty() ? 1000 : std::atoi(Word(line, 2).c_str());
    // Uncapped: a frame slot far shorter than any frame's work, so pacing never waits.
    FrameRateSet(1e6);
    EscapeQuitSet(0);
    const char* assets = std::getenv("PEERS_ASSETS");
    if (w == "w1")
        SpriteLoad(RtString((std::string(assets ? assets : ".") + "/sprite.png").c_str()),
                   kSpriteSlot);
    const std::vector<Sprite> sprites = MakeSprites(n);
    const std::vector<Pixel> pixels = MakePixels();
    const std::string big = BigText();
    FrameTimes timer;
    if (const char* frames = std::getenv("CORVANE_PEER_FRAMES"))
        timer.last = std::max(120, std::atoi(frames));
    for (;;) {
        timer.Begin();
        const int fr = timer.frame;
        if (w == "w1") {
            BlendModeSet(-0.8);
            const double d = fr * 0.01;
            // The peers' quad: half-side 16 * s about (x, y), turned by a + d radians.
            for (const Sprite& s : sprites)
                SpriteDrawRotoZoom(kSpriteSlot, s.x - 16, s.y - 16, (s.a + d) * 180 / M_PI + 90,
                                   s.s);
            BlendModeSet(0);
        } else if (w == "w2") {
            BlendModeSet(0);
            for (const Pixel& p : pixels) PixelSet(p.x, p.y, p.g * 0x010101);
        } else if (w == "w3") {
            // The built-in font: 8 x 8 cells, as the peers' atlas.
            FontSet(0);
            for (int i = 0; i < 25; i++)
                TextPrint(RtString(big.substr((i * 80 + fr) % 94, 80).c_str()), 0, 40 + i * 16);
        }
        FramePresent();
        if (timer.End(w, v, n)) ProgramEnd();
    }
}
