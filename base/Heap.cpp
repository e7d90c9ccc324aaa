#include "base/Heap.h"

#include <new>

#include "base/AllocationFaults.h"

namespace heap {

void* allocate(SIZE_T bytes) {
    if (allocationFaults::due()) return nullptr;
    return HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, bytes);
}

void* reallocate(void* block, SIZE_T bytes) {
    if (allocationFaults::due()) return nullptr;
    return HeapReAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, block, bytes);
}

void release(void* block) {
    if (block) HeapFree(GetProcessHeap(), 0, block);
}

LONG* newCountCell() {
    if (allocationFaults::due()) return nullptr;
    return new (std::nothrow) LONG(1);
}

int* newIndexCell() {
    if (allocationFaults::due()) return nullptr;
    return new (std::nothrow) int(0);
}

}  // namespace heap
