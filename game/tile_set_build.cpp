#include "game/tile_set_build.h"

#include "corvane.h"

namespace zan3 {

void TileCorner(int k, double& x, double& y) {
    // Centres on the pitch, 10 pixels in from the sheet's corner at (10, 10).
    const double centreX = 20 + kTilePitch * (k % kTileColumns);
    const double centreY = 20 + kTilePitch * (k / kTileColumns);
    x = centreX - 10;
    y = centreY - 10;
}

double TileSetBuild(TileSetState& t, const ShowShared& shared) {
    if (t.built) return 0;
    t.built = true;
    SpriteLoad(shared.mediaPath + "map.png", 3);
    BlendModeSet(0);
    SpriteDraw(3, 10, 10);
    for (int k = 0; k < kTileCount; ++k) {
        double x = 0, y = 0;
        TileCorner(k, x, y);
        SpriteGrab(kFirstTileSprite + k, x, y, kTileSize, kTileSize);
    }
    ScreenClear();
    return 0;
}

}  // namespace zan3
