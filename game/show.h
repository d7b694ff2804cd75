// The whole show's state in one object: what the sub-programs share and each one's own.
#pragma once

#include "corvane.h"
#include "game/logo_intro.h"
#include "game/map_play.h"
#include "game/particle_effects.h"
#include "game/show_shared.h"
#include "game/status_ticker.h"
#include "game/tile_set_build.h"
#include "game/title_banner.h"

namespace zan3 {

struct Show {
    ShowShared shared;
    LogoIntroState logo;
    StatusTickerState ticker;
    TitleBannerState banner;
    TileSetState tiles;
    MapPlayState map;
    ParticleState particles;
    RtString keyboardLabel = "Keyboard - no";
    RtString mouseLabel = "Mouse - no";
    double mouseX = 0, mouseY = 0, mouseButton1 = 0, mouseButton2 = 0;
};

Show& TheShow();

}  // namespace zan3
