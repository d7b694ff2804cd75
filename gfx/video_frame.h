// Video pictures drawn straight into the window: the picture the game last showed is kept
// as the backdrop, and each video frame is stretched into its rectangle over it.
#pragma once

#include <cstdint>

// Keeps what the window shows now (the last presented frame) as the backdrop.
void VideoBackdropCapture();
// Draws the backdrop, then the RGBA picture (width x height, rows from the top) into the
// window rectangle (x, y, w, h; y downwards), and shows the result at once (no pacing).
// rgba null: the backdrop alone.
void VideoFrameShow(const uint8_t* rgba, int width, int height, int x, int y, int w, int h);
// Frees the textures and hands the 2D state back as a frame expects it.
void VideoFrameRelease();
