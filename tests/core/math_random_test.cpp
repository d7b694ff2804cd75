// Math commands in degrees with their clamps and NaN rules, RectOverlap, and the random
// generator against an independent transcription of the published generator.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstring>
#include <set>

#include "core/math_ops.h"
#include "core/random.h"
#include "corvane.h"

namespace {

TEST(MathDegrees, TrigInDegrees) {
    EXPECT_EQ(MathSin(90), 1);
    EXPECT_NEAR(MathSin(30), 0.5, 1e-15);
    EXPECT_NEAR(MathCos(180), -1, 1e-15);
    EXPECT_NEAR(MathCos(60), 0.5, 1e-15);
    EXPECT_NEAR(MathTan(45), 1, 1e-15);
    EXPECT_NEAR(MathSin(-270), 1, 1e-15);
    EXPECT_EQ(MathAtan(1, -1), 135);
    EXPECT_EQ(MathAtan(0, -1), 180);
    EXPECT_EQ(MathAtan(-1, 0), -90);
    EXPECT_EQ(MathAtan(0, 1), 0);
    EXPECT_NEAR(MathAtan(-1, -1), -135, 1e-12);
}

TEST(MathDegrees, InverseFunctionsClampOutsideTheirDomain) {
    EXPECT_EQ(MathAsin(1.5), 90);
    EXPECT_EQ(MathAsin(1), 90);
    EXPECT_EQ(MathAsin(-1), -90);
    EXPECT_EQ(MathAsin(-7), -90);
    EXPECT_NEAR(MathAsin(0.5), 30, 1e-12);
    EXPECT_EQ(MathAcos(-2), 180);
    EXPECT_EQ(MathAcos(-1), 180);
    EXPECT_EQ(MathAcos(1), 0);
    EXPECT_EQ(MathAcos(INFINITY), 0);
    EXPECT_NEAR(MathAcos(0.5), 60, 1e-12);
    EXPECT_TRUE(std::isnan(MathAsin(NAN)));
    EXPECT_TRUE(std::isnan(MathAcos(NAN)));
}

TEST(MathPlain, SqrtPowFmod) {
    EXPECT_EQ(MathSqrt(9), 3);
    EXPECT_TRUE(std::isnan(MathSqrt(-1)));
    EXPECT_EQ(MathPow(2, 10), 1024);
    EXPECT_EQ(MathPow(9, 0.5), 3);
    EXPECT_EQ(MathFmod(5, 0), 0);
    EXPECT_EQ(MathFmod(-0.5, 0), 0);
    EXPECT_EQ(MathFmod(-7, 3), -1);  // sign of x
    EXPECT_EQ(MathFmod(7, -3), 1);
    EXPECT_EQ(MathFmod(7.5, 2), 1.5);
    EXPECT_TRUE(std::isnan(MathFmod(7, NAN)));
    EXPECT_TRUE(std::isnan(MathFmod(INFINITY, 2)));
}

TEST(MathInteger, ModTruncatesTowardZeroAndNeverTraps) {
    EXPECT_EQ(MathMod(7, 0), 0);
    EXPECT_EQ(MathMod(-7, 2), -1);
    EXPECT_EQ(MathMod(7, -2), 1);
    EXPECT_EQ(MathMod(7.9, 2.9), 1);  // 7 % 2
    EXPECT_EQ(MathMod(NAN, 3), 0);
    EXPECT_EQ(MathMod(1e20, 7), 2147483647 % 7);  // saturated, not undefined
    EXPECT_EQ(MathMod(-2147483648.0, -1), 0);     // the divide itself would trap
    EXPECT_EQ(MathModInt(INT32_MIN, -1), 0);
    EXPECT_EQ(MathModInt(INT32_MIN, 3), INT32_MIN % 3);
    EXPECT_EQ(MathMod(-7, 2), -1);  // the int form
    EXPECT_EQ(MathAbs(-2.5), 2.5);
    EXPECT_EQ(MathAbs(-5), 5);
    EXPECT_EQ(MathAbs(INT32_MIN), INT32_MAX);
    EXPECT_EQ(MathMin(3, 2), 2);
    EXPECT_EQ(MathMax(-3, 2), 2);
}

TEST(MathMinMax, SecondArgumentWinsTiesAndNotANumber) {
    EXPECT_EQ(MathMax(3.0, 2.0), 3);
    EXPECT_EQ(MathMin(3.0, 2.0), 2);
    EXPECT_EQ(MathMax(NAN, 1.0), 1);
    EXPECT_TRUE(std::isnan(MathMax(1.0, NAN)));
    EXPECT_EQ(MathMin(NAN, 1.0), 1);
    EXPECT_TRUE(std::isnan(MathMin(1.0, NAN)));
    EXPECT_TRUE(std::signbit(MathMax(0.0, -0.0)));
    EXPECT_FALSE(std::signbit(MathMax(-0.0, 0.0)));
    EXPECT_TRUE(std::signbit(MathMin(0.0, -0.0)));
}

TEST(RectOverlapCommand, SharedCellsOnBothAxes) {
    EXPECT_EQ(RectOverlap(0, 0, 10, 10, 10, 0, 5, 5), 0);  // edge to edge
    EXPECT_EQ(RectOverlap(0, 0, 10, 10, 9, 9, 5, 5), 1);
    EXPECT_EQ(RectOverlap(0, 0, 10, 10, 2, 2, 3, 3), 1);  // inside
    EXPECT_EQ(RectOverlap(0, 0, 10, 10, 0, 10, 10, 10), 0);
    EXPECT_EQ(RectOverlap(5, 5, 0, 0, 5, 5, 1, 1), 1);  // size 0 covers its start
    EXPECT_EQ(RectOverlap(5, 5, 0, 0, 6, 5, 1, 1), 0);
    // Negative size: cells from s + size + 1 up to s.
    EXPECT_EQ(RectOverlap(10, 0, -5, 1, 6, 0, 1, 1), 1);
    EXPECT_EQ(RectOverlap(10, 0, -5, 1, 5, 0, 1, 1), 0);
    EXPECT_EQ(RectOverlap(10, 0, -5, 1, 10, 0, 1, 1), 1);
    EXPECT_EQ(RectOverlap(0, 0, 1, 1, 3, 0, -3, 1), 0);   // covers 1..3
    EXPECT_EQ(RectOverlap(1.9, 0, 1, 1, 1, 0, 1, 1), 1);  // truncated
    // Ends near the integer limits must not wrap round into an overlap.
    EXPECT_EQ(RectOverlap(2147483647.0, 0, 2147483647.0, 1, 0, 0, 10, 1), 0);
    EXPECT_EQ(RectOverlap(-2147483648.0, 0, -2147483648.0, 1, 0, 0, 10, 1), 0);
    EXPECT_EQ(RectOverlap(NAN, NAN, 1, 1, 0, 0, 1, 1), 1);
}

// ---- the generator, transcribed independently from the published description ----

struct RefIsaac {
    uint32_t randrsl[256];
    uint32_t mm[256];
    uint32_t aa, bb, cc;
};

void RefStep(RefIsaac& r) {
    uint32_t* m = r.mm;
    uint32_t a = r.aa, b = r.bb + (++r.cc);
    for (int i = 0; i < 256; ++i) {
        uint32_t x = m[i];
        uint32_t mixA;
        switch (i % 4) {
            case 0:
                mixA = a ^ (a << 13);
                break;
            case 1:
                mixA = a ^ (a >> 6);
                break;
            case 2:
                mixA = a ^ (a << 2);
                break;
            default:
                mixA = a ^ (a >> 16);
                break;
        }
        a = mixA + m[(i + 128) % 256];
        uint32_t y = m[(x / 4) % 256] + a + b;
        m[i] = y;
        b = m[(y / 1024) % 256] + x;
        r.randrsl[i] = b;
    }
    r.aa = a;
    r.bb = b;
}

#define REF_MIX(a, b, c, d, e, f, g, h) \
    {                                   \
        a ^= b << 11;                   \
        d += a;                         \
        b += c;                         \
        b ^= c >> 2;                    \
        e += b;                         \
        c += d;                         \
        c ^= d << 8;                    \
        f += c;                         \
        d += e;                         \
        d ^= e >> 16;                   \
        g += d;                         \
        e += f;                         \
        e ^= f << 10;                   \
        h += e;                         \
        f += g;                         \
        f ^= g >> 4;                    \
        a += f;                         \
        g += h;                         \
        g ^= h << 8;                    \
        b += g;                         \
        h += a;                         \
        h ^= a >> 9;                    \
        c += h;                         \
        a += b;                         \
    }

// The published initialisation with the seed already in randrsl (flag set).
void RefPublishedInit(RefIsaac& r) {
    uint32_t a, b, c, d, e, f, g, h;
    a = b = c = d = e = f = g = h = 0x9e3779b9;
    r.aa = r.bb = r.cc = 0;
    for (int i = 0; i < 4; ++i) REF_MIX(a, b, c, d, e, f, g, h);
    for (int pass = 0; pass < 2; ++pass) {
        const uint32_t* src = pass == 0 ? r.randrsl : r.mm;
        for (int i = 0; i < 256; i += 8) {
            a += src[i];
            b += src[i + 1];
            c += src[i + 2];
            d += src[i + 3];
            e += src[i + 4];
            f += src[i + 5];
            g += src[i + 6];
            h += src[i + 7];
            REF_MIX(a, b, c, d, e, f, g, h);
            r.mm[i] = a;
            r.mm[i + 1] = b;
            r.mm[i + 2] = c;
            r.mm[i + 3] = d;
            r.mm[i + 4] = e;
            r.mm[i + 5] = f;
            r.mm[i + 6] = g;
            r.mm[i + 7] = h;
        }
    }
    RefStep(r);
}

// The runtime's own seeding: the seed into a in every block, no scrambling rounds first.
void RefRuntimeSeed(RefIsaac& r, uint32_t seed) {
    uint32_t a, b, c, d, e, f, g, h;
    a = b = c = d = e = f = g = h = 0x9e3779b9;
    r.aa = r.bb = r.cc = 0;
    auto store = [&](int i) {
        r.mm[i] = a;
        r.mm[i + 1] = b;
        r.mm[i + 2] = c;
        r.mm[i + 3] = d;
        r.mm[i + 4] = e;
        r.mm[i + 5] = f;
        r.mm[i + 6] = g;
        r.mm[i + 7] = h;
    };
    for (int i = 0; i < 256; i += 8) {
        a += seed;
        REF_MIX(a, b, c, d, e, f, g, h);
        store(i);
    }
    for (int i = 0; i < 4; ++i) REF_MIX(a, b, c, d, e, f, g, h);
    for (int pass = 0; pass < 2; ++pass) {
        for (int i = 0; i < 256; i += 8) {
            const uint32_t* src = pass == 0 ? r.randrsl : r.mm;
            a += src[i];
            b += src[i + 1];
            c += src[i + 2];
            d += src[i + 3];
            e += src[i + 4];
            f += src[i + 5];
            g += src[i + 6];
            h += src[i + 7];
            REF_MIX(a, b, c, d, e, f, g, h);
            store(i);
        }
    }
    RefStep(r);
}

uint32_t RefNext(RefIsaac& r) {
    RefStep(r);
    return r.randrsl[0];
}

RefIsaac RefFrom(const RandomState& s) {
    RefIsaac r;
    std::memcpy(r.randrsl, s.results, sizeof r.randrsl);
    std::memcpy(r.mm, s.memory, sizeof r.mm);
    r.aa = s.accumulator;
    r.bb = s.lastResult;
    r.cc = s.counter;
    return r;
}

void ExpectSameState(const RandomState& s, const RefIsaac& r) {
    EXPECT_EQ(std::memcmp(s.results, r.randrsl, sizeof r.randrsl), 0);
    EXPECT_EQ(std::memcmp(s.memory, r.mm, sizeof r.mm), 0);
    EXPECT_EQ(s.accumulator, r.aa);
    EXPECT_EQ(s.lastResult, r.bb);
    EXPECT_EQ(s.counter, r.cc);
}

TEST(RandomGenerator, PassMatchesThePublishedTestVector) {
    // The published zero-seed output: second pass after the standard initialisation.
    const uint32_t expected[16] = {0xf650e4c8, 0xe448e96d, 0x98db2fb4, 0xf5fad54f,
                                   0x433f1afb, 0xedec154a, 0xd8370487, 0x46ca4f9a,
                                   0x5de3743e, 0x88381097, 0xf1d444eb, 0x823cedb6,
                                   0x6a83e1e0, 0x4a5f6355, 0xc7442433, 0x25890e2e};
    RefIsaac ref{};
    RefPublishedInit(ref);
    RandomState s;
    std::memcpy(s.results, ref.randrsl, sizeof s.results);
    std::memcpy(s.memory, ref.mm, sizeof s.memory);
    s.accumulator = ref.aa;
    s.lastResult = ref.bb;
    s.counter = ref.cc;
    RefStep(ref);
    RandomPass(s);
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(ref.randrsl[i], expected[i]) << i;
        EXPECT_EQ(s.results[i], expected[i]) << i;
    }
    ExpectSameState(s, ref);
}

