#pragma once
#include <windows.h>

// Private messages of a show, posted to the saver window.

// The current file has played to its end; wParam is the view's number of
// the open that played it (VideoView::openNumber), lParam 0.
constexpr UINT WM_SHOW_NEXT = WM_USER + 1;
// Play the first file; wParam 1 starts at the resume point, else 0.
constexpr UINT WM_SHOW_START = WM_USER + 2;
