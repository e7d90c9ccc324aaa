#pragma once
#include <windows.h>

// Creates the saver window and runs its message loop: full screen over the
// whole desktop when parent is null, else a child filling the preview window
// parent. Returns the exit code: 0, also when another full-screen show is
// running already or no window could be made.
int runSaver(HWND parent);

// Class procedure of "WindowsScreenSaverClass": handles what every saver
// needs and hands every other message to the program's ShowController.
LRESULT CALLBACK hostWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
