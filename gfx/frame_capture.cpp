#include "gfx/frame_capture.h"

#include <GL/gl.h>

#include <cstring>

#include "gfx/renderer.h"
#include "gfx/texture_store.h"
#include "runtime/runtime_state.h"

bool FrameCapture(std::vector<uint8_t>& rgba, int& width, int& height) {
    Renderer* r = runtimeState.renderer;
    if (!r || !GfxReady() || r->width <= 0 || r->height <= 0) return false;
    // The frame as it will be shown: a target still current is finished first, as the swap
    // would, so neither its framebuffer nor the copy path's drawing on the window is taken.
    r->OffscreenEnd();
    width = r->width;
    height = r->height;
    const size_t row = size_t(width) * 4;
    rgba.resize(row * size_t(height));
    GlReadPixelsPacked(0, 0, width, height, GL_RGBA, rgba.data());
    // GL rows run bottom-up; pictures and videos run top-down.
    std::vector<uint8_t> tmp(row);
    for (int y = 0; y < height / 2; ++y) {
        uint8_t* a = rgba.data() + size_t(y) * row;
        uint8_t* b = rgba.data() + size_t(height - 1 - y) * row;
        std::memcpy(tmp.data(), a, row);
        std::memcpy(a, b, row);
        std::memcpy(b, tmp.data(), row);
    }
    for (size_t i = 3; i < rgba.size(); i += 4) rgba[i] = 255;
    return true;
}
