#include "host/ExceptionGuard.h"

#include "host/ExitDeadline.h"
#include "host/PasswordSupport.h"

namespace {
LPTOP_LEVEL_EXCEPTION_FILTER previousFilter = nullptr;
DWORD guardedThread = 0;
bool deciding = false;

LONG passOn(EXCEPTION_POINTERS* information) {
    return previousFilter ? previousFilter(information) : EXCEPTION_CONTINUE_SEARCH;
}
}  // namespace

ExceptionGuard::ExceptionGuard() {
    guardedThread = GetCurrentThreadId();
    previousFilter = SetUnhandledExceptionFilter(&ExceptionGuard::filter);
}

ExceptionGuard::~ExceptionGuard() {
    SetUnhandledExceptionFilter(previousFilter);
    guardedThread = 0;
}

LONG WINAPI ExceptionGuard::filter(EXCEPTION_POINTERS* information) {
    // Threads that the system starts in the process (media drivers, for
    // instance) are not the mode's: their faults take the ordinary road,
    // except once the show is ending and has stored what it must. Under
    // Wine 10 the fault that can hang the stop of an MPEG-1 file (see
    // storeResumePoint in playback/show/ShowController.cpp) at times makes the
    // MPEG-I splitter's streaming thread raise EXCEPTION_INVALID_HANDLE
    // instead, and Wine's debugger would then hold the process.
    if (GetCurrentThreadId() != guardedThread || deciding) {
        if (ExitDeadline::armed()) ExitDeadline::endNow();
        return passOn(information);
    }

    // UnhandledExceptionFilter calls the top-level filter itself, so the one
    // that was there before is put back while the system decides.
    deciding = true;
    SetUnhandledExceptionFilter(previousFilter);
    LONG decision = UnhandledExceptionFilter(information);
    if (decision == EXCEPTION_EXECUTE_HANDLER) {
        // The handler: nothing of the faulting mode may run on, so the
        // process ends here with the code the mode would have returned.
        setScreenSaverRunning(false);
        ExitProcess(static_cast<UINT>(-1));
    }
    SetUnhandledExceptionFilter(&ExceptionGuard::filter);
    deciding = false;
    return decision;
}
