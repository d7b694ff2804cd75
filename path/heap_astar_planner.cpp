#include "path/heap_astar_planner.h"

#include <cstdint>

#include "path/astar_search.h"

namespace {

// Smallest b with 2^b >= n.
int CeilLog2(int64_t n) {
    int b = 0;
    while ((int64_t{1} << b) < n) ++b;
    return b;
}

}  // namespace

HeapAStarPlanner::~HeapAStarPlanner() = default;

void HeapAStarPlanner::Reset() {
    Planner::Reset();
    if (Node* start = TakeStartNode()) heap_.Insert(start);
}

bool HeapAStarPlanner::Search() {
    return Run(heap_);
}

void HeapAStarPlanner::Clear() {
    pool_.Release(heap_.Clear());
    Planner::Clear();
}

bool HeapAStarPlanner::SetupLists() {
    const PlannerParams& p = params_;
    return heap_.Setup(p.width, p.height) && closed_.Setup(CeilLog2(p.width), CeilLog2(p.height));
}
