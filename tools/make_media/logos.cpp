// The intro's two pictures: the project's wordmark and its mark (a broken ring round a
// four-pointed vane). Both sit on transparency so the 24 spinning copies show through each
// other; their sizes keep the largest copy (zoom 4.3, turned up to 23 degrees) inside
// 640 x 480.
#include <algorithm>
#include <cmath>

#include "image.h"
#include "pictures.h"

namespace media {

namespace {

constexpr double kPi = 3.14159265358979323846;

template <typename Inside>
double Coverage(int x, int y, Inside in) {
    int n = 0;
    for (int sy = 0; sy < 4; ++sy)
        for (int sx = 0; sx < 4; ++sx)
            if (in(x + (sx + 0.5) / 4, y + (sy + 0.5) / 4)) ++n;
    return n / 16.0;
}

Rgba Mix(Rgba a, Rgba b, double t) {
    t = std::clamp(t, 0.0, 1.0);
    return Rgba{a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t, 1};
}

bool WriteWordmark(const std::string& dir) {
    const int w = 128, h = 40;
    const std::string font = FontPath("DejaVuSans-Bold.ttf");
    int size = 30, left = 0, top = 0, tw = 0, th = 0;
    for (; size > 10; --size) {
        TextBox(font, size, "Corvane", left, top, tw, th);
        if (tw <= w - 8 && th <= h - 8) break;
    }
    Mask m(w, h);
    const int base = (h - th) / 2 - top;
    TextMask(m, font, size, "Corvane", (w - tw) / 2.0 - left, base, false);
    const Mask outline = Dilate(m, 1.5);
    Image img(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            Blend(img, x, y, Rgba{0.03, 0.05, 0.16, 0.95}, outline.at(x, y));
            const Rgba c = Mix(Rgba{0.55, 0.95, 1.0, 1}, Rgba{0.45, 0.35, 1.0, 1},
                               (y - 8) / 24.0 + (x - 64) / 400.0);
            Blend(img, x, y, c, m.at(x, y));
        }
    // A thin underline that ends in points, tying the letters together.
    for (int x = 8; x < w - 8; ++x) {
        const double t = 1 - std::abs(x - w / 2.0) / (w / 2.0 - 8);
        Blend(img, x, h - 4, Rgba{1.0, 0.62, 0.25, 1}, std::clamp(t * 1.6, 0.0, 1.0));
    }
    return WritePng(dir + "/image 1.2.png", img);
}

bool WriteMark(const std::string& dir) {
    const int n = 80;
    const double c = n / 2.0;
    Image img(n, n);
    auto ringIn = [&](double x, double y, double r0, double r1) {
        const double dx = x - c, dy = y - c, d = std::sqrt(dx * dx + dy * dy);
        const double a = std::atan2(dy, dx) * 180 / kPi;  // 0 at the right, clockwise
        return d >= r0 && d <= r1 && !(a > -32 && a < 8);
    };
    // The vane: a four-pointed star, long points up and down.
    auto vaneIn = [&](double x, double y, double grow) {
        const double dx = std::abs(x - c), dy = std::abs(y - c);
        const double lx = 12 + grow, ly = 26 + grow;
        return std::pow(dx / lx, 0.55) + std::pow(dy / ly, 0.55) <= 1;
    };
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            Blend(img, x, y, Rgba{0.05, 0.03, 0.10, 0.9},
                  Coverage(x, y, [&](double px, double py) { return ringIn(px, py, 29, 38); }));
            const double ang = std::atan2(y - c, x - c);
            Blend(img, x, y,
                  Mix(Rgba{1.0, 0.80, 0.30, 1}, Rgba{0.95, 0.25, 0.45, 1}, (std::sin(ang) + 1) / 2),
                  Coverage(x, y, [&](double px, double py) { return ringIn(px, py, 30.5, 36.5); }));
            Blend(img, x, y, Rgba{0.04, 0.06, 0.18, 0.9},
                  Coverage(x, y, [&](double px, double py) { return vaneIn(px, py, 2); }));
            Blend(img, x, y,
                  Mix(Rgba{0.92, 0.98, 1.0, 1}, Rgba{0.35, 0.75, 1.0, 1}, std::abs(y - c) / 26),
                  Coverage(x, y, [&](double px, double py) { return vaneIn(px, py, 0); }));
        }
    // A small dot in the ring's gap, like a bird leaving it.
    FillDisc(img, c + 33, c - 10, 3.2, Rgba{0.05, 0.03, 0.10, 0.9});
    FillDisc(img, c + 33, c - 10, 2.2, Rgba{1.0, 0.85, 0.4, 1});
    return WritePng(dir + "/image 2.2.png", img);
}

}  // namespace

bool WriteLogos(const std::string& dir) {
    return WriteWordmark(dir) && WriteMark(dir);
}

bool WriteGlows(const std::string& dir) {
    const int n = 48;
    const double c = (n - 1) / 2.0;
    Image paper(n, n), snow(n, n);
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            const double d = std::sqrt((x - c) * (x - c) + (y - c) * (y - c)) / (n / 2.0);
            const double soft = std::pow(std::clamp(1 - d, 0.0, 1.0), 2.2);
            const double core = std::exp(-d * d * 28);
            paper.at(x, y) =
                Rgba{1.0, 0.72 + 0.25 * core, 0.45 + 0.5 * core, std::min(1.0, soft + core * 0.3)};
            snow.at(x, y) = Rgba{0.75 + 0.25 * core, 0.88 + 0.12 * core, 1.0,
                                 std::min(1.0, soft * 0.9 + core * 0.5)};
        }
    return WritePng(dir + "/circle 2.png", paper) && WritePng(dir + "/circle 3.png", snow);
}

}  // namespace media
