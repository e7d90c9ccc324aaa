#include "playback/show/ProportionalFit.h"

namespace {
LONG magnitude(LONG value) { return value < 0 ? -value : value; }
LONG larger(LONG a, LONG b) { return a > b ? a : b; }
LONG smaller(LONG a, LONG b) { return a < b ? a : b; }
}  // namespace

Bounds fitKeepingProportions(const Bounds& source, const Bounds& area) {
    const long long sourceWidth = magnitude(source.width);
    const long long sourceHeight = magnitude(source.height);
    if (sourceWidth == 0 || sourceHeight == 0 || area.width <= 0 || area.height <= 0) return area;
    // 64-bit products: a monitor's size times a clip's size may pass 2^31.
    long long width = area.width;
    long long height = area.height;
    if (sourceWidth * area.height > area.width * sourceHeight) {
        height = (area.width * sourceHeight + sourceWidth / 2) / sourceWidth;  // full width, bars above and below
    } else {
        width = (area.height * sourceWidth + sourceHeight / 2) / sourceHeight;  // full height, bars at the sides
    }
    return Bounds(area.left + static_cast<LONG>((area.width - width) / 2),
                  area.top + static_cast<LONG>((area.height - height) / 2), static_cast<LONG>(width),
                  static_cast<LONG>(height));
}

Bounds monitorAreaInClient(const RECT& monitor, POINT clientOrigin, const Bounds& client) {
    const LONG left = larger(monitor.left - clientOrigin.x, client.left);
    const LONG top = larger(monitor.top - clientOrigin.y, client.top);
    const LONG right = smaller(monitor.right - clientOrigin.x, client.left + client.width);
    const LONG bottom = smaller(monitor.bottom - clientOrigin.y, client.top + client.height);
    if (right <= left || bottom <= top) return client;
    return Bounds(left, top, right - left, bottom - top);
}
