// Cuts the tile sheet map.png (15 x 12 tiles of 21 x 21 on a 22-pixel pitch) into sprites
// 10..189 through the back buffer, once, on its first call.
#pragma once

#include "game/show_shared.h"

namespace zan3 {

inline constexpr int kTileColumns = 15;
inline constexpr int kTileCount = 180;
inline constexpr int kTilePitch = 22;
inline constexpr int kTileSize = 21;
inline constexpr int kFirstTileSprite = 10;

struct TileSetState {
    bool built = false;
};

// Where tile k's top-left corner lies on screen with the sheet drawn at (10, 10).
void TileCorner(int k, double& x, double& y);

double TileSetBuild(TileSetState& t, const ShowShared& shared);

}  // namespace zan3
