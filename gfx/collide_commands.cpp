// Pixel-exact collision tests over the slots' alpha masks.
#include "corvane.h"
#include "gfx/draw_geometry.h"
#include "gfx/gfx_int.h"
#include "gfx/sprite_slot.h"
#include "gfx/texture_store.h"

namespace {

// The screen rectangle of slot s at (x, y): its whole picture, or with frames one frame.
// False when the slot cannot take part (bad number, empty, no such frame).
bool BoxOf(int s, int x, int y, bool useFrame, int frame, CollideBox& box) {
    const SpriteSlot* slot = SlotGet(s);
    if (!slot || slot->pictureWidth <= 0 || slot->pictureHeight <= 0) return false;
    box.x = x;
    box.y = y;
    box.w = slot->pictureWidth;
    box.h = slot->pictureHeight;
    box.offX = box.offY = 0;
    box.pictureHeight = slot->pictureHeight;
    box.maskWidth = slot->textureWidth;
    box.maskHeight = slot->textureHeight;
    box.mask = nullptr;
    if (useFrame && slot->frameWidth != 0) {
        SpriteDims d;
        d.W = slot->pictureWidth;
        d.H = slot->pictureHeight;
        d.FW = slot->frameWidth;
        d.FH = slot->frameHeight;
        if (!AnimFrameOffset(d, frame, box.offX, box.offY)) return false;
        box.w = d.FW;
        box.h = d.FH;
    }
    return true;
}

double Collide(CollideBox& a, int sa, CollideBox& b, int sb) {
    int l, t, r, btm;
    if (!CollideRectsOverlap(a, b, l, t, r, btm)) return 0;
    a.mask = AlphaMaskGet(sa);
    b.mask = AlphaMaskGet(sb);
    if (!a.mask || !b.mask) return 0;
    return CollideBoxes(a, b) ? 1 : 0;
}

}  // namespace

double SpriteCollide(double slot1, double x1, double y1, double slot2, double x2, double y2) {
    const int s1 = GfxInt(slot1), s2 = GfxInt(slot2);
    CollideBox a, b;
    if (!BoxOf(s1, GfxInt(x1), GfxInt(y1), false, 0, a) ||
        !BoxOf(s2, GfxInt(x2), GfxInt(y2), false, 0, b))
        return 0;
    return Collide(a, s1, b, s2);
}

double AnimCollide(double slot1, double frame1, double x1, double y1, double slot2, double frame2,
                   double x2, double y2) {
    const int s1 = GfxInt(slot1), s2 = GfxInt(slot2);
    CollideBox a, b;
    if (!BoxOf(s1, GfxInt(x1), GfxInt(y1), true, GfxInt(frame1), a) ||
        !BoxOf(s2, GfxInt(x2), GfxInt(y2), true, GfxInt(frame2), b))
        return 0;
    return Collide(a, s1, b, s2);
}
