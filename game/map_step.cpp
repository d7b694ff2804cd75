#include <cstring>

#include "corvane.h"
#include "game/fade.h"
#include "game/map_play.h"

namespace zan3 {

namespace {

constexpr double kQuakePeak = 9;
constexpr double kQuakeStep = 0.05;
constexpr double kObjectFade = 5 * kFadeStep;

double LetterTurnRate(const RtString& kind) {
    switch (kind.Text()[0]) {
        case 'm':
            return 0.5;
        case 'l':
            return 1;
        case 's':
            return -0.5;
        case 't':
            return 2;
        case 'e':
            return -5;
        default:
            return 0;
    }
}

}  // namespace

void QuakeStep(QuakeState& q, ShowShared& shared) {
    q.prev = q.amp;
    if (q.dir == 0) {
        if (q.amp < kQuakePeak)
            q.amp += kQuakeStep;
        else
            q.dir = 1;
    } else if (q.amp > 0) {
        q.amp -= kQuakeStep;
    } else {
        q.dir = 2;
        shared.stageQuakeOn = 2;
        TraceEvent(shared, "QuakeDone");
    }
    q.shakeX = RandomGet(static_cast<int>(q.prev));
    q.shakeY = RandomGet(static_cast<int>(q.prev));
}

void CellRevealStep(MapData& m, const QuakeState& q) {
    for (double i = 0; i < m.cellCount; i += 1) {
        m.cellX(i) = m.cellBaseX(i) + q.shakeX;
        m.cellY(i) = m.cellBaseY(i) + q.shakeY;
    }
    for (double i = 0; i < m.cellCount; i += 1) {
        if (i > m.cellDelay(i))
            m.cellDelay(i) += 1;  // cell i waits i frames
        else
            FadeIn(m.cellAlpha(i));
    }
}

void ItemStep(ItemMarker& it, const QuakeState& q) {
    it.x = it.restX + q.shakeX;
    it.y = it.restY + q.shakeY;
    FadeIn(it.alpha, kObjectFade);
}

void BlinkerStep(Blinker& b, const QuakeState& q) {
    b.x = b.restX + q.shakeX;
    b.y = b.restY + q.shakeY;
    if (b.startCounter < b.startLimit) {
        b.startCounter += 1;
        return;
    }
    switch (static_cast<int>(b.phase)) {
        case 0:
            b.phase = 1;
            break;
        case 1:
            if (FadeIn(b.alpha, kObjectFade)) b.phase = 2;
            break;
        case 2:
            if (Hold(b.wait, 150)) b.phase = 3;
            break;
        case 3:
            b.phase = 4;
            break;
        case 4:
            if (FadeOut(b.alpha, kObjectFade, -0.2)) b.phase = 5;
            break;
        default:
            if (Hold(b.wait, 150)) b.phase = 0;
            break;
    }
}

bool IsLetterShown(const LetterObject& l) {
    return l.startCounter >= l.startLimit;
}

void LetterStep(LetterObject& l, const QuakeState& q) {
    l.x = l.restX + q.shakeX;
    l.y = l.restY + q.shakeY;
    if (!IsLetterShown(l)) {
        l.startCounter += 1;
        return;
    }
    switch (static_cast<int>(l.phase)) {
        case 0:
            // One fade step per cycle: the letters come up slowly over the show.
            FadeIn(l.alpha);
            l.phase = 1;
            break;
        case 1:
            l.phase = 2;
            break;
        case 2:
            if (l.scale < 0.2)
                l.scale += 0.1;
            else
                l.phase = 3;
            break;
        case 3:
            l.phase = 4;
            break;
        case 4:
            if (l.scale > 0)
                l.scale -= 0.1;
            else
                l.phase = 5;
            break;
        case 5:
            if (l.alpha < -kAlphaOpaque)
                l.alpha += kFadeStep;
            else
                l.phase = 6;
            break;
        default:
            if (Hold(l.wait, 100)) l.phase = 0;
            break;
    }
    l.angle += LetterTurnRate(l.kind);
}

void RingAAdvance(RingState& r) {
    r.radiusA += 0.3;
    r.fadeA += 0.005;
    if (r.fadeA > 1) r.radiusA = r.fadeA = 0;
    if (r.fadeA >= 0.5) r.bOn = 1;
    if (r.bOn == 1) {
        r.radiusB += 0.3;
        r.fadeB += 0.005;
        if (r.fadeB > 1) r.radiusB = r.fadeB = 0;
    }
}

void PulseAdvance(RingState& r) {
    r.pulseRadius += 0.5 + r.pulseSpeed;
    if (r.pulseRadius > 0) r.pulseSpeed -= 0.05;
    if (r.pulseRadius < 0) r.pulseSpeed += 0.05;
}

}  // namespace zan3

namespace zan3 {

void PortalRingsPass(MapPlayState& s, RingDrawer* draw) {
    MapData& m = s.map;
    for (double i = 0; i < m.cellCount; i += 1) {
        const char* code = m.codes(i).Text();
        if (std::strcmp(code, "< ") == 0) {
            if (draw) draw->RingPair(m.cellX(i), m.cellY(i), s.rings);
            RingAAdvance(s.rings);
        } else if (std::strcmp(code, "> ") == 0) {
            if (draw) draw->Pulse(m.cellX(i), m.cellY(i), s.rings);
            PulseAdvance(s.rings);
        }
    }
}

}  // namespace zan3
