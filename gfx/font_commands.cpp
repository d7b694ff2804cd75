// Bitmap fonts: 32 font slots, loading with the built-in fall-back, and printing.
#include <GL/gl.h>

#include <cmath>
#include <string>

#include "core/number_text.h"
#include "corvane.h"
#include "files/archive.h"
#include "gfx/draw_batch.h"
#include "gfx/draw_geometry.h"
#include "gfx/font_builtin.h"
#include "gfx/gfx_int.h"
#include "gfx/gfx_text.h"
#include "gfx/picture_file_load.h"
#include "gfx/renderer.h"
#include "gfx/sprite_slot.h"
#include "gfx/texture_store.h"
#include "runtime/rt_text.h"
#include "runtime/runtime_state.h"

namespace {

int FontClamp(double n) {
    const int f = GfxInt(n);
    return f < 0 ? 0 : f >= kFontCount ? kFontCount - 1 : f;
}

void BuiltinInstall(int slot) {
    SlotReset(slot);
    DecodedImage img;
    BuiltinFontPicture(img);
    SlotLoadImage(slot, img, true, false);
}

}  // namespace

int GfxPrint(int font, const RtString& text, double x, double y, float z) {
    if (text.Length() == 0 || font < 0 || font >= kFontCount || !GfxReady()) return 0;
    const int s = kFontSlotBase + font;
    const SpriteSlot* slot = SlotGet(s);
    if (!slot || !slot->texture) return 0;
    const FontGrid g = FontGridFor(slot->pictureWidth, slot->pictureHeight, slot->textureWidth,
                                   slot->textureHeight);
    if (g.cellW <= 0 || g.cellH <= 0) return 0;
    // Fonts keep the filtering their texture was made with.
    BatchKey k;
    k.texture = slot->texture;
    k.slot = s;
    Draw2DBegin(k);
    const float a = GfxRenderer()->currentAlpha;
    int px = GfxCeil(x);
    const int py = GfxCeil(y);
    const auto* bytes = reinterpret_cast<const uint8_t*>(text.Text());
    Vertex2D q[4];
    BatchVertex v[4];
    for (uint32_t i = 0; i < text.Length(); ++i) {
        GlyphVerts(g, bytes[i], px, py, q);
        for (int j = 0; j < 4; ++j) v[j] = {q[j].x, q[j].y, z, q[j].u, q[j].v, 1, 1, 1, a};
        Draw2DQuad(v);
        px += g.cellW;
    }
    return 0;
}

void FontLoad(const RtString& file, double font) {
    const int n = FontClamp(font);
    runtimeState.currentFont = n;
    const int slot = kFontSlotBase + n;
    const Renderer* r = GfxRenderer();
    if (!r) return;
    // No name asks for the built-in font (start-up does so); a name that fails is said.
    const std::string name = RtToStd(file);
    if (!name.empty() && PictureFileLoad("FontLoad", slot, name, r->fontTransparentColour, false))
        return;
    BuiltinInstall(slot);
}

void FontSet(double font) {
    runtimeState.currentFont = FontClamp(font);
}

void TextPrint(const RtString& text, double x, double y) {
    GfxPrint(runtimeState.currentFont, text, x, y, 0.0f);
}

void NumberPrint(double value, double x, double y) {
    char buf[kNumberTextMax];
    const int len = FormatReal(value, buf);
    GfxPrint(runtimeState.currentFont, StdToRt(std::string(buf, len)), x, y, 0.0f);
}

void FontSizeGet(int& cellWidth, int& cellHeight) {
    cellWidth = cellHeight = 0;
    const SpriteSlot* slot = SlotGet(kFontSlotBase + FontClamp(runtimeState.currentFont));
    if (!slot) return;
    const FontGrid g = FontGridFor(slot->pictureWidth, slot->pictureHeight, 0, 0);
    cellWidth = g.cellW;
    cellHeight = g.cellH;
}

void FontSizeGet(double& cellWidth, double& cellHeight) {
    int w = 0, h = 0;
    FontSizeGet(w, h);
    cellWidth = w;
    cellHeight = h;
}

void FontBuiltinLoad(int font) {
    runtimeState.currentFont = FontClamp(font);
    if (GfxRenderer()) BuiltinInstall(kFontSlotBase + FontClamp(font));
}