TEST(RandomGenerator, SeedingAndSequenceMatchTheReference) {
    for (uint32_t seed : {0u, 1u, 12345u, 0x9e3779b9u, 0xFFFFFFFFu}) {
        RandomState s;  // results all zero, as at the first seeding
        RefIsaac ref{};
        RandomSeedState(s, seed);
        RefRuntimeSeed(ref, seed);
        ExpectSameState(s, ref);
        EXPECT_EQ(s.resultsLeft, 256u);
        for (int i = 0; i < 1000; ++i)
            ASSERT_EQ(RandomNextWord(s), RefNext(ref)) << seed << " " << i;
    }
}

TEST(RandomGenerator, ReseedReadsThePreviousResults) {
    RandomState s;
    RandomSeedState(s, 42);
    uint32_t first = RandomNextWord(s);
    RefIsaac ref = RefFrom(s);
    RandomSeedState(s, 42);  // same seed, different results array
    RefRuntimeSeed(ref, 42);
    ExpectSameState(s, ref);
    RandomState fresh;
    RandomSeedState(fresh, 42);
    EXPECT_NE(RandomNextWord(s), RandomNextWord(fresh));
    EXPECT_NE(first, 0u);
}

TEST(RandomCommands, RandomGetRangeAndReproducibility) {
    RefIsaac ref = RefFrom(CoreRandom());
    RandomSeed(1234);
    RefRuntimeSeed(ref, 1234);
    for (int n : {1, 2, 6, 100, 2147483647}) {
        for (int i = 0; i < 50; ++i) {
            uint32_t word = RefNext(ref);
            ASSERT_EQ(RandomGet(n), word % (static_cast<uint32_t>(n) + 1u)) << n;
        }
    }
    // Saturated limit: the caller's huge double becomes 2^31 - 1.
    uint32_t word = RefNext(ref);
    EXPECT_EQ(RandomGet(1e20), word % 2147483648u);
    EXPECT_EQ(RandomGet(6.9), RefNext(ref) % 7u);  // truncated to 6

    // RandomSeed takes the seed's bit pattern: -1 seeds as 0xFFFFFFFF.
    RefRuntimeSeed(ref, 0xFFFFFFFFu);
    RandomSeed(-1);
    ExpectSameState(CoreRandom(), ref);
}

TEST(RandomCommands, NonPositiveLimitGivesZeroWithoutAdvancing) {
    RandomSeed(99);
    uint32_t counter = CoreRandom().counter;
    uint32_t r0 = CoreRandom().results[0];
    EXPECT_EQ(RandomGet(0), 0);
    EXPECT_EQ(RandomGet(-5), 0);
    EXPECT_EQ(RandomGet(0.9), 0);
    EXPECT_EQ(RandomGet(NAN), 0);
    EXPECT_EQ(CoreRandom().counter, counter);
    EXPECT_EQ(CoreRandom().results[0], r0);
}

TEST(RandomCommands, EveryValueFromZeroToNInclusive) {
    RandomSeed(7);
    std::set<double> seen1, seen6;
    for (int i = 0; i < 400; ++i) {
        double v = RandomGet(1);
        ASSERT_TRUE(v == 0 || v == 1) << v;
        seen1.insert(v);
        double w = RandomGet(6);
        ASSERT_GE(w, 0);
        ASSERT_LE(w, 6);
        ASSERT_EQ(w, std::trunc(w));
        seen6.insert(w);
    }
    EXPECT_EQ(seen1.size(), 2u);
    EXPECT_EQ(seen6.size(), 7u);
}

}  // namespace
