// Random maps: optimality against a plain Dijkstra, path shape, and sameness of the
// sorted-array and binary-heap open lists.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <functional>
#include <limits>
#include <queue>
#include <random>
#include <vector>

#include "path/grid_path.h"

namespace {

using Path = std::vector<GridPoint>;

struct RandomMap {
    int w;
    int h;
    std::vector<double> costs;  // 0 blocked, else 1..9
    int sx, sy, gx, gy;
};

RandomMap MakeMap(std::mt19937& rng, int maxSide, double blocked) {
    std::uniform_int_distribution<int> side(1, maxSide);
    RandomMap m;
    do {
        m.w = side(rng);
        m.h = side(rng);
    } while (m.w * m.h < 2);
    std::uniform_real_distribution<double> unit(0, 1);
    std::uniform_int_distribution<int> cost(1, 9);
    m.costs.resize(static_cast<size_t>(m.w) * m.h);
    for (double& c : m.costs) c = unit(rng) < blocked ? 0 : cost(rng);
    std::uniform_int_distribution<int> px(0, m.w - 1), py(0, m.h - 1);
    do {
        m.sx = px(rng);
        m.sy = py(rng);
        m.gx = px(rng);
        m.gy = py(rng);
    } while (m.sx == m.gx && m.sy == m.gy);
    return m;
}

// Normalised entry cost in double precision, independent of the planner's float copy.
std::vector<double> Normalised(const RandomMap& m) {
    double largest = 0;
    for (double c : m.costs) largest = std::max(largest, c);
    std::vector<double> n(m.costs.size());
    for (size_t i = 0; i < n.size(); ++i) n[i] = m.costs[i] > 0 ? m.costs[i] / largest + 1 : -1;
    return n;
}

// Cheapest cost of entering cells from start to goal over straight steps; infinity when the
// goal cannot be reached.
double Dijkstra(const RandomMap& m) {
    const std::vector<double> cost = Normalised(m);
    const double inf = std::numeric_limits<double>::infinity();
    std::vector<double> dist(cost.size(), inf);
    using Item = std::pair<double, int>;
    std::priority_queue<Item, std::vector<Item>, std::greater<Item>> queue;
    const int start = m.sy * m.w + m.sx;
    dist[start] = 0;
    queue.push({0, start});
    while (!queue.empty()) {
        auto [d, i] = queue.top();
        queue.pop();
        if (d > dist[i]) continue;
        const int x = i % m.w, y = i / m.w;
        const int dx[4] = {0, 1, -1, 0}, dy[4] = {-1, 0, 0, 1};
        for (int k = 0; k < 4; ++k) {
            const int nx = x + dx[k], ny = y + dy[k];
            if (nx < 0 || nx >= m.w || ny < 0 || ny >= m.h) continue;
            const int j = ny * m.w + nx;
            if (cost[j] < 0 || d + cost[j] >= dist[j]) continue;
            dist[j] = d + cost[j];
            queue.push({dist[j], j});
        }
    }
    return dist[m.gy * m.w + m.gx];
}

// Checks the path's shape and returns its cost (the start cell is not entered).
double CheckedCost(const RandomMap& m, const Path& path) {
    const std::vector<double> cost = Normalised(m);
    EXPECT_GE(path.size(), 2u);
    if (path.empty()) return -1;
    EXPECT_EQ(path.front(), (GridPoint{m.sx, m.sy}));
    EXPECT_EQ(path.back(), (GridPoint{m.gx, m.gy}));
    double total = 0;
    for (size_t i = 1; i < path.size(); ++i) {
        const GridPoint a = path[i - 1], b = path[i];
        EXPECT_EQ(std::abs(a.x - b.x) + std::abs(a.y - b.y), 1) << "step " << i;
        EXPECT_TRUE(b.x >= 0 && b.x < m.w && b.y >= 0 && b.y < m.h);
        const double c = cost[static_cast<size_t>(b.y) * m.w + b.x];
        EXPECT_GT(c, 0) << "blocked cell " << b.x << "," << b.y;
        total += c;
    }
    return total;
}

size_t Plan(const RandomMap& m, float weight, OpenListKind openList, Path& path,
            uint32_t* expanded = nullptr) {
    PlannerParams p = PathFindParams(m.costs.data(), m.w, m.h, weight, m.sx, m.sy, m.gx, m.gy);
    p.openList = openList;
    return GridPathFind(p, path, expanded);
}

class PlannerOptimality : public ::testing::TestWithParam<float> {};

TEST_P(PlannerOptimality, FoundCostEqualsDijkstra) {
    std::mt19937 rng(1234);
    int found = 0, unreachable = 0;
    for (int trial = 0; trial < 400; ++trial) {
        const RandomMap m = MakeMap(rng, 24, 0.3);
        const double best = Dijkstra(m);
        Path path;
        const size_t n = Plan(m, GetParam(), OpenListKind::kBinaryHeap, path);
        if (std::isinf(best)) {
            EXPECT_EQ(n, 0u) << "trial " << trial;
            ++unreachable;
            continue;
        }
        ASSERT_GT(n, 0u) << "trial " << trial;
        ASSERT_EQ(n, path.size());
        // Distinct route costs differ by multiples of 1/9; float sums stay far closer.
        EXPECT_NEAR(CheckedCost(m, path), best, 1e-3) << "trial " << trial;
        ++found;
    }
    EXPECT_GT(found, 100);
    EXPECT_GT(unreachable, 10);
}

INSTANTIATE_TEST_SUITE_P(Weights, PlannerOptimality, ::testing::Values(0.5f, 0.0f),
                         [](const auto& info) { return info.param == 0 ? "W0" : "W05"; });

TEST(PlannerRandom, GreedyWeightStillGivesValidPaths) {
    std::mt19937 rng(99);
    for (int trial = 0; trial < 200; ++trial) {
        const RandomMap m = MakeMap(rng, 24, 0.3);
        Path path;
        const size_t n = Plan(m, 1.0f, OpenListKind::kBinaryHeap, path);
        EXPECT_EQ(n > 0, !std::isinf(Dijkstra(m))) << "trial " << trial;
        if (n) CheckedCost(m, path);
    }
}

TEST(PlannerRandom, SortedArrayAndBinaryHeapSearchAlike) {
    std::mt19937 rng(7);
    const float weights[] = {0.0f, 0.25f, 0.5f, 0.75f, 1.0f};
    int compared = 0;
    for (int trial = 0; trial < 600; ++trial) {
        // Few cost levels make many equal f values, so the tie order is exercised.
        const RandomMap m = MakeMap(rng, trial % 3 ? 30 : 70, trial % 2 ? 0.3 : 0.1);
        RandomMap few = m;
        for (double& c : few.costs) c = c > 0 ? 1 + (static_cast<int>(c) % 2) : 0;
        for (const RandomMap* map : {&m, static_cast<const RandomMap*>(&few)}) {
            const float w = weights[trial % 5];
            Path a{{-1, -1}}, b{{-1, -1}};
            uint32_t ea = 0, eb = 0;
            const size_t na = Plan(*map, w, OpenListKind::kSortedArray, a, &ea);
            const size_t nb = Plan(*map, w, OpenListKind::kBinaryHeap, b, &eb);
            ASSERT_EQ(na, nb) << "trial " << trial;
            ASSERT_EQ(ea, eb) << "trial " << trial;
            ASSERT_EQ(a, b) << "trial " << trial;
            compared += na > 0;
        }
    }
    EXPECT_GT(compared, 500);
}

TEST(PlannerRandom, OpenListsAlikeWithDiagonalMoves) {
    std::mt19937 rng(11);
    for (int trial = 0; trial < 200; ++trial) {
        const RandomMap m = MakeMap(rng, 30, 0.3);
        PlannerParams p = PathFindParams(m.costs.data(), m.w, m.h, 0.5f, m.sx, m.sy, m.gx, m.gy);
        p.diagonalMoves = 1;
        p.diagonalCostFactor = trial % 2;
        Path a, b;
        uint32_t ea = 0, eb = 0;
        p.openList = OpenListKind::kSortedArray;
        const size_t na = GridPathFind(p, a, &ea);
        p.openList = OpenListKind::kBinaryHeap;
        const size_t nb = GridPathFind(p, b, &eb);
        ASSERT_EQ(na, nb) << "trial " << trial;
        ASSERT_EQ(ea, eb) << "trial " << trial;
        ASSERT_EQ(a, b) << "trial " << trial;
    }
}

}  // namespace
