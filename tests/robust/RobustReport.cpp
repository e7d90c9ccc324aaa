#include "RobustReport.h"

#include <windows.h>

#include <cstdio>

namespace robust {

volatile int currentCase = -1;

namespace {

// A crash ends the program; say which case did it before it goes.
LONG WINAPI reportCrash(EXCEPTION_POINTERS* info) {
    std::printf("crash 0x%08lX at %p in case %d\n", info->ExceptionRecord->ExceptionCode,
                info->ExceptionRecord->ExceptionAddress, currentCase);
    std::fflush(stdout);
    return EXCEPTION_CONTINUE_SEARCH;
}

struct CrashReporter {
    CrashReporter() { SetUnhandledExceptionFilter(reportCrash); }
} crashReporter;

}  // namespace

void Tally::print() const {
    std::printf("%s: %d tried, %d passed\n", group, tried, passedCount);
    std::fflush(stdout);
}

}  // namespace robust
