#pragma once
#include <utility>
#include <vector>

// The C runtime's random numbers as the play list draws them, worked out
// independently of the runtime: its generator (state * 214013 + 2531011,
// result bits 16 to 30) and the play list's shuffle, which swaps each place
// with one drawn from all of them: 15 bits a number, as many numbers joined
// as the list needs, a value past the last whole multiple of the size drawn
// again.
class RuntimeRandom {
public:
    explicit RuntimeRandom(unsigned seed) : state(seed) {}
    // What rand() would return next after srand(seed).
    int next() {
        state = state * 214013u + 2531011u;
        return static_cast<int>((state >> 16) & 0x7fff);
    }
    // A place of a list of n, as the play list draws it.
    int place(int n) {
        unsigned long long range = 0x8000;
        int numbers = 1;
        for (; range < static_cast<unsigned long long>(n); range <<= 15) ++numbers;
        for (;;) {
            unsigned long long value = 0;
            for (int i = 0; i < numbers; ++i) value = (value << 15) | static_cast<unsigned>(next());
            if (value < range - range % static_cast<unsigned long long>(n)) return static_cast<int>(value % n);
        }
    }
    // One shuffle of `order` with the following numbers.
    void shuffle(std::vector<int>& order) {
        const int n = static_cast<int>(order.size());
        for (int i = 0; i < n; ++i) std::swap(order[i], order[place(n)]);
    }
    // The play order of `count` files after one shuffle from srand(seed).
    static std::vector<int> shuffledOrder(unsigned seed, int count) {
        std::vector<int> order;
        for (int i = 0; i < count; ++i) order.push_back(i);
        RuntimeRandom random(seed);
        random.shuffle(order);
        return order;
    }

private:
    unsigned state;
};
