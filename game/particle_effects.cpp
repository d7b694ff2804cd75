#include "game/particle_effects.h"

#include <algorithm>
#include <cstring>

#include "corvane.h"

namespace zan3 {

namespace {

constexpr double kStartLimit = 500;
constexpr double kAlphaLow = 0.015, kAlphaHigh = 1.0, kAlphaStep = 0.015;

bool ModeIs(const ParticleState& s, const char* m) {
    return std::strcmp(s.mode.Text(), m) == 0;
}

bool StateIs(const Particle& p, const char* m) {
    return std::strcmp(p.state.Text(), m) == 0;
}

void SpawnSnow(Particle& p, const ShowShared& sh) {
    if (RandomGet(1) == 1) {
        p.x = -10;
        p.y = RandomGet(sh.screenHeight);
    } else {
        p.x = RandomGet(sh.screenWidth);
        p.y = -10;
    }
    p.startLimit = kStartLimit;
    p.startCounter = RandomGet(500);
    p.size = RandomGet(5) / 10;
    p.alpha = kAlphaLow;
    p.turn = RandomGet(1);
    p.vx = RandomGet(800) / 1000 + 1;
    p.vy = RandomGet(900) / 1000 + 1;
}

void SpawnPaper(Particle& p, const ShowShared& sh) {
    p.x = -10;
    p.y = RandomGet(sh.screenWidth);  // the width: some scraps start below the screen
    p.startLimit = kStartLimit;
    p.startCounter = RandomGet(500);
    p.size = RandomGet(5) / 10;
    p.alpha = kAlphaLow;
    p.turn = RandomGet(5);
    p.vx = RandomGet(5000) / 1000 + 1;
    p.swing = RandomGet(25);
    if (RandomGet(1) == 1) p.swing = -p.swing;
}

void Spawn(Particle& p, bool snow, const ShowShared& sh) {
    if (snow)
        SpawnSnow(p, sh);
    else
        SpawnPaper(p, sh);
}

double TurnRate(bool snow, double turn) {
    static constexpr double kPaper[] = {1, -1, 2, -2, 3, -3};
    if (snow) return turn == 0 ? 0.5 : -0.5;
    const int i = static_cast<int>(turn);
    return i >= 0 && i < 6 ? kPaper[i] : 0;
}

void SwitchStep(ParticleState& s) {
    if (s.phase == 1) {
        if (s.stepTimer < 2) {
            s.stepTimer += 1;
            return;
        }
        s.stepTimer = 0;
        s.p[static_cast<int>(s.activeIndex)].state = "yes";
        if (s.activeIndex < kParticleCount - 1) {
            s.activeIndex += 1;
        } else {
            s.phase = 2;
        }
    } else if (s.phase == 2) {
        if (s.holdTimer < 2000) {
            s.holdTimer += 1;
        } else {
            s.holdTimer = 0;
            s.phase = 3;
        }
    } else if (s.phase == 3) {
        if (s.stepTimer < 2) {
            s.stepTimer += 1;
            return;
        }
        s.stepTimer = 0;
        s.p[static_cast<int>(s.activeIndex)].state = "no";
        if (s.activeIndex > 0) {
            s.activeIndex -= 1;
        } else {
            s.phase = 0;
        }
    }
}

bool OffScreen(const Particle& p, bool snow, const ShowShared& sh) {
    if (snow) return p.x > sh.screenWidth || p.y > sh.screenHeight;
    return p.x > sh.screenWidth || p.y < -20 || p.y > sh.screenHeight + 20;
}

void Move(ParticleState& s, Particle& p, bool snow, const ShowShared& sh) {
    if (p.startCounter < p.startLimit) {
        p.startCounter += 1;
        return;
    }
    p.x += p.vx;
    p.y += snow ? p.vy : p.swing / 100;
    if (OffScreen(p, snow, sh)) {
        Spawn(p, snow, sh);
        if (StateIs(p, "no")) {
            p.state = "?";
            s.finishedCount += 1;
            if (s.finishedCount == kParticleCount) {
                s.finishedCount = 0;
                s.mode = "!";
            }
        }
    }
    p.angle += TurnRate(snow, p.turn);
    // Held within its limits: summed steps miss 0.015 by a rounding error, and an alpha of
    // 0 would draw the glow opaque.
    if (p.alphaFalling == 0) {
        p.alpha = std::min(kAlphaHigh, p.alpha + kAlphaStep);
        if (p.alpha >= kAlphaHigh) p.alphaFalling = 1;
    } else {
        p.alpha = std::max(kAlphaLow, p.alpha - kAlphaStep);
        if (p.alpha <= kAlphaLow) p.alphaFalling = 0;
    }
}

}  // namespace

void ParticleInit(ParticleState& s) {
    s.started = true;
    s.p.assign(kParticleCount, Particle{});
    s.sizeMax = 5;
    s.swingMax = 25;
    s.mode = "!";
}

bool IsSnow(const ParticleState& s) {
    return s.mode.Text()[0] == 's';
}

void ParticleStep(ParticleState& s, const ShowShared& sh) {
    if (!s.started) ParticleInit(s);
    if (ModeIs(s, "!")) {
        if (s.idleTimer < 250) {
            s.idleTimer += 1;
        } else {
            s.idleTimer = 0;
            s.mode = RandomGet(1) == 0 ? "snow" : "paper";
            s.phase = 1;
        }
    }
    if (ModeIs(s, "snow") || ModeIs(s, "paper")) {
        const bool snow = IsSnow(s);
        s.mode = snow ? "snow_yes" : "paper_yes";
        for (Particle& p : s.p) Spawn(p, snow, sh);
    }
    SwitchStep(s);
    if (ModeIs(s, "snow_yes") || ModeIs(s, "paper_yes")) {
        const bool snow = IsSnow(s);
        for (Particle& p : s.p)
            if (StateIs(p, "yes") || StateIs(p, "no")) Move(s, p, snow, sh);
    }
}

double ParticleEffects(ParticleState& s, const ShowShared& shared) {
    if (!s.started) {
        ParticleInit(s);
        SpriteLoad(shared.mediaPath + "circle 2.png", 1000);
        SpriteLoad(shared.mediaPath + "circle 3.png", 1001);
    }
    ParticleStep(s, shared);
    const double sprite = IsSnow(s) ? 1001 : 1000;
    for (const Particle& p : s.p) {
        if (StateIs(p, "?")) continue;
        BlendModeSet(p.alpha);
        SpriteDrawRotoZoom(sprite, static_cast<int>(p.x), static_cast<int>(p.y), -p.angle, p.size);
        BlendModeSet(0);
    }
    FontSet(1);
    return 0;
}

}  // namespace zan3
