// The A* loop shared by the planners; each one instantiates it with its own open list.
#pragma once

#include <cstdlib>

#include "path/astar_planner.h"

namespace astar_search {

constexpr float kDiagonal = 1.4142137f;

struct Step {
    int dx;
    int dy;
    bool diagonal;
};

// The neighbour order decides between routes of equal cost, so it is fixed.
constexpr Step kSteps[8] = {{-1, -1, true}, {0, -1, false}, {1, -1, true}, {1, 0, false},
                            {-1, 0, false}, {-1, 1, true},  {0, 1, false}, {1, 1, true}};

}  // namespace astar_search

template <class OpenList>
bool AStarPlanner::Run(OpenList& open) {
    const PlannerParams& p = params_;
    const float w = p.weight;
    while (!open.Empty()) {
        Node* current = open.PopBest();
        ++searchCount_;
        if (current->x == p.goalX && current->y == p.goalY) {
            closed_.Insert(current);
            result_ = current;
            finished_ = true;
            return true;
        }
        for (const astar_search::Step& s : astar_search::kSteps) {
            if (s.diagonal && !p.diagonalMoves) continue;
            const int nx = current->x + s.dx;
            const int ny = current->y + s.dy;
            if (nx < 0 || nx >= p.width || ny < 0 || ny >= p.height) continue;
            const float c = Cost(nx, ny);
            if (c < 0) continue;
            const float step = s.diagonal && p.diagonalCostFactor ? c * astar_search::kDiagonal : c;
            const float g = current->g + step;
            const float h = static_cast<float>(std::abs(p.goalX - nx) + std::abs(p.goalY - ny));
            const float f = g + w * (h - g);

            if (Node* n = closed_.Find(nx, ny)) {
                if (n->g > g) {
                    closed_.UnlinkFound();
                    n->parent = current;
                    n->g = g;
                    n->f = f;
                    if (!open.Insert(n)) return finished_ = true, false;
                }
                continue;
            }
            if (Node* n = open.Find(nx, ny)) {
                if (n->g > g) {
                    open.Erase(n);
                    n->parent = current;
                    n->g = g;
                    n->f = f;
                    if (!open.Insert(n)) return finished_ = true, false;
                }
                continue;
            }
            Node* n = pool_.Take();
            // Each cell has at most one node and the pool and the list are sized to the map,
            // so this only fails with a smaller pool given by hand: fail rather than return a
            // path that skipped part of the map.
            if (!n) return finished_ = true, false;
            n->parent = current;
            n->x = nx;
            n->y = ny;
            n->g = g;
            n->f = f;
            n->next = nullptr;
            if (!open.Insert(n)) return finished_ = true, false;
        }
        closed_.Insert(current);
    }
    finished_ = true;
    return false;
}
