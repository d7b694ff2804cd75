#include "core/rt_alloc.h"

#include <atomic>
#include <cstdlib>

#include "core/fatal.h"

namespace {
// Relaxed: only the totals matter, and the network thread may build strings too.
std::atomic<uint64_t> allocCount{0};
std::atomic<uint64_t> freeCount{0};
}  // namespace

void* RtAlloc(size_t bytes) {
    void* p = std::malloc(bytes ? bytes : 1);
    if (!p) CoreFatal(7);
    allocCount.fetch_add(1, std::memory_order_relaxed);
    return p;
}

void* RtAllocZeroed(size_t bytes) {
    void* p = std::calloc(bytes ? bytes : 1, 1);
    if (!p) CoreFatal(7);
    allocCount.fetch_add(1, std::memory_order_relaxed);
    return p;
}

void RtFree(void* block) {
    if (!block) return;
    freeCount.fetch_add(1, std::memory_order_relaxed);
    std::free(block);
}

uint64_t RtAllocCount() {
    return allocCount.load(std::memory_order_relaxed);
}
uint64_t RtFreeCount() {
    return freeCount.load(std::memory_order_relaxed);
}
