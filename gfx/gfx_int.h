// Number -> integer conversions of the graphics commands.
#pragma once

#include <cmath>

#include "core/int_convert.h"

// Truncates toward zero; NaN gives 0, out-of-range values saturate.
inline int GfxInt(double v) {
    return ToInt(v);
}

// Rounds up to a whole pixel, with the same NaN and range rules.
inline int GfxCeil(double v) {
    return ToInt(std::ceil(v));
}
