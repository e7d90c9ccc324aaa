#pragma once
#include <windows.h>

#include <vector>

// What the screen shows, read back from the display as a user sees it, and
// told apart by colour.
namespace screen {

// The pixels of a screen area, row by row (CLR_INVALID where it could not
// be read).
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<COLORREF> pixels;

    COLORREF at(int x, int y) const { return pixels[y * width + x]; }
};
// Read in one go: an area of the screen, or where a window lies on it.
Picture capture(const RECT& area);
Picture capture(HWND window);

// One pixel of the screen, and the one at the centre of the primary screen.
COLORREF pixel(int x, int y);
COLORREF centre();

// A colour by its channels, each clearly on (above 0xC0) or off (below 0x40)
// so that a codec's rounding does not matter: one bit a channel, mixed when
// a channel lies in between (and for CLR_INVALID).
enum Colour { black = 0, red = 1, lime = 2, yellow = 3, blue = 4, magenta = 5, cyan = 6, white = 7, mixed = -1 };
Colour colourOf(COLORREF color);
// Whether a colour is the one wanted within a few tens per channel, as a
// picture that passed through YUV gives it back.
bool looksLike(COLORREF seen, COLORREF wanted);

}  // namespace screen
