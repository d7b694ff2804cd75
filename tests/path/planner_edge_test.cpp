#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "path/grid_path.h"

namespace {

using Path = std::vector<GridPoint>;

class PlannerEdge : public ::testing::TestWithParam<OpenListKind> {
protected:
    size_t Find(const std::vector<double>& map, int w, int h, float weight, int sx, int sy, int gx,
                int gy, Path& path, uint32_t* expanded = nullptr) {
        PlannerParams p = PathFindParams(map.data(), w, h, weight, sx, sy, gx, gy);
        p.openList = GetParam();
        return GridPathFind(p, path, expanded);
    }
};

TEST_P(PlannerEdge, BadStartOrGoalGivesNothingAndLeavesThePath) {
    const std::vector<double> map(9, 1.0);
    const Path before{{7, 7}};
    Path path = before;
    EXPECT_EQ(Find(map, 3, 3, 0.5f, 1, 1, 1, 1, path), 0u);
    EXPECT_EQ(Find(map, 3, 3, 0.5f, -1, 0, 2, 2, path), 0u);
    EXPECT_EQ(Find(map, 3, 3, 0.5f, 0, 3, 2, 2, path), 0u);
    EXPECT_EQ(Find(map, 3, 3, 0.5f, 0, 0, 3, 0, path), 0u);
    EXPECT_EQ(Find(map, 3, 3, 0.5f, 0, 0, 0, -1, path), 0u);
    EXPECT_EQ(path, before);
}

TEST_P(PlannerEdge, StraightRowGivesEveryCell) {
    Path path;
    ASSERT_EQ(Find({1, 1, 1}, 3, 1, 0.5f, 0, 0, 2, 0, path), 3u);
    EXPECT_EQ(path, (Path{{0, 0}, {1, 0}, {2, 0}}));
    ASSERT_EQ(Find({1, 1, 1}, 3, 1, 0.5f, 2, 0, 0, 0, path), 3u);
    EXPECT_EQ(path, (Path{{2, 0}, {1, 0}, {0, 0}}));
}

TEST_P(PlannerEdge, BlockedMiddleForcesAStraightDetour) {
    const std::vector<double> map{1, 1, 1, 1, 0, 1, 1, 1, 1};
    Path path;
    ASSERT_EQ(Find(map, 3, 3, 0.5f, 0, 1, 2, 1, path), 5u);
    EXPECT_EQ(path.front(), (GridPoint{0, 1}));
    EXPECT_EQ(path.back(), (GridPoint{2, 1}));
    for (size_t i = 0; i < path.size(); ++i) {
        EXPECT_NE(path[i], (GridPoint{1, 1}));
        if (i == 0) continue;
        EXPECT_EQ(std::abs(path[i].x - path[i - 1].x) + std::abs(path[i].y - path[i - 1].y), 1);
    }
}

TEST_P(PlannerEdge, BlockedGoalIsNeverEnteredButABlockedStartIsLeft) {
    Path path{{9, 9}};
    EXPECT_EQ(Find({1, 1, 0}, 3, 1, 0.5f, 0, 0, 2, 0, path), 0u);
    EXPECT_EQ(path, (Path{{9, 9}}));
    ASSERT_EQ(Find({0, 1, 1}, 3, 1, 0.5f, 0, 0, 2, 0, path), 3u);
    EXPECT_EQ(path, (Path{{0, 0}, {1, 0}, {2, 0}}));
}

TEST_P(PlannerEdge, NoWalkableCellOrNoWayGivesNothing) {
    Path path;
    EXPECT_EQ(Find({0, -2, 0, 0}, 2, 2, 0.5f, 0, 0, 1, 1, path), 0u);
    // A wall across the middle column.
    EXPECT_EQ(Find({1, 0, 1, 1, 0, 1, 1, 0, 1}, 3, 3, 0.5f, 0, 0, 2, 2, path), 0u);
}

TEST_P(PlannerEdge, CostsThatAreNoNumbersOrInfiniteBlockTheCell) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    Path path;
    EXPECT_EQ(Find({1, nan, 1}, 3, 1, 0.5f, 0, 0, 2, 0, path), 0u);
    EXPECT_EQ(Find({1, inf, 1}, 3, 1, 0.5f, 0, 0, 2, 0, path), 0u);
    EXPECT_EQ(Find({nan, inf, nan}, 3, 1, 0.5f, 0, 0, 2, 0, path), 0u);
    // The other cells still search: the way goes under the infinite cell.
    const std::vector<double> map{1, inf, 1, 1, 9, 1, 1, 1, 1};
    ASSERT_EQ(Find(map, 3, 3, 0.5f, 0, 0, 2, 0, path), 5u);
    EXPECT_EQ(path, (Path{{0, 0}, {0, 1}, {1, 1}, {2, 1}, {2, 0}}));
}

