#pragma once
#include <windows.h>

// The program's own saver procedure. The host's window procedure hands it
// every message of the saver window that the host does not handle itself;
// it plays the play list in the full-screen show, draws the still picture in
// the preview, and passes everything else on to defaultSaverProc.
LRESULT CALLBACK ShowController(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
