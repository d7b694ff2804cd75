#include "path/node_hash_table.h"

#include <algorithm>
#include <new>

namespace {
constexpr int kMaxBits = 24;
}

NodeHashTable::~NodeHashTable() = default;

bool NodeHashTable::Setup(int exponent) {
    const int b = std::clamp(exponent, 0, kMaxBits) & ~1;
    return Setup(b / 2, b / 2);
}

bool NodeHashTable::Setup(int bitsX, int bitsY) {
    bitsX = std::clamp(bitsX, 0, kMaxBits);
    bitsY = std::clamp(bitsY, 0, kMaxBits - bitsX);
    buckets_.reset(new (std::nothrow) Node*[size_t{1} << (bitsX + bitsY)]());
    count_ = 0;
    found_ = nullptr;
    if (!buckets_) {
        bitsX_ = bitsY_ = 0;
        maskX_ = maskY_ = 0;
        return false;
    }
    bitsX_ = bitsX;
    bitsY_ = bitsY;
    maskX_ = (size_t{1} << bitsX) - 1;
    maskY_ = (size_t{1} << bitsY) - 1;
    return true;
}

size_t NodeHashTable::Clear() {
    if (buckets_) std::fill_n(buckets_.get(), BucketCount(), nullptr);
    found_ = nullptr;
    const size_t held = count_;
    count_ = 0;
    return held;
}
