#pragma once
#include <windows.h>

// Sent by the host to its own window to run the system's password check;
// the answer is non-zero when the close may go ahead.
const UINT WM_PASSWORD_REQUEST = WM_APP;

// The closing rules: which input and power events end a full-screen show,
// and the password check before the window may close. Ends in DefWindowProcA.
// The show controller passes every message it does not consume to it.
LRESULT CALLBACK defaultSaverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Whether a WM_CLOSE may destroy the window: true at once without password
// protection, else the answer of the system's password check.
bool verifyBeforeClose(HWND window);
