// The closed set: power-of-two buckets over the cell grid, each a chain through the nodes'
// bucket link. Bucket of (x, y) = (x mod 2^bx) + (y mod 2^by) * 2^bx.
#pragma once

#include <cstddef>
#include <memory>

#include "path/node.h"

class NodeHashTable {
public:
    NodeHashTable() = default;
    NodeHashTable(const NodeHashTable&) = delete;
    NodeHashTable& operator=(const NodeHashTable&) = delete;
    virtual ~NodeHashTable();

    // Square table from a size exponent: at most 24, rounded down to an even number.
    bool Setup(int exponent);
    // 2^bitsX x 2^bitsY buckets; bitsX + bitsY at most 24.
    bool Setup(int bitsX, int bitsY);

    // Puts n at the head of its chain unless it is already there.
    void Insert(Node* n) {
        Node** head = &buckets_[Bucket(n->x, n->y)];
        if (*head == n) return;
        n->next = *head;
        *head = n;
        ++count_;
    }

    // The node of cell (x, y), or null; remembers its link for UnlinkFound.
    Node* Find(int x, int y) {
        Node** link = &buckets_[Bucket(x, y)];
        while (Node* n = *link) {
            if (n->x == x && n->y == y) {
                found_ = link;
                return n;
            }
            link = &n->next;
        }
        found_ = nullptr;
        return nullptr;
    }

    // Unlinks the node the last successful Find returned.
    void UnlinkFound() {
        if (!found_ || !*found_) return;
        *found_ = (*found_)->next;
        found_ = nullptr;
        --count_;
    }

    // Empties every bucket; returns how many nodes the set held.
    size_t Clear();

    size_t Size() const { return count_; }
    size_t BucketCount() const { return size_t{1} << (bitsX_ + bitsY_); }

private:
    size_t Bucket(int x, int y) const {
        return (static_cast<size_t>(x) & maskX_) + ((static_cast<size_t>(y) & maskY_) << bitsX_);
    }

    std::unique_ptr<Node*[]> buckets_;
    int bitsX_ = 0;
    int bitsY_ = 0;
    size_t maskX_ = 0;
    size_t maskY_ = 0;
    size_t count_ = 0;
    Node** found_ = nullptr;
};
