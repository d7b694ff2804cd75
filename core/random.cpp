#include "core/random.h"

RandomState& CoreRandom() {
    static RandomState s;
    return s;
}

void RandomPass(RandomState& s) {
    uint32_t a = s.accumulator;
    uint32_t b = s.lastResult + ++s.counter;
    uint32_t* m = s.memory;
    for (uint32_t i = 0; i < 256; ++i) {
        uint32_t x = m[i];
        switch (i & 3) {
            case 0:
                a ^= a << 13;
                break;
            case 1:
                a ^= a >> 6;
                break;
            case 2:
                a ^= a << 2;
                break;
            default:
                a ^= a >> 16;
                break;
        }
        a = m[(i + 128) & 255] + a;
        uint32_t y = m[(x >> 2) & 255] + a + b;
        m[i] = y;
        b = m[(y >> 10) & 255] + x;
        s.results[i] = b;
    }
    s.accumulator = a;
    s.lastResult = b;
}

namespace {
void Mix(uint32_t w[8]) {
    uint32_t &a = w[0], &b = w[1], &c = w[2], &d = w[3], &e = w[4], &f = w[5], &g = w[6], &h = w[7];
    a ^= b << 11;
    d += a;
    b += c;
    b ^= c >> 2;
    e += b;
    c += d;
    c ^= d << 8;
    f += c;
    d += e;
    d ^= e >> 16;
    g += d;
    e += f;
    e ^= f << 10;
    h += e;
    f += g;
    f ^= g >> 4;
    a += f;
    g += h;
    g ^= h << 8;
    b += g;
    h += a;
    h ^= a >> 9;
    c += h;
    a += b;
}
}  // namespace

void RandomSeedState(RandomState& s, uint32_t seed) {
    s.accumulator = s.lastResult = s.counter = 0;
    uint32_t w[8];
    for (uint32_t& v : w) v = 0x9e3779b9u;
    for (int i = 0; i < 256; i += 8) {
        w[0] += seed;
        Mix(w);
        for (int k = 0; k < 8; ++k) s.memory[i + k] = w[k];
    }
    for (int r = 0; r < 4; ++r) Mix(w);
    for (int i = 0; i < 256; i += 8) {
        for (int k = 0; k < 8; ++k) w[k] += s.results[i + k];
        Mix(w);
        for (int k = 0; k < 8; ++k) s.memory[i + k] = w[k];
    }
    for (int i = 0; i < 256; i += 8) {
        for (int k = 0; k < 8; ++k) w[k] += s.memory[i + k];
        Mix(w);
        for (int k = 0; k < 8; ++k) s.memory[i + k] = w[k];
    }
    RandomPass(s);
    s.resultsLeft = 256;
}

uint32_t RandomNextWord(RandomState& s) {
    RandomPass(s);
    return s.results[0];
}
