#pragma once
#include <windows.h>

// Allocation helpers of the foundation types. Blocks come zero-filled from
// the process heap; cells from operator new. Each returns null on failure
// (a real one or one injected through allocationFaults) and never throws.
namespace heap {

void* allocate(SIZE_T bytes);
// Resizes a block from allocate(); null leaves the old block untouched.
void* reallocate(void* block, SIZE_T bytes);
void release(void* block);

LONG* newCountCell();
int* newIndexCell();

}  // namespace heap
