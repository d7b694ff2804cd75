#include "gfx/texture_prep.h"

#include <cmath>
#include <cstring>

int PowerOfTwoAtLeast(int n, int from) {
    int p = from;
    while (p < n && p < (1 << 30)) p *= 2;
    return p;
}

void TextureBufferFill(const DecodedImage& img, int x, int y, int w, int h, int tw, int th,
                       std::vector<uint8_t>& buf) {
    buf.assign(static_cast<size_t>(tw) * th * 4, 0);
    for (int k = 0; k < h && k < th; ++k) {
        const int sy = y + k;
        if (sy < 0 || sy >= img.height) continue;
        const int x0 = x < 0 ? -x : 0;
        int x1 = w < tw ? w : tw;
        if (x + x1 > img.width) x1 = img.width - x;
        if (x1 <= x0) continue;
        std::memcpy(&buf[(static_cast<size_t>(h - 1 - k) * tw + x0) * 4], img.Pixel(x + x0, sy),
                    static_cast<size_t>(x1 - x0) * 4);
    }
}

void EdgeBleed(std::vector<uint8_t>& buf, int tw, int th) {
    for (int y = 0; y < th; ++y) {
        for (int x = 0; x < tw; ++x) {
            uint8_t* t = &buf[(static_cast<size_t>(y) * tw + x) * 4];
            if (t[3] != 0) continue;
            int count = 0, r = 0, g = 0, b = 0;
            for (int dy = -1; dy <= 1; ++dy) {
                for (int dx = -1; dx <= 1; ++dx) {
                    if (!dx && !dy) continue;
                    const int nx = x + dx, ny = y + dy;
                    if (nx <= 0 || ny <= 0 || nx >= tw - 1 || ny >= th - 1) continue;
                    const uint8_t* n = &buf[(static_cast<size_t>(ny) * tw + nx) * 4];
                    if (n[3] == 0) continue;
                    ++count;
                    r += n[0];
                    g += n[1];
                    b += n[2];
                }
            }
            if (count == 0) {
                t[0] = t[1] = t[2] = 0;
            } else {
                t[0] = static_cast<uint8_t>(r / count);
                t[1] = static_cast<uint8_t>(g / count);
                t[2] = static_cast<uint8_t>(b / count);
            }
        }
    }
}

void NormalMapApply(std::vector<uint8_t>& buf, int tw, int th) {
    std::vector<float> height(static_cast<size_t>(tw) * th);
    for (size_t i = 0; i < height.size(); ++i) height[i] = buf[i * 4 + 2] / 255.0f;
    auto h = [&](int x, int y) {
        x = (x % tw + tw) % tw;
        y = (y % th + th) % th;
        return height[static_cast<size_t>(y) * tw + x];
    };
    for (int y = 0; y < th; ++y) {
        for (int x = 0; x < tw; ++x) {
            float nx = -((h(x + 1, y - 1) + 2 * h(x + 1, y) + h(x + 1, y + 1)) -
                         (h(x - 1, y - 1) + 2 * h(x - 1, y) + h(x - 1, y + 1)));
            float ny = (h(x - 1, y + 1) + 2 * h(x, y + 1) + h(x + 1, y + 1)) -
                       (h(x - 1, y - 1) + 2 * h(x, y - 1) + h(x + 1, y - 1));
            float nz = 1.0f;
            const float len = std::sqrt(nx * nx + ny * ny + nz * nz);
            nx /= len;
            ny /= len;
            nz /= len;
            uint8_t* t = &buf[(static_cast<size_t>(y) * tw + x) * 4];
            t[0] = static_cast<uint8_t>((nx + 1) / 2 * 255);
            t[1] = static_cast<uint8_t>((ny + 1) / 2 * 255);
            t[2] = static_cast<uint8_t>((nz + 1) / 2 * 255);
        }
    }
}

void MipSquare(std::vector<uint8_t>& buf, int& w, int& h) {
    while (w > h) {
        const int nw = w / 2;
        std::vector<uint8_t> out(static_cast<size_t>(nw) * h * 4);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < nw; ++x)
                for (int c = 0; c < 4; ++c)
                    out[(static_cast<size_t>(y) * nw + x) * 4 + c] = static_cast<uint8_t>(
                        (buf[(static_cast<size_t>(y) * w + 2 * x) * 4 + c] +
                         buf[(static_cast<size_t>(y) * w + 2 * x + 1) * 4 + c]) /
                        2);
        buf.swap(out);
        w = nw;
    }
    while (h > w) {
        const int nh = h / 2;
        std::vector<uint8_t> out(static_cast<size_t>(w) * nh * 4);
        for (int y = 0; y < nh; ++y)
            for (int x = 0; x < w; ++x)
                for (int c = 0; c < 4; ++c)
                    out[(static_cast<size_t>(y) * w + x) * 4 + c] = static_cast<uint8_t>(
                        (buf[(static_cast<size_t>(2 * y) * w + x) * 4 + c] +
                         buf[(static_cast<size_t>(2 * y + 1) * w + x) * 4 + c]) /
                        2);
        buf.swap(out);
        h = nh;
    }
}

void MipNext(const std::vector<uint8_t>& level, int size, std::vector<uint8_t>& next) {
    const int n = size / 2 > 0 ? size / 2 : 1;
    next.assign(static_cast<size_t>(n) * n * 4, 0);
    auto at = [&](int x, int y, int c) -> int {
        // Texels beyond a 1-wide old level repeat its edge; this only arises for size 1.
        if (x >= size) x = size - 1;
        if (y >= size) y = size - 1;
        return level[(static_cast<size_t>(y) * size + x) * 4 + c];
    };
    for (int y = 0; y < n; ++y) {
        for (int x = 0; x < n; ++x) {
            const bool lastCol = x == n - 1, lastRow = y == n - 1;
            for (int c = 0; c < 4; ++c) {
                const int p = at(2 * x, 2 * y, c);
                int v;
                if (lastCol && lastRow)
                    v = p;
                else if (lastRow)
                    v = (2 * p + at(2 * x + 1, 2 * y, c)) / 3;
                else if (lastCol)
                    v = (2 * p + at(2 * x, 2 * y + 1, c)) / 3;
                else
                    v = (4 * p + 2 * at(2 * x + 1, 2 * y, c) + 2 * at(2 * x, 2 * y + 1, c) +
                         at(2 * x + 1, 2 * y + 1, c)) /
                        9;
                next[(static_cast<size_t>(y) * n + x) * 4 + c] = static_cast<uint8_t>(v);
            }
        }
    }
}
