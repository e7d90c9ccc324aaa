#include "base/AllocationFaults.h"

namespace {
// The folder search allocates on a thread of its own, so the counters are
// changed only by interlocked operations.
volatile LONG failAt = 0;
volatile LONG counted = 0;
// The thread whose allocations are not counted; 0 counts every thread's.
volatile LONG sparedThread = 0;

LONG read(volatile LONG& value) {
    return InterlockedCompareExchange(&value, 0, 0);
}

void arm(int n, DWORD spared) {
    InterlockedExchange(&failAt, 0);
    InterlockedExchange(&sparedThread, static_cast<LONG>(spared));
    InterlockedExchange(&counted, 0);
    InterlockedExchange(&failAt, n > 0 ? n : 0);
}
}  // namespace

namespace allocationFaults {

void failNth(int n) {
    arm(n, 0);
}

void failNthElsewhere(int n) {
    arm(n, GetCurrentThreadId());
}

void reset() {
    failNth(0);
}

bool due() {
    const LONG spared = read(sparedThread);
    if (spared != 0 && static_cast<DWORD>(spared) == GetCurrentThreadId()) return false;
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
