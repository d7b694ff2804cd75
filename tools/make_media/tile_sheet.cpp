// The tile sheet: 15 x 12 tiles of 21 x 21 pixels on a 22-pixel pitch (a 1-pixel gap), one
// set of a walled garden: ground kinds, walls, doors, markers, portal and arrow tiles, the
// letter coins and their shadow. Opaque tiles never hold pure black, which the screen grab
// that cuts them treats as transparent.
#include <algorithm>
#include <cmath>
#include <functional>

#include "image.h"
#include "pictures.h"

namespace media {

namespace {

constexpr int kT = 21;
constexpr double kPi = 3.14159265358979323846;

struct Tile {
    Image& img;
    int ox, oy;
    void put(int x, int y, Rgba c, double k = 1) {
        if (x < 0 || y < 0 || x >= kT || y >= kT) return;
        c.r = std::max(c.r, 0.03);
        c.g = std::max(c.g, 0.03);
        c.b = std::max(c.b, 0.03);
        Blend(img, ox + x, oy + y, c, k);
    }
};

Rgba Shade(Rgba c, double f) {
    return Rgba{std::clamp(c.r * f, 0.0, 1.0), std::clamp(c.g * f, 0.0, 1.0),
                std::clamp(c.b * f, 0.0, 1.0), c.a};
}

Rgba Mix(Rgba a, Rgba b, double t) {
    t = std::clamp(t, 0.0, 1.0);
    return Rgba{a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t,
                a.a + (b.a - a.a) * t};
}

Rgba Hex(unsigned v) {
    return Rgba{((v >> 16) & 255) / 255.0, ((v >> 8) & 255) / 255.0, (v & 255) / 255.0, 1};
}

// A textured fill: base colour varied by two octaves of noise.
void Ground(Tile& t, Rgba base, double amount, uint32_t seed, double cell = 4) {
    for (int y = 0; y < kT; ++y)
        for (int x = 0; x < kT; ++x) {
            const double n =
                Noise(x, y, cell, seed) * 0.65 + Noise(x, y, cell / 2, seed + 7) * 0.35;
            t.put(x, y, Shade(base, 1 + (n - 0.5) * amount));
        }
}

// Raised edges: light top-left, dark bottom-right.
void Bevel(Tile& t, int inset, double strength) {
    for (int i = inset; i < kT - inset; ++i) {
        t.put(i, inset, Rgba{1, 1, 1, 1}, strength);
        t.put(inset, i, Rgba{1, 1, 1, 1}, strength * 0.8);
        t.put(i, kT - 1 - inset, Rgba{0.03, 0.03, 0.05, 1}, strength * 1.2);
        t.put(kT - 1 - inset, i, Rgba{0.03, 0.03, 0.05, 1}, strength);
    }
}

void Speckles(Tile& t, Rgba c, int count, uint32_t seed, double k = 1) {
    Lcg r(seed);
    for (int i = 0; i < count; ++i) t.put(r.next() % kT, r.next() % kT, c, k);
}

void Flowers(Tile& t, Rgba petal, uint32_t seed) {
    Lcg r(seed);
    for (int i = 0; i < 4; ++i) {
        const int x = 2 + r.next() % 17, y = 2 + r.next() % 17;
        t.put(x - 1, y, petal);
        t.put(x + 1, y, petal);
        t.put(x, y - 1, petal);
        t.put(x, y + 1, petal);
        t.put(x, y, Hex(0xffe27a));
    }
}

void Bricks(Tile& t, Rgba brick, Rgba mortar, uint32_t seed) {
    Ground(t, brick, 0.35, seed, 3);
    for (int y = 0; y < kT; ++y) {
        const int row = y / 5;
        for (int x = 0; x < kT; ++x) {
            const int off = (row % 2) * 5;
            if (y % 5 == 4 || (x + off) % 10 == 9)
                t.put(x, y, mortar);
            else if (y % 5 == 0)
                t.put(x, y, Rgba{1, 1, 1, 1}, 0.12);
        }
    }
}

void Planks(Tile& t, Rgba wood, bool vertical, uint32_t seed) {
    for (int y = 0; y < kT; ++y)
        for (int x = 0; x < kT; ++x) {
            const int a = vertical ? x : y, b = vertical ? y : x;
            const int plank = a / 5;
            const double grain = std::sin(b * 0.9 + plank * 2.1 + Noise(a, b, 3, seed) * 3) * 0.08;
            Rgba c = Shade(wood, 1 + grain + (plank % 2) * 0.07);
            if (a % 5 == 4) c = Shade(wood, 0.45);
            t.put(x, y, c);
        }
}

void Cobbles(Tile& t, Rgba stone, Rgba gap, uint32_t seed) {
    // Nearest of a few seeded centres: a stone per cell, dark where two stones meet.
    Lcg r(seed);
    double cx[7], cy[7];
    for (int i = 0; i < 7; ++i) {
        cx[i] = r.unit() * kT;
        cy[i] = r.unit() * kT;
    }
    for (int y = 0; y < kT; ++y)
        for (int x = 0; x < kT; ++x) {
            double d1 = 1e9, d2 = 1e9;
            int best = 0;
            for (int i = 0; i < 7; ++i)
                for (int wy = -1; wy <= 1; ++wy)
                    for (int wx = -1; wx <= 1; ++wx) {
                        const double dx = x - (cx[i] + wx * kT), dy = y - (cy[i] + wy * kT);
                        const double d = std::sqrt(dx * dx + dy * dy);
                        if (d < d1) {
                            d2 = d1;
                            d1 = d;
                            best = i;
                        } else if (d < d2) {
                            d2 = d;
                        }
                    }
            Rgba c = Shade(stone, 0.85 + 0.1 * (best % 3) + (Noise(x, y, 3, seed) - 0.5) * 0.2);
            if (d2 - d1 < 1.2) c = gap;
            t.put(x, y, c);
        }
}

void Water(Tile& t, Rgba deep, Rgba light, uint32_t seed, double waves) {
    for (int y = 0; y < kT; ++y)
        for (int x = 0; x < kT; ++x) {
            const double w = std::sin((x + y * 0.5) * 0.7 + Noise(x, y, 5, seed) * 4) * 0.5 + 0.5;
            t.put(x, y, Mix(deep, light, w * waves + Noise(x, y, 4, seed + 1) * 0.2));
        }
}

void Temple(Tile& t, Rgba a, Rgba b) {
    for (int y = 0; y < kT; ++y)
        for (int x = 0; x < kT; ++x) {
            const bool check = ((x / 7) + (y / 7)) % 2 == 0;
            Rgba c = check ? a : b;
            if (x % 7 == 0 || y % 7 == 0) c = Shade(c, 0.7);
            t.put(x, y, c);
        }
}

void Disc(Tile& t, double cx, double cy, double r, Rgba c) {
    for (int y = 0; y < kT; ++y)
        for (int x = 0; x < kT; ++x) {
            int n = 0;
            for (int s = 0; s < 16; ++s) {
                const double px = x + (s % 4 + 0.5) / 4, py = y + (s / 4 + 0.5) / 4;
                if ((px - cx) * (px - cx) + (py - cy) * (py - cy) <= r * r) ++n;
            }
            if (n) t.put(x, y, c, n / 16.0);
        }
}

void Glyph(Tile& t, const char* text, int size, Rgba c, double dx = 0, double dy = 0) {
    const std::string font = FontPath("DejaVuSans-Bold.ttf");
    int left = 0, top = 0, w = 0, h = 0;
    TextBox(font, size, text, left, top, w, h);
    Mask m(kT, kT);
    const double penX = (kT - w) / 2.0 - left + dx;
    const int base = static_cast<int>(std::lround((kT - h) / 2.0 - top + dy));
    TextMask(m, font, size, text, penX, base, false);
    for (int y = 0; y < kT; ++y)
        for (int x = 0; x < kT; ++x) t.put(x, y, c, m.at(x, y));
}

void Floor(Tile& t) {
    Ground(t, Hex(0x5b6473), 0.18, 51, 5);
    for (int i = 0; i < kT; ++i) {
        t.put(i, 0, Hex(0x7d8796));
        t.put(0, i, Hex(0x7d8796));
        t.put(i, kT - 1, Hex(0x3a404b));
        t.put(kT - 1, i, Hex(0x3a404b));
    }
}

// Markers stand on cells without ground of their own, so they bring a floor with them.
void Marker(Tile& t, const char* sign, Rgba rim, Rgba face) {
    Floor(t);
    Disc(t, 10.5, 10.5, 9.5, Shade(rim, 0.5));
    Disc(t, 10.5, 10.5, 8.5, rim);
    Disc(t, 9.5, 9.5, 6.5, face);
    Glyph(t, sign, 13, Hex(0xffffff));
}

void Arrow(Tile& t, int dir) {
    Floor(t);
    // Pointing right, turned by dir quarter turns (1 right, 2 down, 3 left, 4 up).
    for (int y = 0; y < kT; ++y)
        for (int x = 0; x < kT; ++x) {
            double u = x - 10, v = y - 10;
            for (int k = 1; k < dir; ++k) {
                const double nu = v, nv = -u;
                u = nu;
                v = nv;
            }
            const bool shaft = u >= -7 && u <= 1 && std::abs(v) <= 1.6;
            const bool head = u >= 0 && u <= 7 && std::abs(v) <= 7 - u;
            const bool glow = u >= -8.5 && u <= 8.5 && std::abs(v) <= 8.5 - std::max(0.0, u);
            if (glow) t.put(x, y, Hex(0x3fd3ff), 0.22);
            if (shaft || head) t.put(x, y, Mix(Hex(0x9ff2ff), Hex(0x2bb6e8), (u + 7) / 14));
        }
}

void Portal(Tile& t) {
    Floor(t);
    for (int y = 0; y < kT; ++y)
        for (int x = 0; x < kT; ++x) {
            const double dx = x - 10, dy = y - 10, d = std::sqrt(dx * dx + dy * dy);
            if (d > 9.5) continue;
            const double a = std::atan2(dy, dx);
            const double swirl = std::sin(a * 3 + d * 0.9) * 0.5 + 0.5;
            Rgba c = Mix(Hex(0x2a0f4a), Hex(0xc77dff), swirl * (1 - d / 11));
            if (d > 8.5) c = Hex(0xe0c3ff);
            t.put(x, y, c);
        }
}

void Coin(Tile& t, const char* letter) {
    Disc(t, 10.5, 10.5, 9.8, Hex(0x6b4510));
    Disc(t, 10.5, 10.5, 8.8, Hex(0xf2c14e));
    Disc(t, 9.8, 9.8, 6.5, Hex(0xffd978));
    Glyph(t, letter, 13, Hex(0x5a2e06), 0, -0.5);
}

void Door(Tile& t, bool vertical) {
    Planks(t, Hex(0x8a5a2b), vertical, 49);
    for (int i = 0; i < kT; ++i) {
        // Iron bands across the planks and a frame.
        for (int b : {4, 16}) {
            if (vertical)
                t.put(i, b, Hex(0x8f9aa8));
            else
                t.put(b, i, Hex(0x8f9aa8));
        }
        t.put(i, 0, Hex(0x3c2712));
        t.put(0, i, Hex(0x3c2712));
        t.put(i, kT - 1, Hex(0x2b1b0c));
        t.put(kT - 1, i, Hex(0x2b1b0c));
    }
    if (vertical)
        t.put(15, 10, Hex(0xffe08a));
    else
        t.put(10, 15, Hex(0xffe08a));
}

void Draw(Image& sheet, int k, const std::function<void(Tile&)>& f) {
    Tile t{sheet, 22 * (k % 15), 22 * (k / 15)};
    f(t);
}

}  // namespace

bool WriteTileSheet(const std::string& dir) {
    Image sheet(15 * 22, 12 * 22);
    // "a ".."z ": grass, path, cobbles, water, sand, boards, moss, temple floor.
    const Rgba grass = Hex(0x4f8a3a), dirt = Hex(0x8a6a45), sand = Hex(0xd8c08a);
    Draw(sheet, 0, [&](Tile& t) { Ground(t, grass, 0.35, 1); });
    Draw(sheet, 1, [&](Tile& t) {
        Ground(t, grass, 0.35, 2);
        Flowers(t, Hex(0xf06a8a), 3);
    });
    Draw(sheet, 2, [&](Tile& t) {
        Ground(t, Shade(grass, 1.12), 0.4, 4);
        Speckles(t, Hex(0x9fd86a), 18, 5);
    });
    Draw(sheet, 3, [&](Tile& t) {
        Ground(t, Shade(grass, 0.75), 0.35, 6);
        Flowers(t, Hex(0xa98cff), 7);
    });
    Draw(sheet, 4, [&](Tile& t) {
        Ground(t, dirt, 0.3, 8);
        Speckles(t, Hex(0x5e4630), 14, 9);
    });
    Draw(sheet, 5, [&](Tile& t) {
        Ground(t, Shade(dirt, 1.15), 0.25, 10);
        Speckles(t, Hex(0xb89a70), 12, 11);
    });
    Draw(sheet, 6, [&](Tile& t) {
        Ground(t, Mix(dirt, grass, 0.4), 0.35, 12);
        Speckles(t, Hex(0x6fae4a), 20, 13);
    });
    Draw(sheet, 7, [&](Tile& t) { Cobbles(t, Hex(0x8c8f96), Hex(0x3b3e45), 14); });
    Draw(sheet, 8, [&](Tile& t) { Cobbles(t, Hex(0xa39a8a), Hex(0x4a4236), 15); });
    Draw(sheet, 9, [&](Tile& t) { Cobbles(t, Hex(0x6f7a86), Hex(0x2e343c), 16); });
    Draw(sheet, 10, [&](Tile& t) { Cobbles(t, Hex(0x7f8c6e), Hex(0x364030), 17); });
    Draw(sheet, 11, [&](Tile& t) { Water(t, Hex(0x1f5f8b), Hex(0x4fa8d8), 18, 0.8); });
    Draw(sheet, 12, [&](Tile& t) { Water(t, Hex(0x143e66), Hex(0x2f78b0), 19, 0.6); });
    Draw(sheet, 13, [&](Tile& t) { Water(t, Hex(0x2a7fa0), Hex(0x8fe0f0), 20, 0.9); });
    Draw(sheet, 14, [&](Tile& t) { Ground(t, sand, 0.15, 21, 6); });
    Draw(sheet, 15, [&](Tile& t) {
        Ground(t, Shade(sand, 0.9), 0.2, 22, 3);
        Speckles(t, Hex(0xa88c5a), 10, 23);
    });
    Draw(sheet, 16, [&](Tile& t) { Ground(t, Mix(sand, dirt, 0.35), 0.2, 24); });
    Draw(sheet, 17, [&](Tile& t) { Planks(t, Hex(0x9c6b3a), false, 25); });
    Draw(sheet, 18, [&](Tile& t) { Planks(t, Hex(0xb4854e), false, 26); });
    Draw(sheet, 19, [&](Tile& t) { Planks(t, Hex(0x7a4f2a), true, 27); });
    Draw(sheet, 20, [&](Tile& t) { Cobbles(t, Hex(0x6f8a5a), Hex(0x2f3f26), 28); });
    Draw(sheet, 21, [&](Tile& t) {
        Ground(t, Hex(0x5f7a4a), 0.45, 29, 3);
        Bevel(t, 0, 0.18);
    });
    Draw(sheet, 22, [&](Tile& t) {
        Ground(t, Hex(0x48603c), 0.5, 30, 3);
        Speckles(t, Hex(0x8fb86a), 16, 31);
    });
    Draw(sheet, 23, [&](Tile& t) { Temple(t, Hex(0xd9d2c0), Hex(0xb7ae98)); });
    Draw(sheet, 24, [&](Tile& t) { Temple(t, Hex(0xc9a66b), Hex(0x9f7d48)); });
    Draw(sheet, 25, [&](Tile& t) { Temple(t, Hex(0x8fa7c4), Hex(0x6a819e)); });
    // "A ".."M ": walls and blocks.
    Draw(sheet, 26, [&](Tile& t) { Bricks(t, Hex(0x9a4a3a), Hex(0x4a2a22), 32); });
    Draw(sheet, 27, [&](Tile& t) { Bricks(t, Hex(0x8a8c92), Hex(0x3e4046), 33); });
    Draw(sheet, 28, [&](Tile& t) { Bricks(t, Hex(0x5a5560), Hex(0x26232a), 34); });
    Draw(sheet, 29, [&](Tile& t) {
        Bricks(t, Hex(0x7a8a6a), Hex(0x34402c), 35);
        Speckles(t, Hex(0x6fae4a), 14, 36);
    });
    Draw(sheet, 30, [&](Tile& t) {
        Ground(t, Hex(0x2f6a2a), 0.6, 37, 2.5);
        Bevel(t, 0, 0.25);
    });
    Draw(sheet, 31, [&](Tile& t) {
        Ground(t, Hex(0x3d7a32), 0.6, 38, 2.5);
        Flowers(t, Hex(0xffffff), 39);
        Bevel(t, 0, 0.25);
    });
    Draw(sheet, 32, [&](Tile& t) {
        Ground(t, Hex(0x9a9488), 0.25, 40, 5);
        Bevel(t, 0, 0.4);
        Bevel(t, 1, 0.15);
    });
    Draw(sheet, 33, [&](Tile& t) {
        Ground(t, Hex(0x7d705e), 0.25, 41, 5);
        Bevel(t, 0, 0.4);
        Bevel(t, 1, 0.15);
    });
    Draw(sheet, 34, [&](Tile& t) {
        for (int y = 0; y < kT; ++y)
            for (int x = 0; x < kT; ++x) {
                const double n = Noise(x, y, 4, 42);
                t.put(x, y, Mix(Hex(0x8a1a08), Hex(0xffb02e), n * n * 1.6));
            }
    });
    Draw(sheet, 35, [&](Tile& t) {
        Water(t, Hex(0xa8d8f0), Hex(0xf0fbff), 43, 0.7);
        Speckles(t, Hex(0xffffff), 8, 44);
    });
    Draw(sheet, 36, [&](Tile& t) {
        Ground(t, Hex(0x3a2a5a), 0.3, 45);
        for (int i = 0; i < 3; ++i) {
            const int cx = 4 + i * 6, cy = 6 + (i % 2) * 8;
            for (int d = 0; d < 5; ++d) {
                t.put(cx, cy - d, Hex(0xb48cff), 1 - d * 0.15);
                t.put(cx + 1, cy - d + 1, Hex(0x6a4ab0));
            }
        }
    });
    Draw(sheet, 37, [&](Tile& t) {
        Ground(t, Hex(0x3e4350), 0.2, 46);
        Disc(t, 10.5, 10.5, 8.5, Hex(0x262a33));
        Disc(t, 10, 10, 7.5, Hex(0xa8acb8));
        Disc(t, 9, 9, 4, Hex(0xd8dce6));
    });
    Draw(sheet, 38, [&](Tile& t) {
        Ground(t, Hex(0x0c1024), 0.4, 47, 6);
        Speckles(t, Hex(0xcfe0ff), 6, 48, 0.8);
        Speckles(t, Hex(0x6a7ab0), 8, 49, 0.8);
    });
    Draw(sheet, 39, [&](Tile& t) { Door(t, true); });
    Draw(sheet, 40, [&](Tile& t) { Door(t, false); });
    Draw(sheet, 41, [&](Tile& t) { Floor(t); });
    Draw(sheet, 42, [&](Tile& t) { Marker(t, "!", Hex(0xd8402a), Hex(0xff7a4a)); });
    Draw(sheet, 43, [&](Tile& t) { Marker(t, "?", Hex(0x2a6ad8), Hex(0x4aa8ff)); });
    Draw(sheet, 48, [&](Tile& t) { Portal(t); });
    for (int d = 1; d <= 4; ++d) Draw(sheet, 48 + d, [&](Tile& t) { Arrow(t, d); });
    const char* letters[] = {"m", "l", "s", "t", "e"};
    for (int i = 0; i < 5; ++i) Draw(sheet, 53 + i, [&](Tile& t) { Coin(t, letters[i]); });
    Draw(sheet, 58, [&](Tile& t) { Disc(t, 10.5, 10.5, 9.8, Rgba{0.04, 0.04, 0.06, 0.6}); });
    return WritePng(dir + "/map.png", sheet);
}

}  // namespace media
