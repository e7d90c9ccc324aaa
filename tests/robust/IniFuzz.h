#pragma once
#include <string>
#include <vector>

#include "support/TestRandom.h"

// Makes INI texts for robustness runs: well-formed files and damaged ones,
// all from a fixed seed so that a failing case can be made again.
namespace inifuzz {

using Random = TestRandom;

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
