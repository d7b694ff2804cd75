// Text printing inside the runtime: the 3D engine prints at a projected point, the input
// line editor prints its line.
#pragma once

#include "core/rt_string.h"

// Prints text with font 0..31 (others: nothing), the first cell's top-left at (x, y) rounded
// up to whole pixels, at depth z. Returns 0.
int GfxPrint(int font, const RtString& text, double x, double y, float z);
