#include "image.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include <png.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "platform/files.h"

namespace media {

void Blend(Image& img, int x, int y, Rgba c, double k) {
    if (!img.inside(x, y) || k <= 0) return;
    Rgba& d = img.at(x, y);
    const double sa = std::clamp(c.a * k, 0.0, 1.0);
    const double oa = sa + d.a * (1 - sa);
    if (oa <= 0) {
        d = Rgba{};
        return;
    }
    d.r = (c.r * sa + d.r * d.a * (1 - sa)) / oa;
    d.g = (c.g * sa + d.g * d.a * (1 - sa)) / oa;
    d.b = (c.b * sa + d.b * d.a * (1 - sa)) / oa;
    d.a = oa;
}

void FillRect(Image& img, int x, int y, int w, int h, Rgba c) {
    for (int j = y; j < y + h; ++j)
        for (int i = x; i < x + w; ++i) Blend(img, i, j, c, 1);
}

namespace {

template <typename Inside>
void Supersample(Image& img, double x0, double y0, double x1, double y1, Rgba c, Inside in) {
    for (int y = static_cast<int>(std::floor(y0)); y <= static_cast<int>(std::ceil(y1)); ++y)
        for (int x = static_cast<int>(std::floor(x0)); x <= static_cast<int>(std::ceil(x1)); ++x) {
            int n = 0;
            for (int sy = 0; sy < 4; ++sy)
                for (int sx = 0; sx < 4; ++sx)
                    if (in(x + (sx + 0.5) / 4, y + (sy + 0.5) / 4)) ++n;
            Blend(img, x, y, c, n / 16.0);
        }
}

}  // namespace

void FillDisc(Image& img, double cx, double cy, double r, Rgba c) {
    Supersample(img, cx - r - 1, cy - r - 1, cx + r + 1, cy + r + 1, c, [&](double x, double y) {
        return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r;
    });
}

void FillRing(Image& img, double cx, double cy, double r0, double r1, Rgba c) {
    Supersample(img, cx - r1 - 1, cy - r1 - 1, cx + r1 + 1, cy + r1 + 1, c,
                [&](double x, double y) {
                    const double d = (x - cx) * (x - cx) + (y - cy) * (y - cy);
                    return d <= r1 * r1 && d >= r0 * r0;
                });
}

namespace {

struct Face {
    FT_Library lib = nullptr;
    FT_Face face = nullptr;
    Face(const std::string& file, int pixelSize, int pixelWidth) {
        if (FT_Init_FreeType(&lib) || FT_New_Face(lib, file.c_str(), 0, &face)) {
            std::fprintf(stderr, "make_media: cannot open font %s\n", file.c_str());
            std::exit(2);
        }
        FT_Set_Pixel_Sizes(face, pixelWidth, pixelSize);
    }
    ~Face() {
        FT_Done_Face(face);
        FT_Done_FreeType(lib);
    }
};

}  // namespace

double TextMask(Mask& m, const std::string& fontFile, int pixelSize, const std::string& text,
                double penX, int baselineY, bool hinted, int pixelWidth) {
    Face f(fontFile, pixelSize, pixelWidth);
    double pen = penX;
    const FT_Int32 flags = FT_LOAD_RENDER | (hinted ? FT_LOAD_TARGET_LIGHT : FT_LOAD_NO_HINTING);
    for (unsigned char ch : text) {
        if (FT_Load_Char(f.face, ch, flags)) continue;
        const FT_GlyphSlot g = f.face->glyph;
        const int ox = static_cast<int>(std::lround(pen)) + g->bitmap_left;
        const int oy = baselineY - g->bitmap_top;
        for (unsigned y = 0; y < g->bitmap.rows; ++y)
            for (unsigned x = 0; x < g->bitmap.width; ++x) {
                const int px = ox + static_cast<int>(x), py = oy + static_cast<int>(y);
                if (px < 0 || py < 0 || px >= m.width || py >= m.height) continue;
                const double v = g->bitmap.buffer[y * g->bitmap.pitch + x] / 255.0;
                m.ref(px, py) = std::max(m.ref(px, py), v);
            }
        pen += g->advance.x / 64.0;
    }
    return pen - penX;
}

void TextBox(const std::string& fontFile, int pixelSize, const std::string& text, int& left,
             int& top, int& width, int& height, int pixelWidth) {
    Mask m(4 * pixelSize * static_cast<int>(text.size() + 2), 4 * pixelSize);
    const int base = 2 * pixelSize;
    TextMask(m, fontFile, pixelSize, text, pixelSize, base, false, pixelWidth);
    int x0 = m.width, y0 = m.height, x1 = -1, y1 = -1;
    for (int y = 0; y < m.height; ++y)
        for (int x = 0; x < m.width; ++x)
            if (m.at(x, y) > 0) {
                x0 = std::min(x0, x);
                y0 = std::min(y0, y);
                x1 = std::max(x1, x);
                y1 = std::max(y1, y);
            }
    left = x0 - pixelSize;
    top = y0 - base;
    width = x1 - x0 + 1;
    height = y1 - y0 + 1;
}

Mask Dilate(const Mask& m, double radius) {
    Mask out(m.width, m.height);
    const int r = static_cast<int>(std::ceil(radius));
    for (int y = 0; y < m.height; ++y)
        for (int x = 0; x < m.width; ++x) {
            double best = 0;
            for (int dy = -r; dy <= r; ++dy)
                for (int dx = -r; dx <= r; ++dx) {
                    const double d = std::sqrt(dx * dx + dy * dy);
                    if (d > radius + 0.5) continue;
                    const double fall = std::clamp(radius + 0.5 - d, 0.0, 1.0);
                    best = std::max(best, m.at(x + dx, y + dy) * fall);
                }
            out.ref(x, y) = best;
        }
    return out;
}

bool WritePng(const std::string& path, const Image& img) {
    std::string bytes;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(
        png, &bytes,
        [](png_structp p, png_bytep data, size_t n) {
            static_cast<std::string*>(png_get_io_ptr(p))->append(reinterpret_cast<char*>(data), n);
        },
        nullptr);
    png_set_IHDR(png, info, img.width, img.height, 8, PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_compression_level(png, 9);
    png_write_info(png, info);
    std::vector<unsigned char> row(static_cast<size_t>(img.width) * 4);
    for (int y = 0; y < img.height; ++y) {
        for (int x = 0; x < img.width; ++x) {
            const Rgba& p = img.at(x, y);
            auto q = [](double v) {
                return static_cast<unsigned char>(std::lround(std::clamp(v, 0.0, 1.0) * 255));
            };
            const bool clear = q(p.a) == 0;
            row[x * 4 + 0] = clear ? 0 : q(p.r);
            row[x * 4 + 1] = clear ? 0 : q(p.g);
            row[x * 4 + 2] = clear ? 0 : q(p.b);
            row[x * 4 + 3] = q(p.a);
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return platform::FileWriteWhole(path, bytes);
}

namespace {

double Lattice(int x, int y, uint32_t seed) {
    uint32_t h = static_cast<uint32_t>(x) * 374761393u + static_cast<uint32_t>(y) * 668265263u +
                 seed * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    h ^= h >> 16;
    return (h & 0xFFFF) / 65535.0;
}

}  // namespace

double Noise(double x, double y, double cell, uint32_t seed) {
    const double fx = x / cell, fy = y / cell;
    const int ix = static_cast<int>(std::floor(fx)), iy = static_cast<int>(std::floor(fy));
    const double tx = fx - ix, ty = fy - iy;
    const double sx = tx * tx * (3 - 2 * tx), sy = ty * ty * (3 - 2 * ty);
    const double a = Lattice(ix, iy, seed), b = Lattice(ix + 1, iy, seed);
    const double c = Lattice(ix, iy + 1, seed), d = Lattice(ix + 1, iy + 1, seed);
    return (a + (b - a) * sx) + ((c + (d - c) * sx) - (a + (b - a) * sx)) * sy;
}

std::string FontPath(const char* name) {
    return std::string("/usr/share/fonts/truetype/dejavu/") + name;
}

}  // namespace media
