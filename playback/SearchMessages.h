#pragma once
#include <windows.h>

// Messages the folder search posts to the saver window from its own thread.
// WM_APP itself is the host's password request.

// Files found, in list order; lParam is a PathBatch block that the window
// takes over and frees.
constexpr UINT WM_SEARCH_FOUND = WM_APP + 0x10;
// The search has ended: every listed file and folder has been looked at
// (or memory ran out); no WM_SEARCH_FOUND follows. wParam and lParam 0.
constexpr UINT WM_SEARCH_DONE = WM_APP + 0x11;
