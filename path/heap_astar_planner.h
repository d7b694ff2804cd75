// The same A* search with a binary-heap open list and a closed set sized to the map: it
// expands exactly the nodes of AStarPlanner in the same order, at logarithmic cost per
// insertion, and serves as the yardstick the sorted array is measured against.
#pragma once

#include "path/astar_planner.h"
#include "path/open_heap.h"

class HeapAStarPlanner : public AStarPlanner {
public:
    ~HeapAStarPlanner() override;
    void Reset() override;
    bool Search() override;
    void Clear() override;

protected:
    bool SetupLists() override;

private:
    OpenHeap heap_;
};
