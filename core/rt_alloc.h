// Heap blocks of the core value types. A failed allocation ends the program with error 7
// (no storage) instead of handing back null. The counters let tests prove that empty
// strings and small arrays never touch the heap and that nothing leaks.
#pragma once

#include <cstddef>
#include <cstdint>

void* RtAlloc(size_t bytes);
void* RtAllocZeroed(size_t bytes);
void RtFree(void* block);

// Blocks handed out and given back since the process started.
uint64_t RtAllocCount();
uint64_t RtFreeCount();
