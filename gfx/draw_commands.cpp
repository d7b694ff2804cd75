// The 2D drawing commands: blend mode, sprites, animation frames, coloured primitives,
// pixel read-back and the polygon batch. Sprite and primitive draws go through the draw
// batch; everything that reads pixels or changes GL state outside it flushes first.
#include <GL/gl.h>

#include <cmath>
#include <string>
#include <vector>

#include "corvane.h"
#include "gfx/draw_batch.h"
#include "gfx/draw_geometry.h"
#include "gfx/gfx_int.h"
#include "gfx/renderer.h"
#include "gfx/sprite_slot.h"
#include "gfx/texture_store.h"
#include "runtime/diagnostics.h"
#include "runtime/runtime_state.h"

namespace {

// Drawing a slot that holds nothing is mostly a load that failed or a wrong number; it is
// said once per slot (whichever command meets it first), not once a frame. The key leaves the
// command out so every draw command shares it.
void EmptySlotReport(const char* command, int s, const SpriteSlot* slot) {
    const std::string key = "sprite slot " + std::to_string(s);
    std::string message = std::string(command) + ": slot " + std::to_string(s);
    message += slot ? " is empty (nothing was loaded into it, or its load failed)"
                    : " is out of range (0 to 65535)";
    DiagReportOnce(DiagLevel::Warning, key, "", message);
}

// A drawable slot: its sizes and texture, or false (no context, bad number, empty slot).
bool Drawable(const char* command, int s, SpriteDims& d, const SpriteSlot*& slot) {
    if (!GfxReady()) return false;
    slot = SlotGet(s);
    if (!slot || !slot->texture || slot->textureWidth <= 0 || slot->textureHeight <= 0) {
        EmptySlotReport(command, s, slot);
        return false;
    }
    d.W = slot->pictureWidth;
    d.H = slot->pictureHeight;
    d.TW = slot->textureWidth;
    d.TH = slot->textureHeight;
    d.FW = slot->frameWidth;
    d.FH = slot->frameHeight;
    return true;
}

void BeginSprite(int s, const SpriteSlot& slot, bool clamp, bool clockwise) {
    BatchKey k;
    k.texture = slot.texture;
    k.slot = s;
    k.filter = GfxRenderer()->smoothing ? GL_LINEAR : GL_NEAREST;
    k.clampToEdge = clamp;
    k.frontFaceClockwise = clockwise;
    Draw2DBegin(k);
}

// Sprites draw in white with the current alpha.
void PutSpriteQuad(const Vertex2D q[4]) {
    const float a = GfxRenderer()->currentAlpha;
    BatchVertex v[4];
    for (int i = 0; i < 4; ++i) v[i] = {q[i].x, q[i].y, 0.0f, q[i].u, q[i].v, 1, 1, 1, a};
    Draw2DQuad(v);
}

void StretchDraw(const char* command, int s, int x, int y, int w, int h) {
    SpriteDims d;
    const SpriteSlot* slot;
    if (!Drawable(command, s, d, slot)) return;
    Vertex2D q[4];
    SpriteStretchVerts(d, x, y, w, h, q);
    BeginSprite(s, *slot, true, StretchMirrored(w, h));
    PutSpriteQuad(q);
}

// The colour of a coloured primitive: its bytes, alpha 0 for the transparent colour, else
// the current alpha as a byte.
struct PrimColour {
    float r, g, b, a;
};
PrimColour ColourOf(double colour) {
    const Renderer* rd = GfxRenderer();
    const int c = GfxInt(colour);
    const int a = c == rd->spriteTransparentColour ? 0 : static_cast<int>(rd->currentAlpha * 255);
    return {(c & 255) / 255.0f, ((c >> 8) & 255) / 255.0f, ((c >> 16) & 255) / 255.0f,
            (a & 255) / 255.0f};
}

// Integer coordinates hit pixel centres.
constexpr float kPixelCentre = 0.375f;

void BeginColoured(BatchPrimitive p) {
    BatchKey k;
    k.alphaTest = false;
    k.primitive = p;
    Draw2DBegin(k);
}

void PutPoint(const PrimColour& c, double x, double y) {
    Draw2DVertex(static_cast<float>(GfxInt(x)) + kPixelCentre,
                 static_cast<float>(GfxInt(y)) + kPixelCentre, 0, 0, 0, c.r, c.g, c.b, c.a);
}

}  // namespace

