#include "game/map_play.h"

#include "corvane.h"
#include "game/map_loader.h"

namespace zan3 {

namespace {

constexpr double kGreyLight = 250, kGreyDark = 0, kGreyMid = 125, kGreyBar = 80;
constexpr double kGreyToColour = 65793;

int Px(double v) {
    return static_cast<int>(v);
}

void Circle(double x, double y, double radius, double grey) {
    const double colour = grey * kGreyToColour;
    for (double a = 0; a < 360; a += 1)
        PixelSet(Px(x + MathSin(a) * radius), Px(y - MathCos(a) * radius), colour);
}

void Ring(double x, double y, double r) {
    Circle(x, y, r, kGreyLight);
    Circle(x, y, r + 1, kGreyDark);
    Circle(x, y, r + 2, kGreyMid);
}

void FadingRing(double x, double y, double radius, double fade) {
    if (radius <= 0) return;
    const double shift = 2 + radius / 5;
    BlendModeSet(-(0.5 - fade * 0.5));
    Ring(x + shift, y + shift, radius);
    BlendModeSet(0);
    BlendModeSet(-(1 - fade));
    Ring(x, y, radius);
    BlendModeSet(0);
}

struct PixelRings : RingDrawer {
    void RingPair(double x, double y, const RingState& r) override {
        FadingRing(x, y, r.radiusA, r.fadeA);
        FadingRing(x, y, r.radiusB, r.fadeB);
    }
    void Pulse(double x, double y, const RingState& r) override {
        const double radius = r.base + r.pulseRadius;
        const double shift = 2 + radius / 5;
        BlendModeSet(-0.25);
        Ring(x + shift, y + shift, radius);
        BlendModeSet(0);
        Ring(x, y, radius);
    }
};

void DrawCells(const MapData& m) {
    for (double i = 0; i < m.cellCount; i += 1) {
        const double sprite = GroundSprite(m.codes(i));
        if (sprite == 0) continue;
        const double half = m.cellHalfSize(i);
        BlendModeSet(m.cellAlpha(i));
        SpriteDraw(sprite, Px(m.cellX(i) - half), Px(m.cellY(i) - half));
        BlendModeSet(0);
    }
}

void DrawItem(const ItemMarker& it) {
    BlendModeSet(it.alpha);
    SpriteDraw(it.kind.Text()[0] == '?' ? 53 : 52, Px(it.x - it.half), Px(it.y - it.half));
    BlendModeSet(0);
}

void DrawBlinker(const Blinker& b) {
    const double h = b.half;
    // The look's second character names the direction; a shorter look is horizontal.
    const char turn = b.look.Length() > 1 ? b.look.Text()[1] : '\0';
    const bool vertical = turn == '1' || turn == '3';
    BlendModeSet(b.alpha);
    SpriteDraw(vertical ? 49 : 50, Px(b.x - h), Px(b.y - h));
    if (vertical)
        RectDraw(Px(b.x + h + 1), Px(b.y - h * 0.5 + 2), 2, Px(h + 1), kGreyBar * kGreyToColour);
    else
        RectDraw(Px(b.x - h * 0.5 + 2), Px(b.y + h + 1), Px(h + 1), 2, kGreyBar * kGreyToColour);
    BlendModeSet(0);
}

double LetterSprite(const RtString& kind) {
    switch (kind.Text()[0]) {
        case 'm':
            return 63;
        case 'l':
            return 64;
        case 's':
            return 65;
        case 't':
            return 66;
        default:
            return 67;
    }
}

void DrawLetter(const LetterObject& l, double h0) {
    const double zoom = l.scale + 0.5;
    BlendModeSet(l.alpha);
    SpriteDrawRotoZoom(68, Px(l.x - h0 + 1 + 2), Px(l.y - h0 + 1 + 2), -l.angle, zoom);
    SpriteDrawRotoZoom(LetterSprite(l.kind), Px(l.x - h0 + 1), Px(l.y - h0 + 1), -l.angle, zoom);
    BlendModeSet(0);
}

}  // namespace

void MapPlayStep(MapPlayState& s, ShowShared& shared) {
    MapData& m = s.map;
    if (shared.stageQuakeOn == 1) QuakeStep(s.quake, shared);
    if (shared.stageMapOn == 1) CellRevealStep(m, s.quake);
    if (shared.stageItemsOn == 1)
        for (ItemMarker& it : m.items) ItemStep(it, s.quake);
    if (shared.stageBlinkersOn == 1)
        for (Blinker& b : m.blinkers) BlinkerStep(b, s.quake);
    if (shared.stageLettersOn == 1)
        for (LetterObject& l : m.letters) LetterStep(l, s.quake);
    if (shared.stagePortalsOn == 1) PortalRingsPass(s, nullptr);
}

double MapPlay(MapPlayState& s, ShowShared& shared) {
    MapData& m = s.map;
    if (!s.loaded) {
        s.loaded = true;
        MapLoad(m, shared.mediaPath + "map.txt", shared.centreX, shared.centreY);
    }
    FontSet(1);
    if (shared.stageQuakeOn == 1) QuakeStep(s.quake, shared);
    if (shared.stageMapOn == 1) {
        CellRevealStep(m, s.quake);
        DrawCells(m);
    }
    if (shared.stageItemsOn == 1) {
        for (ItemMarker& it : m.items) {
            ItemStep(it, s.quake);
            DrawItem(it);
        }
    }
    if (shared.stageBlinkersOn == 1) {
        for (Blinker& b : m.blinkers) {
            BlinkerStep(b, s.quake);
            DrawBlinker(b);
        }
    }
    if (shared.stageLettersOn == 1) {
        const double h0 = m.cellCount > 0 ? m.cellHalfSize(0) : kCellHalf;
        for (LetterObject& l : m.letters) {
            const bool shown = IsLetterShown(l);  // the frame it starts, it is not yet drawn
            LetterStep(l, s.quake);
            if (shown) DrawLetter(l, h0);
        }
    }
    if (shared.stagePortalsOn == 1) {
        PixelRings rings;
        PortalRingsPass(s, &rings);
    }
    return 0;
}

}  // namespace zan3
