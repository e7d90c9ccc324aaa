#pragma once
#include <windows.h>

// What the bare reference players share: their topmost window over the whole
// virtual screen, what it does with a key and the cursor, and the loop.
namespace referencewindow {

// Registers the class with this procedure and shows the window; null on failure.
HWND create(HINSTANCE instance, const char* windowClass, WNDPROC procedure);

// A key ends the program, the cursor is hidden; the rest goes to DefWindowProcA.
LRESULT defaultProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Runs the message loop until WM_QUIT.
void run();

}  // namespace referencewindow
