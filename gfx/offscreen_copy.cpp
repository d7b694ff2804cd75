#include "gfx/offscreen_copy.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "corvane.h"
#include "gfx/draw_batch.h"
#include "gfx/draw_geometry.h"
#include "gfx/gl_ext.h"
#include "gfx/renderer.h"
#include "gfx/shaders.h"
#include "gfx/sprite_slot.h"
#include "gfx/texture_prep.h"
#include "gfx/texture_store.h"

namespace {

// The path's own copies draw exactly: blending off, alpha 1, fixed function. Whatever the
// program had set comes back afterwards.
class PlainDrawing {
public:
    explicit PlainDrawing(Renderer& r) : r_(r) {
        Draw2DFlush();
        blend_ = glIsEnabled(GL_BLEND) == GL_TRUE;
        alpha_ = r.currentAlpha;
        program_ = ShaderProgramInUse();
        glDisable(GL_BLEND);
        r.currentAlpha = 1.0f;
        if (program_) GlExt().glUseProgramObjectARB(0);
    }
    ~PlainDrawing() {
        Draw2DFlush();
        if (blend_) glEnable(GL_BLEND);
        r_.currentAlpha = alpha_;
        glColor4f(1, 1, 1, alpha_);
        if (program_) GlExt().glUseProgramObjectARB(program_);
    }
    PlainDrawing(const PlainDrawing&) = delete;
    PlainDrawing& operator=(const PlainDrawing&) = delete;

private:
    Renderer& r_;
    bool blend_ = false;
    float alpha_ = 1.0f;
    uint32_t program_ = 0;
};

// The window's top-left cw x ch pixels into the scratch slot, as they are (no transparent
// colour), so the restore gives back every pixel.
void ScratchSave(Renderer& r, int cw, int ch) {
    SpriteSlot& sc = r.spriteTable[kScratchSlot];
    const int tw = PowerOfTwoAtLeast(cw, 2), th = PowerOfTwoAtLeast(ch, 2);
    Draw2DFlush();
    if (!sc.texture || sc.textureWidth != tw || sc.textureHeight != th) {
        SlotReset(kScratchSlot);
        sc.texture = TextureNew(GL_NEAREST, GL_CLAMP_TO_EDGE);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, tw, th, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
        sc.textureWidth = static_cast<int16_t>(tw);
        sc.textureHeight = static_cast<int16_t>(th);
    } else {
        glBindTexture(GL_TEXTURE_2D, sc.texture);
    }
    AlphaMaskFree(kScratchSlot);
    glReadBuffer(GL_BACK);
    glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 0, r.height - ch, cw, ch);
    sc.pictureWidth = static_cast<int16_t>(cw);
    sc.pictureHeight = static_cast<int16_t>(ch);
    r.currentTextureSprite = -1;
}

// Draws the scratch copy back at the window's top-left, alpha test off.
void ScratchRestore(Renderer& r) {
    const SpriteSlot& sc = r.spriteTable[kScratchSlot];
    if (!sc.texture || sc.pictureWidth <= 0 || sc.pictureHeight <= 0) return;
    SpriteDims d;
    d.W = sc.pictureWidth;
    d.H = sc.pictureHeight;
    d.TW = sc.textureWidth;
    d.TH = sc.textureHeight;
    Vertex2D q[4];
    SpriteDrawVerts(d, 0, 0, q);
    BatchKey k;
    k.texture = sc.texture;
    k.slot = kScratchSlot;
    k.filter = GL_NEAREST;
    k.alphaTest = false;
    Draw2DBegin(k);
    BatchVertex v[4];
    for (int i = 0; i < 4; ++i) v[i] = {q[i].x, q[i].y, 0.0f, q[i].u, q[i].v, 1, 1, 1, 1};
    Draw2DQuad(v);
    Draw2DFlush();
}

}  // namespace

void OffscreenCopyStart(Renderer& r, int slot, int w, int h) {
    r.Viewport2D(0, 0, w, h);
    const int cw = std::min(w, r.width), ch = std::min(h, r.height);
    if (cw <= 0 || ch <= 0) return;
    PlainDrawing plain(r);
    ScratchSave(r, cw, ch);
    RectDraw(0, 0, w, h, r.spriteTransparentColour);
    SpriteDraw(slot, 0, 0);
}

void OffscreenCopyFinish(Renderer& r, int slotNumber) {
    Draw2DFlush();
    // The copies are in window pixels, whatever viewport the drawing left behind.
    r.Viewport2D(0, 0, 0, 0);
    SpriteSlot* sp = SlotGet(slotNumber);
    if (sp && sp->texture && sp->pictureWidth > 0 && sp->pictureHeight > 0) {
        const int W = sp->pictureWidth, H = sp->pictureHeight;
        const int cw = std::min(W, r.width), ch = std::min(H, r.height);
        const bool copyAlpha = FramebufferAlphaBits() != 0;
        const int key = copyAlpha ? 0 : TransparentColourOnScreen();
        AlphaMaskFree(slotNumber);
        // A stale mip-mapped copy would show the old picture.
        if (sp->mipmappedTexture) glDeleteTextures(1, &sp->mipmappedTexture);
        sp->mipmappedTexture = 0;
        glReadBuffer(GL_BACK);
        // The window's top rows are the picture's top rows, which sit highest in the texture.
        const int glY = r.height - ch, texY = H - ch;
        if (copyAlpha) {
            glBindTexture(GL_TEXTURE_2D, sp->texture);
            glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, texY, 0, glY, cw, ch);
        } else {
            std::vector<uint8_t> rect(static_cast<size_t>(cw) * ch * 4);
            GlReadPixelsPacked(0, glY, cw, ch, GL_BGRA, rect.data());
            const int kr = key & 255, kg = (key >> 8) & 255, kb = (key >> 16) & 255;
            for (size_t i = 0; i < rect.size(); i += 4)
                rect[i + 3] = (rect[i + 2] == kr && rect[i + 1] == kg && rect[i] == kb) ? 0 : 255;
            glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
            glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
            glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
            glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
            glBindTexture(GL_TEXTURE_2D, sp->texture);
            glTexSubImage2D(GL_TEXTURE_2D, 0, 0, texY, cw, ch, GL_BGRA, GL_UNSIGNED_BYTE,
                            rect.data());
            glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
        }
        r.currentTextureSprite = -1;
    }
    PlainDrawing plain(r);
    ScratchRestore(r);
}
