// Reads the frame being drawn back from the window's back buffer.
#pragma once

#include <cstdint>
#include <vector>

// The whole window as top-down RGBA rows (alpha forced to 255); false without a renderer.
bool FrameCapture(std::vector<uint8_t>& rgba, int& width, int& height);
