// The map view: every frame the map reveals itself cell by cell and animates the objects of
// the stages that are on (item markers, blinkers, letter objects, portal rings, the quake).
// The per-frame state advance is apart from the drawing, so it can be driven without a
// window.
#pragma once

#include "game/map_data.h"
#include "game/show_shared.h"

namespace zan3 {

struct QuakeState {
    double amp = 0, prev = 0;
    double dir = 0;  // 0 growing, 1 shrinking, 2 finished
    double shakeX = 0, shakeY = 0;
};

struct RingState {
    double radiusA = 0, fadeA = 0;
    double radiusB = 0, fadeB = 0, bOn = 0;
    double pulseRadius = 0, pulseSpeed = 0;
    double base = 20;
};

struct MapPlayState {
    bool loaded = false;
    MapData map;
    QuakeState quake;
    RingState rings;
};

// Single steps, each one frame of one object kind.
void QuakeStep(QuakeState& q, ShowShared& shared);
void CellRevealStep(MapData& m, const QuakeState& q);
void ItemStep(ItemMarker& it, const QuakeState& q);
void BlinkerStep(Blinker& b, const QuakeState& q);
void LetterStep(LetterObject& l, const QuakeState& q);
bool IsLetterShown(const LetterObject& l);
void RingAAdvance(RingState& r);  // after a "< " cell has drawn its rings
void PulseAdvance(RingState& r);  // after a "> " cell has drawn its ring

// Portal rings, cell by cell in map order: a "< " cell draws rings A and B (when draw is
// given) and advances them, a "> " cell its breathing ring. The state is shared by all cells
// of a code, so each such cell advances it once more.
struct RingDrawer {
    virtual void RingPair(double x, double y, const RingState& r) = 0;
    virtual void Pulse(double x, double y, const RingState& r) = 0;
};
void PortalRingsPass(MapPlayState& s, RingDrawer* draw);

// The frame's whole state advance for the stages that are on, in drawing order.
void MapPlayStep(MapPlayState& s, ShowShared& shared);

// The sub-program: loads the map on its first call, then steps and draws.
double MapPlay(MapPlayState& s, ShowShared& shared);

}  // namespace zan3
