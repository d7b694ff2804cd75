#include "path/open_heap.h"

#include <new>

OpenHeap::~OpenHeap() = default;

bool OpenHeap::Setup(int width, int height) {
    width_ = width;
    live_ = 0;
    nextOrder_ = 1;
    heap_.clear();
    try {
        cells_.assign(static_cast<size_t>(width) * static_cast<size_t>(height), Cell{});
        heap_.reserve(1024);
    } catch (const std::bad_alloc&) {
        cells_.clear();
        width_ = 0;
        return false;
    }
    return true;
}

bool OpenHeap::Insert(Node* n) {
    const size_t index = Index(n->x, n->y);
    Cell& c = cells_[index];
    if (c.order) return false;  // the cell's node is already on the list
    const Entry e{n->f, static_cast<uint32_t>(index), nextOrder_++};
    try {
        heap_.push_back(e);
    } catch (const std::bad_alloc&) {
        return false;
    }
    c.node = n;
    c.order = e.order;
    ++live_;
    SiftUp(heap_.size() - 1);
    return true;
}

Node* OpenHeap::PopBest() {
    while (!heap_.empty()) {
        const Entry top = heap_.front();
        heap_.front() = heap_.back();
        heap_.pop_back();
        if (!heap_.empty()) SiftDown(0);
        Cell& c = cells_[top.cell];
        if (c.order != top.order) continue;  // erased or inserted again since
        c.order = 0;
        --live_;
        return c.node;
    }
    return nullptr;
}

size_t OpenHeap::Clear() {
    for (const Entry& e : heap_) {
        Cell& c = cells_[e.cell];
        c.order = 0;
    }
    heap_.clear();
    const size_t held = live_;
    live_ = 0;
    return held;
}

void OpenHeap::SiftUp(size_t i) {
    const Entry e = heap_[i];
    while (i > 0) {
        const size_t parent = (i - 1) / 2;
        if (!Before(e, heap_[parent])) break;
        heap_[i] = heap_[parent];
        i = parent;
    }
    heap_[i] = e;
}

void OpenHeap::SiftDown(size_t i) {
    const size_t n = heap_.size();
    const Entry e = heap_[i];
    for (;;) {
        size_t child = 2 * i + 1;
        if (child >= n) break;
        if (child + 1 < n && Before(heap_[child + 1], heap_[child])) ++child;
        if (!Before(heap_[child], e)) break;
        heap_[i] = heap_[child];
        i = child;
    }
    heap_[i] = e;
}
