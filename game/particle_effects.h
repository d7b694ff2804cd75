// Snow and paper: up to 500 additive glows over the map show. A kind is drawn at random,
// builds up one particle every third frame, holds, thins out the same way, and when its
// last particle has left the screen the next kind follows after an idle pause.
#pragma once

#include <vector>

#include "corvane.h"
#include "game/show_shared.h"

namespace zan3 {

inline constexpr int kParticleCount = 500;

struct Particle {
    double x = 0, y = 0, vx = 0, vy = 0;
    double size = 0, angle = 0, turn = 0, swing = 0;
    double startLimit = 0, startCounter = 0;
    double alpha = 0, alphaFalling = 0;
    RtString state;  // "" never on, "yes" on, "no" switched off, "?" finished
};

struct ParticleState {
    bool started = false;
    std::vector<Particle> p;
    RtString mode;  // "!" idle, "snow"/"paper" chosen, "snow_yes"/"paper_yes" running
    double phase = 0;
    double idleTimer = 0, holdTimer = 0, stepTimer = 0;
    double activeIndex = 0, finishedCount = 0;
    double sizeMax = 5, swingMax = 25;
};

// First call set-up without pictures (the sub-program loads them).
void ParticleInit(ParticleState& s);

// One frame of choosing, spawning, switching and moving.
void ParticleStep(ParticleState& s, const ShowShared& shared);

bool IsSnow(const ParticleState& s);

double ParticleEffects(ParticleState& s, const ShowShared& shared);

}  // namespace zan3