TEST_P(PlannerEdge, WeightIsClampedToZeroToOne) {
    // Uneven costs with a few walls: cost-only and greedy orders expand different numbers of
    // nodes here.
    std::vector<double> map(20 * 20);
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 20; ++x) {
            const bool wall = y % 4 == 1 && x % 5 == 2;
            map[y * 20 + x] = wall ? 0 : 1 + (x * 7 + y * 3) % 5;
        }
    }
    Path p0, p1, pLow, pHigh, pNan;
    uint32_t e0, e1, eLow, eHigh, eNan;
    ASSERT_GT(Find(map, 20, 20, 0.0f, 0, 0, 19, 19, p0, &e0), 0u);
    ASSERT_GT(Find(map, 20, 20, 1.0f, 0, 0, 19, 19, p1, &e1), 0u);
    ASSERT_NE(e0, e1);
    Find(map, 20, 20, -1.0f, 0, 0, 19, 19, pLow, &eLow);
    Find(map, 20, 20, 5.0f, 0, 0, 19, 19, pHigh, &eHigh);
    Find(map, 20, 20, std::nanf(""), 0, 0, 19, 19, pNan, &eNan);
    EXPECT_EQ(pLow, p0);
    EXPECT_EQ(eLow, e0);
    EXPECT_EQ(pHigh, p1);
    EXPECT_EQ(eHigh, e1);
    EXPECT_EQ(pNan, p0);
    EXPECT_EQ(eNan, e0);
}

TEST_P(PlannerEdge, AmongEqualRoutesTheOneOpenedFirstIsFollowed) {
    // Neighbours are opened up, right, left, down.
    const std::vector<double> map(4, 1.0);
    Path path;
    ASSERT_EQ(Find(map, 2, 2, 0.5f, 0, 0, 1, 1, path), 3u);
    EXPECT_EQ(path[1], (GridPoint{1, 0}));  // right before down
    ASSERT_EQ(Find(map, 2, 2, 0.5f, 1, 1, 0, 0, path), 3u);
    EXPECT_EQ(path[1], (GridPoint{1, 0}));  // up before left
    ASSERT_EQ(Find(map, 2, 2, 0.5f, 0, 1, 1, 0, path), 3u);
    EXPECT_EQ(path[1], (GridPoint{0, 0}));  // up before right
    ASSERT_EQ(Find(map, 2, 2, 0.5f, 1, 0, 0, 1, path), 3u);
    EXPECT_EQ(path[1], (GridPoint{0, 0}));  // left before down
}

TEST_P(PlannerEdge, DiagonalMovesSlipBetweenBlockedCells) {
    const std::vector<double> map{1, 0, 0, 1};
    PlannerParams p = PathFindParams(map.data(), 2, 2, 0.5f, 0, 0, 1, 1);
    p.openList = GetParam();
    Path path;
    EXPECT_EQ(GridPathFind(p, path), 0u);
    p.diagonalMoves = 1;
    ASSERT_EQ(GridPathFind(p, path), 2u);
    EXPECT_EQ(path, (Path{{0, 0}, {1, 1}}));
}

TEST_P(PlannerEdge, DiagonalFactorPrefersStraightStepsWhenCheaper) {
    // Without the factor the diagonal through (1, 1) costs the same as a straight step.
    const std::vector<double> map(9, 1.0);
    PlannerParams p = PathFindParams(map.data(), 3, 3, 0.0f, 0, 0, 2, 0);
    p.openList = GetParam();
    p.diagonalMoves = 1;
    p.diagonalCostFactor = 1;
    Path path;
    ASSERT_EQ(GridPathFind(p, path), 3u);
    EXPECT_EQ(path, (Path{{0, 0}, {1, 0}, {2, 0}}));
    p.goalY = 2;
    ASSERT_EQ(GridPathFind(p, path), 3u);
    EXPECT_EQ(path, (Path{{0, 0}, {1, 1}, {2, 2}}));
}

TEST_P(PlannerEdge, TooSmallAPoolFailsInsteadOfReturningAPartialSearch) {
    const std::vector<double> map(25, 1.0);
    PlannerParams p = PathFindParams(map.data(), 5, 5, 0.0f, 0, 0, 4, 4);
    p.openList = GetParam();
    p.poolSize = 4;
    Path path;
    EXPECT_EQ(GridPathFind(p, path), 0u);
    p.poolSize = 25;
    EXPECT_EQ(GridPathFind(p, path), 9u);
}

INSTANTIATE_TEST_SUITE_P(OpenLists, PlannerEdge,
                         ::testing::Values(OpenListKind::kSortedArray, OpenListKind::kBinaryHeap),
                         [](const auto& info) {
                             return info.param == OpenListKind::kBinaryHeap ? "BinaryHeap"
                                                                            : "SortedArray";
                         });

}  // namespace
