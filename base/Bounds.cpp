#include "base/Bounds.h"

Bounds::Bounds() : left(0), top(0), width(0), height(0) {}

Bounds::Bounds(LONG left, LONG top, LONG width, LONG height)
    : left(left), top(top), width(width), height(height) {}

Bounds::Bounds(const Bounds& other)
    : left(other.left), top(other.top), width(other.width), height(other.height) {}

Bounds& Bounds::operator=(const Bounds& other) {
    left = other.left;
    top = other.top;
    width = other.width;
    height = other.height;
    return *this;
}

Bounds::~Bounds() {}

// The four numbers follow one another like the members of a RECT.
RECT* Bounds::asRect() { return reinterpret_cast<RECT*>(&left); }
const RECT* Bounds::asRect() const { return reinterpret_cast<const RECT*>(&left); }
