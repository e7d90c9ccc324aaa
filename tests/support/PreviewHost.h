#pragma once
#include <windows.h>

#include <functional>

#include "support/MessagePump.h"

// The preview area of the display settings, stood in for by a window of the
// test's own, and the host's preview run inside it in this process: Wine
// does not draw a child window of another process.
namespace previewhost {

// A white topmost window with its corner at x, y of the screen and a client
// area of width by height, shown without activation and painted. With a
// caption it is framed as the display settings' own window is.
HWND create(int x, int y, int width, int height, const char* caption = nullptr);

// Runs the host's preview in parent (runSaver, as /p does) until parent is
// gone, and returns its result. Meanwhile look() is called every 50 ms on
// this thread; parent is destroyed once it returns true or the deadline has
// passed.
int run(HWND parent, const std::function<bool()>& look, DWORD deadline = pump::DEADLINE);

}  // namespace previewhost
