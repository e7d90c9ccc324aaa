#include "host/ExitDeadline.h"

#include "base/Exception.h"
#include "host/HostState.h"
#include "host/PasswordSupport.h"

namespace {

// Made before the program's entry runs: a hold may come before any arming.
struct Writing {
    Writing() { InitializeCriticalSection(&section); }
    CRITICAL_SECTION section;
};
Writing writing;

volatile LONG armedOnce = 0;

}  // namespace

void ExitDeadline::arm() {
    if (InterlockedExchange(&armedOnce, 1) != 0) return;
    DWORD id = 0;  // Windows 98 needs somewhere to put it
    HANDLE thread = CreateThread(nullptr, 0, count, nullptr, 0, &id);
    if (thread) CloseHandle(thread);
}

bool ExitDeadline::armed() {
    return InterlockedCompareExchange(&armedOnce, 0, 0) != 0;
}

void ExitDeadline::endNow() {
    EnterCriticalSection(&writing.section);
    // As the host's own end does: on the 9x family the system's keys come
    // back.
    if (hostState().verifyPassword) setScreenSaverRunning(false);
    TerminateProcess(GetCurrentProcess(), 0);
    for (;;) Sleep(INFINITE);  // the process is going
}

DWORD WINAPI ExitDeadline::count(void*) {
    try {
        Sleep(milliseconds);
        endNow();
    } catch (Exception* e) {
        dispose(e);
    }
    return 0;
}

ExitDeadline::Hold::Hold() {
    EnterCriticalSection(&writing.section);
}

ExitDeadline::Hold::~Hold() {
    LeaveCriticalSection(&writing.section);
}
