// The direction table of binary objects: an index 0..161 names a unit vector.
#pragma once

constexpr int kQmdDirectionCount = 162;
extern const float kQmdDirections[kQmdDirectionCount][3];
