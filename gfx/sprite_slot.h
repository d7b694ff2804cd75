// The picture stores of the renderer: sprite slots and background layers.
#pragma once

#include <cstdint>

constexpr int kSpriteSlotCount = 65536;
constexpr int kScratchSlot = 65503;   // the renderer's own copy of the screen
constexpr int kFontSlotBase = 65504;  // font n lives in slot kFontSlotBase + n
constexpr int kFontCount = 32;
constexpr int kBackdropLayerCount = 8;
constexpr int kLayerTilesPerSide = 8;  // a layer holds up to 8 x 8 tiles

// One picture. Pictures sit upside down in a power-of-two texture: texture row 0 holds the
// picture's bottom row, and the picture fills the lowest rows and leftmost columns.
struct SpriteSlot {
    uint32_t texture;           // GL name, 0 = none
    uint32_t mipmappedTexture;  // copy with a full mip-map chain, 0 = none
    int16_t textureWidth;       // power of two; -1 when empty
    int16_t textureHeight;
    int16_t pictureWidth;  // 0 when empty
    int16_t pictureHeight;
    int16_t frameWidth;  // animation frame size; 0 = no frames
    int16_t frameHeight;
};

// A large picture cut into tiles, indexed [column * 8 + row].
struct BackdropLayer {
    uint32_t tileTextures[64];
    int tileTextureWidths[64];
    int tileTextureHeights[64];
    int tileUsedWidths[64];
    int tileUsedHeights[64];
    int columns;
    int rows;
};

inline bool SpriteSlotValid(int slot) {
    return slot >= 0 && slot < kSpriteSlotCount;
}
