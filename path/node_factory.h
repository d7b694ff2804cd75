// The pool of search nodes: all allocated at set-up, handed out in order, never returned
// during a search.
#pragma once

#include <cstddef>
#include <memory>

#include "path/node.h"

class NodeFactory {
public:
    NodeFactory() = default;
    NodeFactory(const NodeFactory&) = delete;
    NodeFactory& operator=(const NodeFactory&) = delete;
    virtual ~NodeFactory();

    // Allocates count nodes; false (and an empty pool) when the memory is not there.
    bool Setup(size_t count);

    // The next free node, or null when the pool is spent.
    Node* Take() { return nextFree_ < count_ ? nodes_[nextFree_++] : nullptr; }

    // Gives back the last n nodes handed out, so they can be handed out again.
    void Release(size_t n) { nextFree_ = n < nextFree_ ? nextFree_ - n : 0; }

    size_t Count() const { return count_; }
    size_t NextFree() const { return nextFree_; }

private:
    std::unique_ptr<Node*[]> nodes_;
    size_t count_ = 0;
    size_t nextFree_ = 0;
    std::unique_ptr<Node[]> storage_;  // one block behind the pointers
};
