#pragma once
#include <windows.h>

#include "base/Bounds.h"

// The arithmetic of a picture that keeps its proportions.

// The largest rectangle of the source's proportions that fits area, centred
// in it. The source's size is taken without its sign (a driver reports a
// top-down picture with a negative height); a source without a size, or an
// empty area, gives the area itself.
Bounds fitKeepingProportions(const Bounds& source, const Bounds& area);

// The part of the client area that a monitor covers, in client coordinates.
// monitor is in screen coordinates, clientOrigin is where the client area's
// top left corner lies on the screen. When the monitor covers none of the
// client area the result is the whole client area.
Bounds monitorAreaInClient(const RECT& monitor, POINT clientOrigin, const Bounds& client);
