#pragma once
#include <windows.h>

#include "base/Bounds.h"

class VideoView;

// Where a picture that keeps its proportions goes in the saver window: the
// primary monitor's part of the window, so that on a desktop of several
// monitors no clip is stretched over the seam between them.
class PictureArea {
public:
    // Measures the primary monitor's part of the window's client area
    // (client, as GetClientRect gives it).
    void measure(HWND window, const Bounds& client);
    // The destination of the open video: the largest rectangle of its own
    // proportions that fits the area, centred there. A video whose device
    // reports no size fills the area, and so does one that plays through
    // Media Foundation, whose renderer keeps the proportions inside it.
    Bounds destinationFor(VideoView& view) const;

    const Bounds& bounds() const { return area; }

private:
    Bounds area;
};
