// Path finding over a plain grid of costs: the part of PathFind that needs no runtime array.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "path/planner.h"

struct GridPoint {
    int32_t x;
    int32_t y;
    bool operator==(const GridPoint&) const = default;
};

// The parameters PathFind hands the planner: straight moves only, the binary-heap open list,
// pool and open list sized to the map, 2^8 closed-set buckets.
PlannerParams PathFindParams(const double* costs, int32_t width, int32_t height, float weight,
                             int32_t startX, int32_t startY, int32_t goalX, int32_t goalY);

// Runs one planner (the one params.openList names) from set-up to destruction. On success fills
// path from start to goal (both included) and returns its length; otherwise returns 0 and leaves
// path as it was. expanded, when given, receives the number of nodes the search expanded.
size_t GridPathFind(const PlannerParams& params, std::vector<GridPoint>& path,
                    uint32_t* expanded = nullptr);
