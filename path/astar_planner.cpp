#include "path/astar_planner.h"

#include "path/astar_search.h"
#include "path/sorted_open_list.h"

AStarPlanner::~AStarPlanner() = default;

Node* AStarPlanner::TakeStartNode() {
    Node* start = pool_.Take();
    if (!start) return nullptr;
    start->parent = nullptr;
    start->x = params_.startX;
    start->y = params_.startY;
    start->g = 0;
    start->f = 0;  // never compared: it is the only node on the list
    start->next = nullptr;
    return start;
}

void AStarPlanner::Reset() {
    Planner::Reset();
    if (Node* start = TakeStartNode()) open_.PushBack(start);
}

bool AStarPlanner::Search() {
    SortedOpenList open(open_);
    return Run(open);
}
