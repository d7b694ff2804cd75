// The map view's per-frame state, driven without a window: cell reveal, blinker and letter
// cycles, the quake's rise and fall, and the portal rings.
#include <gtest/gtest.h>

#include <vector>

#include "corvane.h"
#include "game/map_play.h"

namespace {

using namespace zan3;

TEST(MapView, CellsRevealInReadingOrder) {
    MapData m;
    m.cellCount = 3;
    for (RtNumberArray* a : {&m.cellX, &m.cellY, &m.cellBaseX, &m.cellBaseY, &m.cellHalfSize,
                             &m.cellDelay, &m.cellAlpha})
        ArrayDim(*a, 3);
    for (double i = 0; i < 3; i += 1) m.cellAlpha(i) = -0.015;
    QuakeState q;
    q.shakeX = 3;
    q.shakeY = 1;
    int opaqueAt[3] = {0, 0, 0};
    for (int frame = 1; frame <= 100; ++frame) {
        CellRevealStep(m, q);
        for (int i = 0; i < 3; ++i) {
            if (frame <= i) {
                EXPECT_EQ(m.cellAlpha(i), -0.015) << "cell " << i << " waits";
            }
            if (!opaqueAt[i] && m.cellAlpha(i) <= -1) opaqueAt[i] = frame;
        }
    }
    // Cell i waits i frames, then takes 66 steps to reach full opacity.
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(opaqueAt[i], i + 66) << "cell " << i;
    }
    EXPECT_EQ(m.cellX(2.0), 3);
    EXPECT_EQ(m.cellY(2.0), 1);
}

TEST(MapView, BlinkerCycle) {
    struct Case {
        const char* look;
        double startLimit, startCounter, alpha, phase;
        int firstFullFrame;  // first frame at full alpha
    };
    const Case cases[] = {
        {"d1", 200, 0, -0.2, 0, 200 + 1 + 11},  // waits 200 frames, then phase 0 and 11 steps
        {"d2", 200, 150, -0.2, 0, 50 + 1 + 11},
        {"d3", 0, 0, -0.2, 0, 1 + 11},
        {"d4", 0, 1, -1.0, 4, 1},  // starts visible, already on its way to faint
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.look);
        Blinker b;
        b.look = c.look;
        b.startLimit = c.startLimit;
        b.startCounter = c.startCounter;
        b.alpha = c.alpha;
        b.phase = c.phase;
        QuakeState q;
        q.shakeX = 2;
        std::vector<int> runStarts, runLengths;
        bool wasFull = c.alpha <= -1;
        if (wasFull) runStarts.push_back(0), runLengths.push_back(0);
        for (int frame = 1; frame <= 2000; ++frame) {
            BlinkerStep(b, q);
            ASSERT_GE(b.alpha, -1.0 - 0.075);
            ASSERT_LE(b.alpha, -0.2 + 0.075);  // faint, at most one step past -0.2
            const bool full = b.alpha <= -1;
            if (full && !wasFull) runStarts.push_back(frame), runLengths.push_back(0);
            if (full) ++runLengths.back();
            wasFull = full;
        }
        EXPECT_EQ(b.x, 2);
        ASSERT_GE(runStarts.size(), 4u);
        if (c.look[1] != '4') {
            EXPECT_EQ(runStarts[0], c.firstFullFrame);
        }
        // Fully visible for the 151-frame hold and the frames either side of it; one cycle
        // is both holds and both 11-step fades.
        for (size_t i = 1; i + 1 < runStarts.size(); ++i) {
            EXPECT_NEAR(runLengths[i], 154, 1) << "run " << i;
            EXPECT_NEAR(runStarts[i + 1] - runStarts[i], 328, 2) << "run " << i;
        }
    }
}

