// Text printing inside the runtime: the 3D engine prints at a projected point, the input
// line editor prints its line.
#pragma once

#include "core/rt_string.h"

// Prints text with font 0..31 (others: nothing), the first cell's top-left at (x, y) rounded
// up to whole pixels, at depth z. Returns 0.
int GfxPrint(int font, const RtString& text, double x, double y, float z);

// Font n (0..31) becomes the built-in font without looking for a file: start-up's system
// font when the program brings none, which is no failure to report.
void FontBuiltinLoad(int font);
