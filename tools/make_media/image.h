// RGBA pictures for the media generator: drawing helpers, glyph rendering and PNG output.
// Everything here is deterministic: the same inputs give the same bytes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace media {

struct Rgba {
    double r = 0, g = 0, b = 0, a = 0;  // 0..1, straight (not premultiplied)
};

struct Image {
    int width = 0, height = 0;
    std::vector<Rgba> px;
    Image(int w, int h) : width(w), height(h), px(static_cast<size_t>(w) * h) {}
    Rgba& at(int x, int y) { return px[static_cast<size_t>(y) * width + x]; }
    const Rgba& at(int x, int y) const { return px[static_cast<size_t>(y) * width + x]; }
    bool inside(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
};

// Source-over of colour c with coverage k (0..1) at (x, y).
void Blend(Image& img, int x, int y, Rgba c, double k);
void FillRect(Image& img, int x, int y, int w, int h, Rgba c);
// Anti-aliased disc / ring by 4 x 4 supersampling.
void FillDisc(Image& img, double cx, double cy, double r, Rgba c);
void FillRing(Image& img, double cx, double cy, double r0, double r1, Rgba c);

// A coverage mask (0..1 per pixel).
struct Mask {
    int width = 0, height = 0;
    std::vector<double> v;
    Mask(int w, int h) : width(w), height(h), v(static_cast<size_t>(w) * h) {}
    double at(int x, int y) const {
        return x < 0 || y < 0 || x >= width || y >= height ? 0
                                                           : v[static_cast<size_t>(y) * width + x];
    }
    double& ref(int x, int y) { return v[static_cast<size_t>(y) * width + x]; }
};

// Renders text with a DejaVu face into a mask: pixelSize is FreeType's pixel height, the
// baseline at baselineY and the pen at penX. Returns the advance in pixels.
// pixelWidth widens or narrows the glyphs (0: as tall as wide).
double TextMask(Mask& m, const std::string& fontFile, int pixelSize, const std::string& text,
                double penX, int baselineY, bool hinted, int pixelWidth = 0);
// The ink box of text at that size (for centring): left, top offsets from the pen and
// baseline, width and height.
void TextBox(const std::string& fontFile, int pixelSize, const std::string& text, int& left,
             int& top, int& width, int& height, int pixelWidth = 0);

// The mask grown by radius pixels (a round outline).
Mask Dilate(const Mask& m, double radius);

// 8-bit RGBA PNG without time or text chunks.
bool WritePng(const std::string& path, const Image& img);

// A tiny deterministic random stream.
struct Lcg {
    uint32_t s;
    explicit Lcg(uint32_t seed) : s(seed * 2654435761u + 1) {}
    uint32_t next() {
        s = s * 1664525u + 1013904223u;
        return s >> 8;
    }
    double unit() { return (next() & 0xFFFF) / 65535.0; }
};

// Value noise in 0..1 on a lattice of the given cell size, tiling every period cells.
double Noise(double x, double y, double cell, uint32_t seed);

std::string FontPath(const char* name);

}  // namespace media
