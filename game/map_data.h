// The level as the map loader builds it and the map view animates it: per-cell arrays in
// map order, and the three object lists (item markers, blinkers, letter objects).
#pragma once

#include <vector>

#include "corvane.h"

namespace zan3 {

inline constexpr double kCellPitch = 20;
inline constexpr double kCellHalf = kCellPitch * 0.5;

struct ItemMarker {
    double x = 0, y = 0, restX = 0, restY = 0;
    double half = kCellHalf;
    RtString kind;  // "?" or "!"
    double alpha = -0.015;
};

struct Blinker {
    double x = 0, y = 0, restX = 0, restY = 0;
    double half = kCellHalf;
    RtString look;  // "d1".."d4"
    double alpha = -0.2;
    double phase = 0, wait = 0;
    double startLimit = 0, startCounter = 0;
};

struct LetterObject {
    double x = 0, y = 0, restX = 0, restY = 0;
    RtString kind;  // "m", "l", "s", "t" or "e"
    double alpha = -0.015;
    double startLimit = 200, startCounter = 0;
    double phase = 0, wait = 0, scale = 0, angle = 0;
};

struct MapData {
    RtStringArray codes;
    double cellCount = 0;
    RtNumberArray cellX, cellY, cellBaseX, cellBaseY, cellHalfSize, cellDelay, cellAlpha;
    std::vector<ItemMarker> items;
    std::vector<Blinker> blinkers;
    std::vector<LetterObject> letters;
    double ringShadowX = 0, ringShadowY = 0;
};

// The ground sprite of a code, or 0 when the cell draws nothing of its own.
double GroundSprite(const RtString& code);

// Object kinds of a code.
bool IsItemCode(const RtString& code);
bool IsBlinkerCode(const RtString& code);
bool IsLetterCode(const RtString& code);

}  // namespace zan3
