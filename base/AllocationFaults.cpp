#include "base/AllocationFaults.h"

namespace {
// Single-threaded program: plain counters are enough.
int failAt = 0;
int counted = 0;
}

namespace allocationFaults {

void failNth(int n) {
    failAt = n > 0 ? n : 0;
    counted = 0;
}

void reset() {
    failNth(0);
}

bool due() {
    ++counted;
    if (failAt == 0 || counted != failAt) return false;
    failAt = 0;
    return true;
}

int seen() {
    return counted;
}

}  // namespace allocationFaults
