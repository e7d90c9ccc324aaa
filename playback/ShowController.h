#pragma once
#include <windows.h>

// The program's screen-saver procedure: the host's window procedure hands it
// every message it does not consume; what it does not consume itself goes on
// to defaultSaverProc.
LRESULT CALLBACK ShowController(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
