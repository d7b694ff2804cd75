// One search node per visited cell. The bucket link chains the node into the closed set.
#pragma once

#include <cstdint>

struct Node {
    Node* parent;
    int32_t x;
    int32_t y;
    float f;     // sort key of the open list
    float g;     // cost so far
    Node* next;  // next node in the same closed-set bucket
};
