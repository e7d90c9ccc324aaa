#pragma once
#include <windows.h>

// Finding the windows of another process that a test or benchmark started.
namespace processwindows {

struct Search {
    DWORD processId;
    const char* windowClass;
    HWND found;
};

inline BOOL CALLBACK matchWindow(HWND window, LPARAM lParam) {
    Search* search = reinterpret_cast<Search*>(lParam);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char name[64];
    if (owner == search->processId && GetClassNameA(window, name, sizeof name) &&
        lstrcmpA(name, search->windowClass) == 0) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

// The process's top-level window of this class, or null.
inline HWND topWindowOf(DWORD processId, const char* windowClass) {
    Search search = {processId, windowClass, nullptr};
    EnumWindows(matchWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

}  // namespace processwindows
