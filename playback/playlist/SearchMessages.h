#pragma once
#include <windows.h>

// Messages the folder search posts to the saver window from its own thread;
// neither carries data (wParam and lParam 0): the files wait in the search's
// results until the window takes them. WM_APP itself is the host's password
// request.

// Files found wait to be taken.
constexpr UINT WM_SEARCH_FOUND = WM_APP + 0x10;
// The search has ended: every listed file and folder has been looked at (or
// memory ran out); once the window has taken the files, nothing follows.
constexpr UINT WM_SEARCH_DONE = WM_APP + 0x11;
