// A* over the normalised cost grid with f = g + w (h - g), h the grid-step distance to the
// goal; closed nodes are opened again when a cheaper way to them turns up. The open list is
// the planner's sorted FixedDeque.
#pragma once

#include "path/planner.h"

class AStarPlanner : public Planner {
public:
    ~AStarPlanner() override;
    // Clears the search state and puts the start node on the open list.
    void Reset() override;
    // True when the goal was reached; Result() is then the goal node.
    bool Search() override;

protected:
    // A fresh node for the start cell from the pool, or null when the pool is empty.
    Node* TakeStartNode();
    // The search itself, over any open list with Empty, PopBest, Find, Erase and Insert
    // (defined in path/astar_search.h).
    template <class OpenList>
    bool Run(OpenList& open);
};