TEST(MapView, LetterCycle) {
    LetterObject l;
    l.kind = "e";
    l.startCounter = 190;
    QuakeState q;
    for (int i = 0; i < 10; ++i) {
        EXPECT_FALSE(IsLetterShown(l));
        LetterStep(l, q);
        EXPECT_EQ(l.angle, 0) << "not turned while waiting";
    }
    ASSERT_TRUE(IsLetterShown(l));
    double minZoom = 9, maxZoom = 0;
    int swells = 0;
    double prevScale = 0;
    const int frames = 111 * 10;
    for (int i = 0; i < frames; ++i) {
        LetterStep(l, q);
        minZoom = std::min(minZoom, l.scale + 0.5);
        maxZoom = std::max(maxZoom, l.scale + 0.5);
        if (l.scale > 0 && prevScale == 0) ++swells;
        prevScale = l.scale;
    }
    EXPECT_DOUBLE_EQ(minZoom, 0.5);
    EXPECT_NEAR(maxZoom, 0.7, 1e-9);
    EXPECT_EQ(swells, 10);  // one swell per 111-frame cycle
    EXPECT_DOUBLE_EQ(l.angle, -5.0 * frames);
    // One fade step per cycle.
    EXPECT_NEAR(l.alpha, -0.015 * 11, 1e-9);
}

TEST(MapView, QuakeRisesToNineAndDiesAway) {
    ShowShared s;
    s.stageQuakeOn = 1;
    QuakeState q;
    RandomSeed(3);
    int frame = 0, peakFrame = 0;
    double peak = 0;
    while (s.stageQuakeOn == 1 && frame < 1000) {
        QuakeStep(q, s);
        ++frame;
        ASSERT_GE(q.shakeX, 0);
        ASSERT_LE(q.shakeX, static_cast<int>(q.prev));
        ASSERT_GE(q.shakeY, 0);
        ASSERT_LE(q.shakeY, static_cast<int>(q.prev));
        if (q.amp > peak) {
            peak = q.amp;
            peakFrame = frame;
        }
    }
    EXPECT_NEAR(peak, 9, 0.05);
    EXPECT_NEAR(peakFrame, 180, 2);
    EXPECT_NEAR(frame, 362, 3);
    EXPECT_EQ(s.stageQuakeOn, 2);
    EXPECT_EQ(q.dir, 2);
    EXPECT_EQ(q.shakeX, 0);
    EXPECT_EQ(q.shakeY, 0);
}

TEST(MapView, PortalRings) {
    // Ring A runs a 200-frame cycle to 60 pixels; ring B starts half a cycle later.
    RingState r;
    double maxRadius = 0;
    int bStart = 0, resets = 0;
    for (int frame = 1; frame <= 1000; ++frame) {
        const double before = r.radiusA;
        RingAAdvance(r);
        if (r.radiusA < before) ++resets;
        maxRadius = std::max(maxRadius, r.radiusA);
        if (!bStart && r.bOn == 1) bStart = frame;
    }
    EXPECT_NEAR(maxRadius, 60, 0.5);
    EXPECT_EQ(resets, 5);
    EXPECT_NEAR(bStart, 100, 1);
    EXPECT_NEAR(r.radiusB, std::fmod(r.radiusA + 30, 60.3), 0.5);

    // The breathing ring swings about its base.
    RingState p;
    double lo = 1e9, hi = -1e9;
    for (int i = 0; i < 400; ++i) {
        PulseAdvance(p);
        lo = std::min(lo, p.pulseRadius);
        hi = std::max(hi, p.pulseRadius);
    }
    EXPECT_LT(lo, 0);
    EXPECT_GT(hi, 0);
    EXPECT_LT(hi - lo, 40);

    // Shared state: two "< " cells advance it twice per frame, a map without portals never.
    MapPlayState two, none;
    for (MapPlayState* s : {&two, &none}) s->map.cellCount = 3;
    StringSplit(RtString("< ,a ,< "), ",", two.map.codes);
    StringSplit(RtString("a ,b ,> 1"), ",", none.map.codes);
    for (int i = 0; i < 10; ++i) {
        PortalRingsPass(two, nullptr);
        PortalRingsPass(none, nullptr);
    }
    EXPECT_NEAR(two.rings.radiusA, 20 * 0.3, 1e-9);
    EXPECT_EQ(none.rings.radiusA, 0);
    EXPECT_EQ(none.rings.bOn, 0);
    EXPECT_EQ(none.rings.pulseRadius, 0);
}

}  // namespace
