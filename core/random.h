// The random generator: the published 32-bit generator with a 256-word state, seeded by the
// runtime's own procedure (one pass of the seed added into every block, no scrambling rounds).
#pragma once

#include <cstdint>

struct RandomState {
    uint32_t results[256] = {};
    uint32_t memory[256] = {};
    uint32_t accumulator = 0;
    uint32_t lastResult = 0;
    uint32_t counter = 0;
    uint32_t resultsLeft = 0;
};

// The runtime's generator (seeded at start-up): the core's only state.
RandomState& CoreRandom();

// One full generator pass over the state.
void RandomPass(RandomState& s);
// Re-seeds; reads the current results array (so a re-seed depends on earlier output).
void RandomSeedState(RandomState& s, uint32_t seed);
// One pass, then results[0].
uint32_t RandomNextWord(RandomState& s);
