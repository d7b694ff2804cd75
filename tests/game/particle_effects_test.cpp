// Snow and paper, driven frame by frame without a window: the idle pause, switching one
// particle on every third frame, the hold, thinning out, and the particles' own rules.
#include "game/particle_effects.h"

#include <gtest/gtest.h>

#include "corvane.h"

namespace {

using namespace zan3;

int CountState(const ParticleState& s, const char* state) {
    int n = 0;
    for (const Particle& p : s.p) n += p.state.Str() == state;
    return n;
}

TEST(ParticleEffects, RunCycle) {
    RandomSeed(11);
    ShowShared sh;
    ParticleState s;
    int frame = 0;
    while (s.mode.Str() != "snow_yes" && s.mode.Str() != "paper_yes" && frame < 1000) {
        ParticleStep(s, sh);
        ++frame;
    }
    EXPECT_EQ(frame, 251);  // 250 idle frames, then the choice
    EXPECT_EQ(s.phase, 1);
    // Phase 1: one particle more every third frame, in index order.
    int onAt = frame;
    while (s.phase == 1 && frame < 5000) {
        const int before = CountState(s, "yes");
        ParticleStep(s, sh);
        ++frame;
        const int after = CountState(s, "yes");
        ASSERT_LE(after - before, 1);
        if (after > before) {
            EXPECT_EQ(s.p[after - 1].state.Str(), "yes");
            if (before > 0) {
                EXPECT_EQ(frame - onAt, 3);
            }
            onAt = frame;
        }
    }
    EXPECT_EQ(CountState(s, "yes"), 500);
    EXPECT_EQ(s.activeIndex, 499);
    int held = 0;
    while (s.phase == 2 && held < 5000) {
        ParticleStep(s, sh);
        ++held;
    }
    EXPECT_EQ(held, 2001);
    // Phase 3 switches them off from the last one back; once all have left the screen the
    // effect is idle again.
    int guard = 0;
    bool checkedOrder = false;
    while (s.mode.Str() != "!" && guard < 20000) {
        ParticleStep(s, sh);
        ++guard;
        // Never an alpha of 0 or less, which would draw a glow opaque or not at all, even
        // for a particle respawned while its alpha was falling.
        for (const Particle& p : s.p) {
            if (p.state.Str() == "yes" || p.state.Str() == "no") {
                ASSERT_TRUE(p.alpha >= 0.015 && p.alpha <= 1.0) << p.alpha << " frame " << guard;
            }
        }
        if (!checkedOrder && CountState(s, "yes") < 500) {
            checkedOrder = true;
            EXPECT_NE(s.p[499].state.Str(), "yes");
            EXPECT_EQ(s.p[0].state.Str(), "yes");
        }
    }
    EXPECT_TRUE(checkedOrder);
    EXPECT_EQ(s.phase, 0);
    EXPECT_EQ(CountState(s, "?"), 500);
    EXPECT_EQ(s.finishedCount, 0);
}

TEST(ParticleEffects, ParticleRules) {
    RandomSeed(5);
    ShowShared sh;
    ParticleState s;
    ParticleInit(s);
    s.idleTimer = 250;
    do ParticleStep(s, sh);
    while (s.mode.Str() != "snow_yes" && s.mode.Str() != "paper_yes");
    const bool snow = s.mode.Str() == "snow_yes";
    // Every spawn lies at the left or top edge; speeds, sizes and turns within their ranges.
    for (const Particle& p : s.p) {
        EXPECT_TRUE(p.x == -10 || p.y == -10);
        EXPECT_GE(p.size, 0);
        EXPECT_LE(p.size, 0.5);
        EXPECT_GE(p.vx, 1);
        EXPECT_LE(p.vx, snow ? 1.8 : 6);
        EXPECT_GE(p.startCounter, 0);
        EXPECT_LE(p.startCounter, 500);
        EXPECT_LE(p.turn, snow ? 1 : 5);
    }
    // A particle not yet switched on stays where it spawned.
    const Particle untouched = s.p[400];
    for (int i = 0; i < 30; ++i) ParticleStep(s, sh);
    EXPECT_EQ(s.p[400].x, untouched.x);
    EXPECT_EQ(s.p[400].alpha, untouched.alpha);
    EXPECT_EQ(s.p[400].state.Str(), "");

    // A switched-on particle waits out its start counter, then moves and swings its alpha
    // between 0.015 and 1.
    Particle& p = s.p[0];
    ASSERT_EQ(p.state.Str(), "yes");
    p.startCounter = p.startLimit;
    p.x = 100;
    p.y = 100;
    p.alpha = 0.015;
    p.alphaFalling = 0;
    const double x0 = p.x;
    double lo = 1, hi = 0;
    for (int i = 0; i < 140; ++i) {
        ParticleStep(s, sh);
        if (p.x < x0) break;  // left the screen and came back
        lo = std::min(lo, p.alpha);
        hi = std::max(hi, p.alpha);
    }
    EXPECT_NEAR(hi, 1.0, 0.016);
    EXPECT_GE(lo, 0.015 - 1e-9);
}

TEST(ParticleEffects, PaperBelowTheScreenRespawnsAtOnce) {
    RandomSeed(9);
    ShowShared sh;
    ParticleState s;
    ParticleInit(s);
    s.mode = "paper_yes";
    Particle& p = s.p[0];
    p.state = "yes";
    p.startCounter = p.startLimit = 500;
    p.x = 50;
    p.y = 600;  // a start height drawn up to the screen's width
    p.vx = 2;
    p.swing = 0;
    ParticleStep(s, sh);
    EXPECT_EQ(p.x, -10);
    EXPECT_LE(p.y, 640);
    // A particle switched off and leaving the screen is finished and no longer drawn.
    p.state = "no";
    p.startCounter = p.startLimit;
    p.x = 639.5;
    p.y = 100;
    p.vx = 2;
    ParticleStep(s, sh);
    EXPECT_EQ(p.state.Str(), "?");
    EXPECT_EQ(s.finishedCount, 1);
}

}  // namespace
