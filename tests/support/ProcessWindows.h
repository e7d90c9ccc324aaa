#pragma once
#include <windows.h>

// Finding the top-level windows of another process that a test or benchmark
// started. Header only, so that the benchmarks share it without the tests'
// library.
namespace processwindows {

struct Search {
    DWORD processId;
    const char* windowClass;
    const char* title;  // null: any title
    bool visibleOnly;
    HWND found;
};

inline BOOL CALLBACK matchWindow(HWND window, LPARAM lParam) {
    Search* search = reinterpret_cast<Search*>(lParam);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->processId) return TRUE;
    if (search->visibleOnly && !IsWindowVisible(window)) return TRUE;
    char text[64];
    if (!GetClassNameA(window, text, sizeof text) || lstrcmpA(text, search->windowClass) != 0) return TRUE;
    if (search->title) {
        GetWindowTextA(window, text, sizeof text);
        if (lstrcmpA(text, search->title) != 0) return TRUE;
    }
    search->found = window;
    return FALSE;
}

// The process's top-level window of this class (and title, unless null), or null.
inline HWND topWindowOf(DWORD processId, const char* windowClass, const char* title = nullptr,
                        bool visibleOnly = false) {
    Search search = {processId, windowClass, title, visibleOnly, nullptr};
    EnumWindows(matchWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

}  // namespace processwindows
