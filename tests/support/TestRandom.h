#pragma once
#include <string>
#include <vector>

// The tests' own random numbers (xorshift32): from a fixed seed the same on
// every run, so that a failing case can be made again. Not the runtime's
// rand(), which the play list draws from, seeded with the clock.
class TestRandom {
public:
    explicit TestRandom(unsigned seed) : state(seed ? seed : 1) {}
    unsigned next() {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return state;
    }
    // 0 to bound - 1; bound must be above 0.
    unsigned below(unsigned bound) { return next() % bound; }
    bool chance(unsigned percent) { return below(100) < percent; }
    template <class T>
    const T& pick(const std::vector<T>& items) { return items[below(static_cast<unsigned>(items.size()))]; }
    // Bytes of every value, as a damaged or foreign file holds them.
    std::string bytes(size_t count) {
        std::string bytes(count, '\0');
        for (char& c : bytes) c = static_cast<char>(next() >> 24);
        return bytes;
    }

private:
    unsigned state;
};
