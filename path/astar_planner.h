// A* over the normalised cost grid with f = g + w (h - g), h the grid-step distance to the
// goal; closed nodes are opened again when a cheaper way to them turns up.
#pragma once

#include "path/planner.h"

class AStarPlanner : public Planner {
public:
    ~AStarPlanner() override;
    // Clears the search state and puts the start node on the open list.
    void Reset() override;
    // True when the goal was reached; Result() is then the goal node.
    bool Search() override;

private:
    template <class OpenList>
    bool Run(OpenList& open);
};