void BlendModeSet(double mode) {
    Renderer* r = GfxRenderer();
    if (!r) return;
    const float m = static_cast<float>(mode);
    const bool blend = m != 0.0f || std::isnan(m);
    const bool additive = m > 0.0f;
    if (GfxReady()) {
        // Pending draws were made for the blend state GL has now; only a change ends them.
        if (Draw2DPending() > 0) {
            GLint dst = 0;
            const bool on = glIsEnabled(GL_BLEND) == GL_TRUE;
            glGetIntegerv(GL_BLEND_DST, &dst);
            const bool same = on == blend && (!blend || (dst == GL_ONE) == additive);
            if (!same) Draw2DFlush();
        }
        if (blend) {
            glEnable(GL_BLEND);
            glBlendFunc(GL_SRC_ALPHA, additive ? GL_ONE : GL_ONE_MINUS_SRC_ALPHA);
        } else {
            glDisable(GL_BLEND);
        }
    }
    // A mode that is not a number blends with alpha 1 rather than an undefined alpha.
    float alpha = 1.0f;
    if (blend && !std::isnan(m)) alpha = std::fabs(m) > 1.0f ? 1.0f : std::fabs(m);
    r->currentAlpha = alpha;
    if (GfxReady()) glColor4f(1, 1, 1, alpha);
}

void SpriteDraw(double slot, double x, double y) {
    const int s = GfxInt(slot);
    SpriteDims d;
    const SpriteSlot* sp;
    if (!Drawable("SpriteDraw", s, d, sp)) return;
    Vertex2D q[4];
    SpriteDrawVerts(d, GfxInt(x), GfxInt(y), q);
    BeginSprite(s, *sp, false, false);
    PutSpriteQuad(q);
}

void SpriteDrawStretch(double slot, double x, double y, double width, double height) {
    StretchDraw("SpriteDrawStretch", GfxInt(slot), GfxInt(x), GfxInt(y), GfxInt(width),
                GfxInt(height));
}

void SpriteDrawZoom(double slot, double x, double y, double zoomX, double zoomY) {
    const int s = GfxInt(slot);
    SpriteDims d;
    const SpriteSlot* sp;
    if (!Drawable("SpriteDrawZoom", s, d, sp)) return;
    int rx, ry, rw, rh;
    SpriteZoomRect(d, GfxInt(x), GfxInt(y), zoomX, zoomY, rx, ry, rw, rh);
    StretchDraw("SpriteDrawZoom", s, rx, ry, rw, rh);
}

namespace {
void RotoZoomDraw(const char* command, double slot, double x, double y, double angle, double zoom) {
    const int s = GfxInt(slot);
    SpriteDims d;
    const SpriteSlot* sp;
    if (!Drawable(command, s, d, sp)) return;
    Vertex2D q[4];
    SpriteRotoZoomVerts(d, GfxInt(x), GfxInt(y), angle, zoom, q);
    BeginSprite(s, *sp, true, false);
    PutSpriteQuad(q);
}
}  // namespace

void SpriteDrawRotoZoom(double slot, double x, double y, double angle, double zoom) {
    RotoZoomDraw("SpriteDrawRotoZoom", slot, x, y, angle, zoom);
}

void SpriteDrawRotate(double slot, double x, double y, double angle) {
    RotoZoomDraw("SpriteDrawRotate", slot, x, y, angle, 1.0);
}

