#pragma once
#include <windows.h>

// A rectangle as left, top, width, height. Its four numbers lie in the order
// of a RECT, so GetClientRect can write into asRect(): left 0, top 0, and the
// width and height in the last two.
class Bounds {
public:
    Bounds();
    Bounds(LONG left, LONG top, LONG width, LONG height);
    Bounds(const Bounds& other);
    Bounds& operator=(const Bounds& other);
    virtual ~Bounds();

    RECT* asRect();
    const RECT* asRect() const;

    LONG left;
    LONG top;
    LONG width;
    LONG height;
};
