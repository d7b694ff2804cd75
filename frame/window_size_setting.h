// The window size a user may ask for at start-up: CORVANE_SCREEN=800x600 (so a program made
// for 640 x 480 can be seen, recorded and tested at another size without rebuilding it).
#pragma once

#include <string>

// "WxH" with both sides 1..16384 gives true and the sides; anything else false, sides kept.
bool WindowSizeParse(const std::string& text, int& width, int& height);
