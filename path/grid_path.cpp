#include "path/grid_path.h"

#include <new>

#include "path/astar_planner.h"
#include "path/heap_astar_planner.h"

PlannerParams PathFindParams(const double* costs, int32_t width, int32_t height, float weight,
                             int32_t startX, int32_t startY, int32_t goalX, int32_t goalY) {
    PlannerParams p;
    p.startX = startX;
    p.startY = startY;
    p.goalX = goalX;
    p.goalY = goalY;
    p.diagonalCostFactor = 1;
    p.diagonalMoves = 0;
    p.poolSize = 0;
    p.openCapacity = 0;
    p.closedExponent = 8;
    p.weight = weight;
    p.width = width;
    p.height = height;
    p.costs = costs;
    p.openList = OpenListKind::kBinaryHeap;
    return p;
}

namespace {

size_t RunPlanner(Planner& planner, const PlannerParams& params, std::vector<GridPoint>& path,
                  uint32_t* expanded) {
    if (expanded) *expanded = 0;
    if (!planner.Setup(params)) return 0;
    planner.Reset();
    const bool found = planner.Search();
    if (expanded) *expanded = planner.SearchCount();
    size_t n = 0;
    if (found) {
        for (const Node* node = planner.Result(); node; node = node->parent) ++n;
        try {
            std::vector<GridPoint> points(n);
            size_t i = n;
            for (const Node* node = planner.Result(); node; node = node->parent) {
                points[--i] = GridPoint{node->x, node->y};
            }
            path.swap(points);
        } catch (const std::bad_alloc&) {
            n = 0;
        }
    }
    planner.Clear();
    return n;
}

}  // namespace

size_t GridPathFind(const PlannerParams& params, std::vector<GridPoint>& path, uint32_t* expanded) {
    if (params.openList == OpenListKind::kBinaryHeap) {
        HeapAStarPlanner planner;
        return RunPlanner(planner, params, path, expanded);
    }
    AStarPlanner planner;
    return RunPlanner(planner, params, path, expanded);
}
