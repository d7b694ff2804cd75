// The math and random commands of the game's command set. Angles are in degrees.
#include <algorithm>
#include <cmath>

#include "core/int_convert.h"
#include "core/random.h"
#include "corvane.h"

namespace {
constexpr double kDegToRad = 0.017453292519943295;
constexpr double kRadToDeg = 57.29577951308232;
}  // namespace

double MathSin(double degrees) {
    return std::sin(degrees * kDegToRad);
}
double MathCos(double degrees) {
    return std::cos(degrees * kDegToRad);
}
double MathTan(double degrees) {
    return std::tan(degrees * kDegToRad);
}
double MathAtan(double y, double x) {
    return std::atan2(y, x) * kRadToDeg;
}

double MathAsin(double x) {
    if (x >= 1) return 90;
    if (x <= -1) return -90;
    return std::asin(x) * kRadToDeg;
}

double MathAcos(double x) {
    if (x >= 1) return 0;
    if (x <= -1) return 180;
    return std::acos(x) * kRadToDeg;
}

double MathSqrt(double x) {
    return std::sqrt(x);
}
double MathPow(double base, double exponent) {
    return std::pow(base, exponent);
}
double MathFmod(double x, double y) {
    return y == 0 ? 0 : std::fmod(x, y);
}
double MathMod(double a, double b) {
    return MathModInt(ToInt(a), ToInt(b));
}
double MathAbs(double v) {
    return std::fabs(v);
}
// A not-a-number argument makes both return the second argument.
double MathMin(double a, double b) {
    return b > a ? a : b;
}
double MathMax(double a, double b) {
    return a > b ? a : b;
}

int RectOverlapInt(int32_t x1, int32_t y1, int32_t w1, int32_t h1, int32_t x2, int32_t y2,
                   int32_t w2, int32_t h2) {
    struct Range {
        int64_t lo, hi;
    };
    auto span = [](int64_t s, int64_t size) {
        int64_t e = size > 0 ? s + size - 1 : (size == 0 ? s : s + size + 1);
        return Range{std::min(s, e), std::max(s, e)};
    };
    auto meet = [](Range a, Range b) { return std::max(a.lo, b.lo) <= std::min(a.hi, b.hi); };
    return meet(span(x1, w1), span(x2, w2)) && meet(span(y1, h1), span(y2, h2)) ? 1 : 0;
}

double RectOverlap(double x1, double y1, double w1, double h1, double x2, double y2, double w2,
                   double h2) {
    return RectOverlapInt(ToInt(x1), ToInt(y1), ToInt(w1), ToInt(h1), ToInt(x2), ToInt(y2),
                          ToInt(w2), ToInt(h2));
}

double RandomGet(double n) {
    int32_t limit = ToInt(n);
    if (limit <= 0) return 0;
    return RandomNextWord(CoreRandom()) % (static_cast<uint32_t>(limit) + 1u);
}

void RandomSeed(double seed) {
    RandomSeedState(CoreRandom(), ToUInt32Wrap(seed));
}
