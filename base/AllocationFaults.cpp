#include "base/AllocationFaults.h"

namespace {
// The folder search allocates on a thread of its own, so the counters are
// changed only by interlocked operations.
volatile LONG failAt = 0;
volatile LONG counted = 0;

LONG read(volatile LONG& value) {
    return InterlockedCompareExchange(&value, 0, 0);
}
}  // namespace

namespace allocationFaults {

void failNth(int n) {
    InterlockedExchange(&failAt, 0);
    InterlockedExchange(&counted, 0);
    InterlockedExchange(&failAt, n > 0 ? n : 0);
}

void reset() {
    failNth(0);
}

bool due() {
    const LONG number = InterlockedIncrement(&counted);
    const LONG target = read(failAt);
    if (target == 0 || number != target) return false;
    // Exactly one allocation fails, whichever thread asks.
    return InterlockedCompareExchange(&failAt, 0, target) == target;
}

int seen() {
    return read(counted);
}

}  // namespace allocationFaults
