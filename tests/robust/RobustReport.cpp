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

bool writeBytes(const std::string& path, const std::string& bytes) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    BOOL ok = bytes.empty() ||
              WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    return ok && (bytes.empty() || written == bytes.size());
}

}  // namespace robust
