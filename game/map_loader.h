// Reads the level from section map_1 of an INI file (keys "1", "2", ... without gaps), lays
// the cells out on the 20-pixel grid, centres the map on (centreX, centreY) and builds the
// object lists. A missing file or a map of fewer than two cells ends the program with
// runtime error 9.
#pragma once

#include "game/map_data.h"

namespace zan3 {

void MapLoad(MapData& map, const RtString& path, double centreX, double centreY);

}  // namespace zan3
