#include "gfx/draw_geometry.h"

#include <algorithm>
#include <cmath>

#include "gfx/gfx_int.h"

void SpriteDrawVerts(const SpriteDims& d, int x, int y, Vertex2D out[4]) {
    const float u = static_cast<float>(d.W) / d.TW, v = static_cast<float>(d.H) / d.TH;
    const float x0 = static_cast<float>(x), y0 = static_cast<float>(y);
    const float x1 = static_cast<float>(int64_t{x} + d.W),
                y1 = static_cast<float>(int64_t{y} + d.H);
    out[0] = {x1, y0, u, v};
    out[1] = {x0, y0, 0, v};
    out[2] = {x0, y1, 0, 0};
    out[3] = {x1, y1, u, 0};
}

void SpriteStretchVerts(const SpriteDims& d, int x, int y, int w, int h, Vertex2D out[4]) {
    const float u = static_cast<float>(d.W) / d.TW, v = static_cast<float>(d.H) / d.TH;
    const float x0 = static_cast<float>(x), y0 = static_cast<float>(y);
    const float x1 = static_cast<float>(static_cast<int64_t>(x) + w);
    const float y1 = static_cast<float>(static_cast<int64_t>(y) + h);
    out[0] = {x0, y1, 0, 0};
    out[1] = {x1, y1, u, 0};
    out[2] = {x1, y0, u, v};
    out[3] = {x0, y0, 0, v};
}

void SpriteZoomRect(const SpriteDims& d, int x, int y, double zoomX, double zoomY, int& rx, int& ry,
                    int& rw, int& rh) {
    const double w = zoomX * d.W, h = zoomY * d.H;
    rx = GfxInt(x - (w - d.W) / 2);
    ry = GfxInt(y - (h - d.H) / 2);
    rw = GfxInt(w);
    rh = GfxInt(h);
}

namespace {

// The model-view of the original draw: translate to the centre, rotate about (0, 0, -1).
void Place(double cx, double cy, double angle, double lx, double ly, float& x, float& y) {
    const double a = angle * 3.14159265358979323846 / 180.0;
    const double c = std::cos(a), s = std::sin(a);
    x = static_cast<float>(cx + lx * c + ly * s);
    y = static_cast<float>(cy - lx * s + ly * c);
}

}  // namespace

void SpriteRotoZoomVerts(const SpriteDims& d, int x, int y, double angle, double zoom,
                         Vertex2D out[4]) {
    const double hx = zoom * d.W / 2, hy = zoom * d.H / 2;
    const double cx = double(x) + d.W / 2, cy = double(y) + d.H / 2;
    const float uL = 0.5f / d.TW, uR = (d.W - 0.5f) / d.TW;
    const float vB = 0.5f / d.TH, vT = (d.H - 0.5f) / d.TH;
    const double lx[4] = {-hx, hx, hx, -hx}, ly[4] = {hy, hy, -hy, -hy};
    const float us[4] = {uL, uR, uR, uL}, vs[4] = {vB, vB, vT, vT};
    for (int i = 0; i < 4; ++i) {
        Place(cx, cy, angle, lx[i], ly[i], out[i].x, out[i].y);
        out[i].u = us[i];
        out[i].v = vs[i];
    }
}

bool AnimFrameSpan(const SpriteDims& d, int frame, FrameSpan& s) {
    if (d.FW <= 0 || d.FH <= 0 || d.FW > d.W || d.FH > d.H || d.TW <= 0 || d.TH <= 0) return false;
    const int columns = d.W / d.FW;
    const int column = frame % columns, row = frame / columns;
    const float fu = static_cast<float>(d.FW) / d.TW, fv = static_cast<float>(d.FH) / d.TH;
    s.uL = fu * column;
    s.uR = s.uL + fu;
    s.vB = static_cast<float>(d.H - (int64_t{row} + 1) * d.FH) / d.TH;
    s.vT = s.vB + fv;
    return true;
}

bool AnimFrameOffset(const SpriteDims& d, int frame, int& offX, int& offY) {
    if (d.FW <= 0 || d.FH <= 0 || d.FW > d.W || d.FH > d.H) return false;
    const int columns = d.W / d.FW, rows = d.H / d.FH;
    if (frame < 0 || frame >= static_cast<int64_t>(columns) * rows) return false;
    offX = d.FW * (frame % columns);
    offY = d.FH * (frame / columns);
    return true;
}

void AnimDrawVerts(const SpriteDims& d, const FrameSpan& s, int x, int y, Vertex2D out[4]) {
    const float x0 = static_cast<float>(x), y0 = static_cast<float>(y);
    const float x1 = x0 + d.FW, y1 = y0 + d.FH;
    out[0] = {x1, y0, s.uR, s.vT};
    out[1] = {x0, y0, s.uL, s.vT};
    out[2] = {x0, y1, s.uL, s.vB};
    out[3] = {x1, y1, s.uR, s.vB};
}

