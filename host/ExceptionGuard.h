#pragma once
#include <windows.h>

// Guards a run mode against structured exceptions (an access violation, say)
// that nothing handles. g++ has no __try/__except, so the guard is the
// process's top-level exception filter while it lives, armed for the thread
// that made it. The system's UnhandledExceptionFilter decides: when it answers
// that the handler is to run, the screen-saver-running state is switched off
// and the process ends with -1; otherwise the exception goes on to the
// system's own last-chance handling.
class ExceptionGuard {
public:
    ExceptionGuard();
    ~ExceptionGuard();
    ExceptionGuard(const ExceptionGuard&) = delete;
    ExceptionGuard& operator=(const ExceptionGuard&) = delete;

private:
    static LONG WINAPI filter(EXCEPTION_POINTERS* information);
};