namespace {
// A slot that can be drawn and holds the whole frame asked for.
bool FrameDrawable(const char* command, int s, int frame, SpriteDims& d, const SpriteSlot*& sp,
                   FrameSpan& span) {
    return Drawable(command, s, d, sp) && AnimFrameSpan(d, frame, span);
}

// The animation draws differ only in the corners of the frame's quad.
template <typename Corners>
void AnimFrameDraw(const char* command, double slot, double frame, bool clamp, Corners corners) {
    const int s = GfxInt(slot);
    SpriteDims d;
    const SpriteSlot* sp;
    FrameSpan span;
    if (!FrameDrawable(command, s, GfxInt(frame), d, sp, span)) return;
    Vertex2D q[4];
    corners(d, span, q);
    BeginSprite(s, *sp, clamp, false);
    PutSpriteQuad(q);
}
}  // namespace

void AnimDraw(double slot, double frame, double x, double y) {
    AnimFrameDraw("AnimDraw", slot, frame, false,
                  [&](const SpriteDims& d, const FrameSpan& span, Vertex2D* q) {
                      AnimDrawVerts(d, span, GfxInt(x), GfxInt(y), q);
                  });
}

void AnimDrawStretch(double slot, double frame, double x, double y, double width, double height) {
    AnimFrameDraw("AnimDrawStretch", slot, frame, true,
                  [&](const SpriteDims&, const FrameSpan& span, Vertex2D* q) {
                      AnimStretchVerts(span, GfxInt(x), GfxInt(y), GfxInt(width), GfxInt(height),
                                       q);
                  });
}

void AnimDrawRotoZoom(double slot, double frame, double x, double y, double angle, double zoom) {
    AnimFrameDraw("AnimDrawRotoZoom", slot, frame, true,
                  [&](const SpriteDims& d, const FrameSpan& span, Vertex2D* q) {
                      AnimRotoZoomVerts(d, span, GfxInt(x), GfxInt(y), angle, zoom, q);
                  });
}

double ColourRgb(double red, double green, double blue) {
    // Compared before the truncation, so a huge value cannot overflow it; NaN fails both.
    const auto byte = [](double v) { return v >= 255 ? 255 : v > 0 ? static_cast<int>(v) : 0; };
    return byte(red) + byte(green) * 256.0 + byte(blue) * 65536.0;
}

void RectDraw(double x, double y, double width, double height, double colour) {
    if (!GfxReady()) return;
    float c[4][2];
    RectCorners(GfxInt(x), GfxInt(y), GfxInt(width), GfxInt(height), c);
    const PrimColour pc = ColourOf(colour);
    BatchVertex v[4];
    for (int i = 0; i < 4; ++i)
        v[i] = {c[i][0] + kPixelCentre, c[i][1] + kPixelCentre, 0, 0, 0, pc.r, pc.g, pc.b, pc.a};
    BeginColoured(BatchPrimitive::Triangles);
    Draw2DQuad(v);
}

void LineDraw(double x1, double y1, double x2, double y2, double colour) {
    if (!GfxReady()) return;
    const PrimColour pc = ColourOf(colour);
    BeginColoured(BatchPrimitive::Lines);
    PutPoint(pc, x1, y1);
    PutPoint(pc, x2, y2);
    // GL leaves a line's last pixel out; the point sets it.
    BeginColoured(BatchPrimitive::Points);
    PutPoint(pc, x2, y2);
}

void PixelSet(double x, double y, double colour) {
    if (!GfxReady()) return;
    const PrimColour pc = ColourOf(colour);
    BeginColoured(BatchPrimitive::Points);
    PutPoint(pc, x, y);
}

