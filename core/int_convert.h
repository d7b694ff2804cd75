// The one way a number becomes an integer anywhere in the runtime (slots, channels, sizes,
// positions, indices). Truncates toward zero; NaN gives 0; infinities and values outside the
// target range saturate to its ends, so no conversion is ever undefined behaviour.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

inline int32_t ToInt(double v) {
    if (!(v == v)) return 0;
    if (v >= 2147483647.0) return std::numeric_limits<int32_t>::max();
    if (v <= -2147483648.0) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(v);
}

inline int64_t ToInt64(double v) {
    if (!(v == v)) return 0;
    // 2^63 is the first double past the range; -2^63 itself is representable.
    if (v >= 9223372036854775808.0) return std::numeric_limits<int64_t>::max();
    if (v <= -9223372036854775808.0) return std::numeric_limits<int64_t>::min();
    return static_cast<int64_t>(v);
}

// For values whose meaning is a 32-bit bit pattern (seeds, packed colours, hashes): the
// integral part taken modulo 2^32. NaN and infinities give 0.
inline uint32_t ToUInt32Wrap(double v) {
    if (!std::isfinite(v)) return 0;
    double t = std::trunc(v);
    double m = std::fmod(t, 4294967296.0);
    if (m < 0) m += 4294967296.0;
    return static_cast<uint32_t>(m);
}

// A double narrowed to float: NaN stays NaN, values beyond the float range become infinities
// (a plain cast of those is undefined).
inline float ToFloat(double v) {
    constexpr double kMax = std::numeric_limits<float>::max();
    if (v > kMax) return std::numeric_limits<float>::infinity();
    if (v < -kMax) return -std::numeric_limits<float>::infinity();
    return static_cast<float>(v);
}
