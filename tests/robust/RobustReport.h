#pragma once
#include <string>

// Counting and printing of robustness cases, group by group.
namespace robust {

// The case being tried, printed if the program crashes; -1 between cases.
extern volatile int currentCase;

class Tally {
public:
    explicit Tally(const char* group) : group(group) {}
    void record(bool passed) {
        ++tried;
        if (passed) ++passedCount;
    }
    int passed() const { return passedCount; }
    int total() const { return tried; }
    // "<group>: N tried, N passed"
    void print() const;

private:
    const char* group;
    int tried = 0;
    int passedCount = 0;
};

}  // namespace robust
