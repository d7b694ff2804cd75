// Path finding on random maps (30 % blocked, costs 1..9, weight 0.5, corner to corner): the
// planner with its sorted-array open list, with its binary-heap open list (what PathFind uses:
// PathFindParams picks it), and a textbook binary-heap A* that follows the same expansion
// order, checked to give the same path. PlannerBinaryHeap against TextbookHeapAStar is the
// runtime's cost over the raw search.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <limits>
#include <map>
#include <queue>
#include <random>
#include <vector>

#include "path/grid_path.h"

namespace {

constexpr float kWeight = 0.5f;

struct BenchMap {
    int side = 0;
    std::vector<double> costs;
};

// Textbook A*: g, state and parent per cell, a std::priority_queue keyed by (f, insertion
// number) with stale entries skipped; closed cells open again when reached more cheaply.
std::vector<GridPoint> TextbookAStar(const std::vector<double>& raw, int w, int h, int sx, int sy,
                                     int gx, int gy, float weight) {
    const size_t n = raw.size();
    double largest = 0;
    for (double c : raw) largest = c > largest ? c : largest;
    std::vector<float> cost(n);
    for (size_t i = 0; i < n; ++i) {
        cost[i] = raw[i] > 0 ? static_cast<float>(raw[i] / largest + 1.0) : -1.0f;
    }
    struct Item {
        float f;
        uint64_t order;
        int32_t cell;
        bool operator>(const Item& o) const { return f > o.f || (f == o.f && order > o.order); }
    };
    enum : uint8_t { kNew, kOpen, kClosed };
    std::vector<float> g(n);
    std::vector<uint8_t> state(n, kNew);
    std::vector<int32_t> parent(n, -1);
    std::vector<uint64_t> order(n, 0);
    std::priority_queue<Item, std::vector<Item>, std::greater<Item>> open;
    uint64_t next = 0;
    const int start = sy * w + sx, goal = gy * w + gx;
    g[start] = 0;
    state[start] = kOpen;
    order[start] = ++next;
    open.push({0, order[start], start});
    const int dx[4] = {0, 1, -1, 0}, dy[4] = {-1, 0, 0, 1};
    while (!open.empty()) {
        const Item top = open.top();
        open.pop();
        const int cur = top.cell;
        if (state[cur] != kOpen || order[cur] != top.order) continue;
        state[cur] = kClosed;
        if (cur == goal) {
            std::vector<GridPoint> path;
            for (int c = cur; c >= 0; c = parent[c]) path.push_back({c % w, c / w});
            return {path.rbegin(), path.rend()};
        }
        const int x = cur % w, y = cur / w;
        for (int k = 0; k < 4; ++k) {
            const int nx = x + dx[k], ny = y + dy[k];
            if (nx < 0 || nx >= w || ny < 0 || ny >= h) continue;
            const int j = ny * w + nx;
            if (cost[j] < 0) continue;
            const float g2 = g[cur] + cost[j];
            const float hh = static_cast<float>(std::abs(gx - nx) + std::abs(gy - ny));
            const float f2 = g2 + weight * (hh - g2);
            if (state[j] != kNew && g[j] <= g2) continue;
            g[j] = g2;
            parent[j] = cur;
            state[j] = kOpen;
            order[j] = ++next;
            open.push({f2, order[j], j});
        }
    }
    return {};
}

// A seeded map whose corners are walkable and connected, the same one for every benchmark.
const BenchMap& MapOfSide(int side) {
    static std::map<int, BenchMap> maps;
    BenchMap& m = maps[side];
    if (m.side) return m;
    for (unsigned seed = 1;; ++seed) {
        std::mt19937 rng(seed * 7919u + side);
        std::uniform_real_distribution<double> unit(0, 1);
        std::uniform_int_distribution<int> cost(1, 9);
        m.costs.assign(static_cast<size_t>(side) * side, 0);
        for (double& c : m.costs) c = unit(rng) < 0.3 ? 0 : cost(rng);
        m.costs.front() = m.costs.back() = 1;
        if (!TextbookAStar(m.costs, side, side, 0, 0, side - 1, side - 1, kWeight).empty()) break;
    }
    m.side = side;
    // Every contender must follow the same path, or the comparison means nothing.
    std::vector<GridPoint> a, b;
    PlannerParams p = PathFindParams(m.costs.data(), side, side, kWeight, 0, 0, side - 1, side - 1);
    p.openList = OpenListKind::kBinaryHeap;
    GridPathFind(p, a);
    p.openList = OpenListKind::kSortedArray;
    GridPathFind(p, b);
    if (a != b || a != TextbookAStar(m.costs, side, side, 0, 0, side - 1, side - 1, kWeight)) {
        std::fprintf(stderr, "paths differ on the %d x %d map\n", side, side);
        std::abort();
    }
    return m;
}

void RunPlanner(benchmark::State& state, OpenListKind openList) {
    const int side = static_cast<int>(state.range(0));
    const BenchMap& m = MapOfSide(side);
    PlannerParams p = PathFindParams(m.costs.data(), side, side, kWeight, 0, 0, side - 1, side - 1);
    p.openList = openList;
    std::vector<GridPoint> path;
    uint32_t expanded = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(GridPathFind(p, path, &expanded));
    }
    state.counters["expanded"] = expanded;
    state.counters["points"] = static_cast<double>(path.size());
}

void BM_PlannerSortedArray(benchmark::State& state) {
    RunPlanner(state, OpenListKind::kSortedArray);
}
void BM_PlannerBinaryHeap(benchmark::State& state) {
    RunPlanner(state, OpenListKind::kBinaryHeap);
}

void BM_TextbookHeapAStar(benchmark::State& state) {
    const int side = static_cast<int>(state.range(0));
    const BenchMap& m = MapOfSide(side);
    size_t points = 0;
    for (auto _ : state) {
        const auto path = TextbookAStar(m.costs, side, side, 0, 0, side - 1, side - 1, kWeight);
        points = path.size();
        benchmark::DoNotOptimize(points);
    }
    state.counters["points"] = static_cast<double>(points);
}

BENCHMARK(BM_PlannerSortedArray)->Arg(64)->Arg(256)->Arg(512)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlannerBinaryHeap)->Arg(64)->Arg(256)->Arg(512)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TextbookHeapAStar)->Arg(64)->Arg(256)->Arg(512)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