void AnimStretchVerts(const FrameSpan& s, int x, int y, int w, int h, Vertex2D out[4]) {
    const float x0 = static_cast<float>(x), y0 = static_cast<float>(y);
    const float x1 = static_cast<float>(static_cast<double>(x) + w + 0.1);
    const float y1 = static_cast<float>(static_cast<double>(y) + h + 0.1);
    out[0] = {x0, y0, s.uL, s.vT};
    out[1] = {x0, y1, s.uL, s.vB};
    out[2] = {x1, y1, s.uR, s.vB};
    out[3] = {x1, y0, s.uR, s.vT};
}

void AnimRotoZoomVerts(const SpriteDims& d, const FrameSpan& s, int x, int y, double angle,
                       double zoom, Vertex2D out[4]) {
    const double cx = double(x) + d.FW / 2, cy = double(y) + d.FH / 2;
    const double hw = d.FW * zoom / 2, hh = d.FH * zoom / 2;
    const double a = angle * 0.017453292;
    const double c = std::cos(a), n = std::sin(a);
    auto up = [](double v) { return static_cast<float>(std::ceil(v)); };
    out[0] = {up(cx - hw * c - hh * n), up(cy + hw * n - hh * c), s.uL, s.vT};
    out[1] = {up(cx - hw * c + hh * n), up(cy + hw * n + hh * c), s.uL, s.vB};
    out[2] = {up(cx + hw * c + hh * n), up(cy - hw * n + hh * c), s.uR, s.vB};
    out[3] = {up(cx + hw * c - hh * n), up(cy - hw * n - hh * c), s.uR, s.vT};
}

void RectCorners(int x, int y, int w, int h, float out[4][2]) {
    const int64_t left = w >= 0 ? x : int64_t{x} + w + 1;
    const int64_t right = w >= 0 ? int64_t{x} + w : int64_t{x} + 1;
    const int64_t top = h >= 0 ? y : int64_t{y} + h + 1;
    const int64_t bottom = h >= 0 ? int64_t{y} + h : int64_t{y} + 1;
    const float l = static_cast<float>(left), r = static_cast<float>(right);
    const float t = static_cast<float>(top), b = static_cast<float>(bottom);
    out[0][0] = l, out[0][1] = b;
    out[1][0] = r, out[1][1] = b;
    out[2][0] = r, out[2][1] = t;
    out[3][0] = l, out[3][1] = t;
}

FontGrid FontGridFor(int W, int H, int TW, int TH) {
    FontGrid g;
    g.rows = W < H ? 16 : 8;
    g.cellW = W / 16;
    g.cellH = H / g.rows;
    if (TW > 0 && TH > 0) {
        g.du = (static_cast<float>(W) / TW) / 16;
        g.dv = (static_cast<float>(H) / TH) / g.rows;
    }
    return g;
}

void GlyphVerts(const FontGrid& g, uint8_t b, int px, int py, Vertex2D out[4]) {
    const int i = b % (16 * g.rows);
    const int c = i % 16, r = i / 16;
    const float uL = g.du * c, uR = uL + g.du;
    const float vB = g.dv * (g.rows - 1 - r), vT = vB + g.dv;
    const float x0 = static_cast<float>(px), y0 = static_cast<float>(py);
    const float x1 = x0 + g.cellW, y1 = y0 + g.cellH;
    out[0] = {x0, y1, uL, vB};
    out[1] = {x1, y1, uR, vB};
    out[2] = {x1, y0, uR, vT};
    out[3] = {x0, y0, uL, vT};
}

bool CollideRectsOverlap(const CollideBox& a, const CollideBox& b, int& left, int& top, int& right,
                         int& bottom) {
    const int64_t r = std::min<int64_t>(int64_t{a.x} + a.w, int64_t{b.x} + b.w);
    const int64_t l = std::max(a.x, b.x);
    const int64_t bt = std::min<int64_t>(int64_t{a.y} + a.h, int64_t{b.y} + b.h);
    const int64_t t = std::max(a.y, b.y);
    if (r <= l || bt <= t) return false;
    left = static_cast<int>(l);
    right = static_cast<int>(r);
    top = static_cast<int>(t);
    bottom = static_cast<int>(bt);
    return true;
}

namespace {

bool Opaque(const CollideBox& box, int px, int py) {
    const int64_t col = int64_t{px} - box.x + box.offX;
    const int64_t row = int64_t{box.pictureHeight} - 1 - (int64_t{py} - box.y + box.offY);
    if (col < 0 || row < 0 || col >= box.maskWidth || row >= box.maskHeight) return false;
    return box.mask[row * box.maskWidth + col] != 0;
}

}  // namespace

bool CollideBoxes(const CollideBox& a, const CollideBox& b) {
    int left, top, right, bottom;
    if (!CollideRectsOverlap(a, b, left, top, right, bottom)) return false;
    if (!a.mask || !b.mask) return false;
    static const int kPass[4][2] = {{0, 0}, {1, 0}, {0, 1}, {1, 1}};
    for (const auto& p : kPass)
        for (int py = top + p[1]; py < bottom; py += 2)
            for (int px = left + p[0]; px < right; px += 2)
                if (Opaque(a, px, py) && Opaque(b, px, py)) return true;
    return false;
}
