#pragma once
#include "base/CountedString.h"

// A signed integer rendered as decimal text, for INI keys and values.
class IntText {
public:
    explicit IntText(int value) : value(value) {}
    virtual ~IntText() {}

    CountedString toText() const;

private:
    int value;
};