double PixelGet(double x, double y) {
    Renderer* r = GfxRenderer();
    if (!GfxReady()) return 0;
    Draw2DFlush();
    // A target drawn into a framebuffer is read there, from its picture's top row; the copy
    // path draws on the window, which is read like any other frame.
    int width = 0, height = 0;
    if (!r->SurfaceSize(width, height)) glReadBuffer(GL_BACK);
    uint8_t rgb[3] = {0, 0, 0};
    GlReadPixelsPacked(GfxInt(x), height - 1 - GfxInt(y), 1, 1, GL_RGB, rgb);
    return rgb[0] + rgb[1] * 256.0 + rgb[2] * 65536.0;
}

void PolyStart(double slot) {
    const int s = GfxInt(slot);
    Renderer* r = GfxRenderer();
    if (!r) return;
    r->polygon.vertices.clear();
    r->polygon.vertices.reserve(8 * 8);
    // Negative numbers mean untextured, as the bind rule has it; numbers past the table
    // draw nothing.
    r->polygon.valid = s < 0 || SpriteSlotValid(s);
    r->polygon.slot = s < 0 ? -1 : s;
    if (!GfxReady() || !r->polygon.valid) return;
    Draw2DFlush();
    SpriteBind(r->polygon.slot, -1, 0);
}

void PolyPoint(double x, double y, double textureX, double textureY, double colour) {
    Renderer* r = GfxRenderer();
    if (!r) return;
    float u = 0, v = 0;
    if (r->polygon.slot >= 0) {
        if (const SpriteSlot* sp = SlotGet(r->polygon.slot); sp && sp->textureWidth > 0) {
            u = static_cast<float>(textureX / sp->textureWidth);
            v = static_cast<float>((sp->pictureHeight - textureY) / sp->textureHeight);
        }
    }
    const int c = GfxInt(colour);
    const float a = c == r->spriteTransparentColour ? 0.0f : r->currentAlpha;
    const float vert[8] = {
        static_cast<float>(x),     static_cast<float>(y),      u, v, (c & 255) / 255.0f,
        ((c >> 8) & 255) / 255.0f, ((c >> 16) & 255) / 255.0f, a};
    r->polygon.vertices.insert(r->polygon.vertices.end(), vert, vert + 8);
}

void PolyEnd() {
    Renderer* r = GfxRenderer();
    if (!GfxReady() || !r->polygon.valid) return;
    Draw2DFlush();
    // What ran since PolyStart may have bound another texture.
    SpriteBind(r->polygon.slot, -1, 0);
    const bool textured = r->polygon.slot >= 0;
    glEnable(GL_COLOR_MATERIAL);
    glEnable(GL_DITHER);
    glShadeModel(GL_SMOOTH);
    const int count = static_cast<int>(r->polygon.vertices.size() / 8);
    if (count > 0) {
        const GLsizei stride = 8 * sizeof(float);
        glEnableClientState(GL_VERTEX_ARRAY);
        glVertexPointer(2, GL_FLOAT, stride, &r->polygon.vertices[0]);
        if (textured) {
            glEnableClientState(GL_TEXTURE_COORD_ARRAY);
            glTexCoordPointer(2, GL_FLOAT, stride, &r->polygon.vertices[2]);
        }
        glEnableClientState(GL_COLOR_ARRAY);
        glColorPointer(4, GL_FLOAT, stride, &r->polygon.vertices[4]);
    }
    if (textured) {
        const GLint f = r->smoothing ? GL_LINEAR : GL_NEAREST;
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, f);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, f);
    }
    if (count > 0) {
        glDrawArrays(GL_TRIANGLE_FAN, 0, count);
        glDisableClientState(GL_VERTEX_ARRAY);
        glDisableClientState(GL_TEXTURE_COORD_ARRAY);
        glDisableClientState(GL_COLOR_ARRAY);
    }
    glShadeModel(GL_FLAT);
    glEnable(GL_TEXTURE_2D);
    glColor4f(1, 1, 1, r->currentAlpha);
    glDisable(GL_DITHER);
    glDisable(GL_COLOR_MATERIAL);
}
