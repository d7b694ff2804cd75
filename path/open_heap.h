// The binary-heap open list: a heap ordered by (f, insertion number) with an index from cell
// to node. It takes nodes in exactly the order of the sorted open list (lowest f first, among
// equal f the one inserted earlier) at logarithmic cost, and finds a cell's node at once.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "path/node.h"

class OpenHeap {
public:
    OpenHeap() = default;
    OpenHeap(const OpenHeap&) = delete;
    OpenHeap& operator=(const OpenHeap&) = delete;
    virtual ~OpenHeap();

    // Sizes the cell index to the map; false when the memory is not there.
    bool Setup(int width, int height);

    bool Empty() const { return live_ == 0; }
    size_t Size() const { return live_; }

    Node* PopBest();

    Node* Find(int x, int y) const {
        const Cell& c = cells_[Index(x, y)];
        return c.order ? c.node : nullptr;
    }

    // Removes n; its heap entry goes stale and is dropped when it surfaces.
    void Erase(Node* n) {
        cells_[Index(n->x, n->y)].order = 0;
        --live_;
    }

    bool Insert(Node* n);

    // Empties the list; returns how many nodes it held.
    size_t Clear();

private:
    struct Cell {
        Node* node = nullptr;
        uint64_t order = 0;  // insertion number of its live entry; 0: not on the list
    };
    struct Entry {
        float f;
        uint32_t cell;
        uint64_t order;
    };
    size_t Index(int x, int y) const {
        return static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x);
    }
    static bool Before(const Entry& a, const Entry& b) {
        return a.f < b.f || (a.f == b.f && a.order < b.order);
    }
    void SiftUp(size_t i);
    void SiftDown(size_t i);

    std::vector<Cell> cells_;
    std::vector<Entry> heap_;
    int width_ = 0;
    size_t live_ = 0;
    uint64_t nextOrder_ = 1;
};
