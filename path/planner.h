// The planner framework: an abstract Planner owns the cost map, the node pool, the open list
// and the closed set; a concrete planner implements the search.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "path/fixed_deque.h"
#include "path/node.h"
#include "path/node_factory.h"
#include "path/node_hash_table.h"

// The open list a planner searches with. Both expand the nodes in exactly the same order;
// kSortedArray is the sorted FixedDeque with a linear duplicate scan and a fixed-size closed
// set, kBinaryHeap (what PathFind uses: the sorted array's inserts grow with the open list) a
// heap with a cell index and a closed set sized to the map.
enum class OpenListKind : uint8_t { kSortedArray, kBinaryHeap };

struct PlannerParams {
    int32_t startX = 0;
    int32_t startY = 0;
    int32_t goalX = 0;
    int32_t goalY = 0;
    uint8_t diagonalCostFactor = 1;  // 1: a diagonal step costs 1.4142137 x the cell cost
    uint8_t diagonalMoves = 0;       // 0: only the four straight neighbours
    int32_t poolSize = 0;            // 0: width x height
    int32_t openCapacity = 0;        // 0: width x height
    int32_t closedExponent = 8;      // 2^exponent buckets (kSortedArray)
    float weight = 0.5f;             // clamped to 0..1
    int32_t width = 0;
    int32_t height = 0;
    const double* costs = nullptr;  // width x height, x fastest
    OpenListKind openList = OpenListKind::kSortedArray;
};

class Planner {
public:
    Planner() = default;
    Planner(const Planner&) = delete;
    Planner& operator=(const Planner&) = delete;

    // Virtual operations in this order: destructor, reset, search, clear.
    virtual ~Planner();
    virtual void Reset();
    virtual bool Search() = 0;
    virtual void Clear();

    // Checks the input and builds the normalised cost map, the pool, the open list and the
    // closed set. False when there is nothing to search (bad start or goal, no walkable cell)
    // or no memory for it.
    bool Setup(const PlannerParams& params);

    bool Finished() const { return finished_; }
    const Node* Result() const { return result_; }
    const PlannerParams& Params() const { return params_; }
    // Nodes expanded by the last search.
    uint32_t SearchCount() const { return searchCount_; }
    // Normalised cost of cell (x, y): -1 blocked, else in (1, 2].
    float Cost(int x, int y) const {
        return costs_[static_cast<size_t>(y) * static_cast<size_t>(params_.width) +
                      static_cast<size_t>(x)];
    }

protected:
    // Sizes the open list and the closed set once the cost map is built.
    virtual bool SetupLists();

    bool finished_ = true;
    NodeFactory pool_;
    PlannerParams params_;
    std::unique_ptr<float[]> costs_;
    uint32_t searchCount_ = 0;
    FixedDeque<Node*> open_;
    NodeHashTable closed_;
    Node* result_ = nullptr;
};
