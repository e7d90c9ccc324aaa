#pragma once
#include <string>
#include <vector>

// Makes INI texts for robustness runs: well-formed files and damaged ones,
// all from a fixed seed so that a failing case can be made again.
namespace inifuzz {

// A small generator of our own: the runtime's rand() is the play list's,
// and its seed is the clock.
class Random {
public:
    explicit Random(unsigned seed) : state(seed ? seed : 1) {}
    unsigned next();
    // 0 to bound - 1; bound must be above 0.
    unsigned below(unsigned bound) { return next() % bound; }
    bool chance(unsigned percent) { return below(100) < percent; }
    template <class T>
    const T& pick(const std::vector<T>& items) { return items[below(static_cast<unsigned>(items.size()))]; }

private:
    unsigned state;
};

enum Kind {
    wellFormed,
    truncated,
    binary,
    hugeNumbers,
    overlong,
    oddCase,
    mutated,
    encoding,
    kindCount
};

const char* kindName(Kind kind);

// Texts the generator may write as play-list entries. Folder entries end in
// a backslash; some name real files and folders, some nothing.
struct Vocabulary {
    std::vector<std::string> entries;
};

// One INI file of the given kind.
std::string makeIni(Kind kind, Random& random, const Vocabulary& vocabulary);

}  // namespace inifuzz
