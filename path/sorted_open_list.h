// The open list kept as a sorted FixedDeque<Node*>: falling f from front to back, so the back
// is the lowest f. A node goes in front of the first element whose f is less than or equal to
// its own, so among equal f the one inserted earlier is taken first.
#pragma once

#include <cstddef>

#include "path/fixed_deque.h"
#include "path/node.h"

class SortedOpenList {
public:
    explicit SortedOpenList(FixedDeque<Node*>& deque) : deque_(deque) {}

    bool Empty() const { return deque_.Empty(); }

    Node* PopBest() {
        Node* n = deque_.Back();
        deque_.PopBack();
        return n;
    }

    // Linear scan from the back; remembers the position for Erase.
    Node* Find(int x, int y) {
        for (size_t i = deque_.Size(); i-- > 0;) {
            Node* n = deque_.At(i);
            if (n->x == x && n->y == y) {
                found_ = i;
                return n;
            }
        }
        return nullptr;
    }

    // Erases the node the last successful Find returned.
    void Erase(Node*) { deque_.Erase(found_); }

    bool Insert(Node* n) {
        size_t lo = 0;
        size_t hi = deque_.Size();
        while (lo < hi) {
            const size_t mid = lo + (hi - lo) / 2;
            if (deque_.At(mid)->f <= n->f) {
                hi = mid;
            } else {
                lo = mid + 1;
            }
        }
        return deque_.Insert(lo, n);
    }

private:
    FixedDeque<Node*>& deque_;
    size_t found_ = 0;
};
