#pragma once
#include <windows.h>

// Test seam: lets a test make one chosen allocation fail, so that the
// out-of-memory paths can be driven without exhausting the heap. Every
// allocation site of the foundation types asks due() first.
namespace allocationFaults {

// The n-th allocation from now fails (1 = the very next one); 0 disarms.
void failNth(int n);
// The same, counting only the allocations of threads other than the calling
// one (a search thread's, say, while the calling thread takes its results).
void failNthElsewhere(int n);
// Disarms any pending fault.
void reset();
// Counts one allocation; true when this one is to fail.
bool due();
// Number of allocations asked for (and counted) since the last failNth,
// failNthElsewhere or reset.
int seen();

}  // namespace allocationFaults
