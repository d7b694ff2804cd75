// Integer forms of the math commands, free of overflow traps.
#pragma once

#include <cstdint>

// 0 when b is 0; the remainder truncated toward zero otherwise. INT32_MIN % -1 gives 0
// (the hardware divide would trap).
inline int32_t MathModInt(int32_t a, int32_t b) {
    if (b == 0 || b == -1) return 0;
    return a % b;
}

// |INT32_MIN| does not fit: it saturates to INT32_MAX rather than staying negative.
inline int32_t MathAbsInt(int32_t v) {
    if (v == INT32_MIN) return INT32_MAX;
    return v < 0 ? -v : v;
}

// 1 when the rectangles share a cell. Per axis a rectangle covers s..s+size-1 (size > 0),
// s (size 0) or s+size+1..s (size < 0).
int RectOverlapInt(int32_t x1, int32_t y1, int32_t w1, int32_t h1, int32_t x2, int32_t y2,
                   int32_t w2, int32_t h2);
