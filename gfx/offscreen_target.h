// Off-screen drawing targets: a sprite slot that drawing goes into instead of the window.
#pragma once

#include <cstdint>

constexpr int kOffscreenTargetCount = 32;

struct OffscreenTarget {
    uint32_t framebuffer = 0;        // GL name, 0 = none
    uint32_t depthRenderbuffer = 0;  // GL name, 0 = none
    int width = 0;        // framebuffer size (the slot's texture width); 0: the copy path
    int height = 0;       // the slot's texture height; 0: the copy path
    int spriteSlot = -1;  // the slot that receives the drawing; -1: never created
};
