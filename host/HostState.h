#pragma once
#include <windows.h>

#include "base/OwnedHandles.h"

typedef BOOL(WINAPI* VerifyPasswordProc)(HWND window);
typedef HANDLE(WINAPI* AssociateContextProc)(HWND window, HANDLE context);
typedef DWORD(WINAPI* TickCountProc)();

// Process-wide state of the screen-saver host. One process runs one mode, so
// there is exactly one of these; it lives until the process ends.
struct HostState {
    HMODULE moduleHandle = nullptr;  // the executable's own module
    bool isWin9x = false;            // the host's own password handling is on
    HWND saverWindow = nullptr;      // the window made by runSaver
    bool isPreview = false;          // set before the preview window is made
    bool isClosing = false;          // a close has been approved
    bool isChecking = false;         // the password request is being answered

    LoadedLibrary passwordLibrary;            // "PASSWORD.CPL" while loaded
    VerifyPasswordProc verifyPassword = nullptr;  // non-null: password protection
    DWORD lastCheckTick = 0xFFFFFFFF;         // end of the last request; none yet
    TickCountProc tickCount = GetTickCount;   // the clock of lastCheckTick; tests set their own
    POINT referenceCursor = {0, 0};           // where mouse movement is measured from
    DWORD mouseThreshold = 4;                 // largest movement that does not close
    BYTE acLineStatus = 0xFF;                 // power source when the show started
    UINT autoPlayMessage = 0;                 // "QueryCancelAutoPlay" on the 9x family

    HMODULE imeLibrary = nullptr;  // "IMM32.DLL", never freed
    AssociateContextProc associateContext = nullptr;
    HANDLE savedInputContext = nullptr;  // the context detached from the window
};

// The one host state of the process. The show controller reads isPreview
// from here rather than guessing the run mode from the window's size.
HostState& hostState();
