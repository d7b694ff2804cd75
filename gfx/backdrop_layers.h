// The background layers: pictures too large for one texture, cut into tiles of at most 512
// pixels, up to 8 x 8 tiles a layer. Layer 0 is drawn behind every frame.
#pragma once

#include <string>

#include "gfx/sprite_slot.h"

// Layer n, or null when n is outside 0..7 or there is no renderer.
BackdropLayer* LayerGet(int layer);

// Deletes the layer's tiles (their textures once the context is up) and empties it.
void LayerClear(int layer);

// Tile side for loads: the maximum texture size, at most 512.
int LayerLoadTileSize();

// Decodes a picture file's bytes (BMP, then PNG, no transparent colour) and cuts it into tiles. A
// picture that does not fit into 8 x 8 tiles is refused before anything is allocated for it. False
// on any failure; a decode failure leaves the layer as it was, an upload failure empty.
bool LayerLoadBytes(int layer, const std::string& bytes, const std::string& name);

// Copies the back buffer (whole window) into the layer; tiles of the right size are reused.
void LayerGrabScreen(int layer);

// Draws the layer's tiles from the viewport's top-left corner with the current colour and
// blend state, nearest filtering and no alpha test.
void LayerDraw(int layer);
