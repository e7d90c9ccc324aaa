#pragma once
#include <windows.h>

#include "base/Exception.h"

// Helpers for tests of code that throws the program's Exception pointers.
namespace testerrors {

// Runs f and returns the code of the Exception it throws, or 0.
template <typename F>
DWORD thrownCode(F f) {
    try {
        f();
    } catch (Exception* e) {
        const DWORD code = e->code;
        dispose(e);
        return code;
    }
    return 0;
}

// True when f throws the one preallocated out-of-memory object intact.
template <typename F>
bool throwsStaticOutOfMemory(F f) {
    try {
        f();
    } catch (Exception* e) {
        const bool same = e == outOfMemoryException() && e->code == ERROR_NOT_ENOUGH_MEMORY &&
                          !e->autoDelete;
        dispose(e);
        return same;
    }
    return false;
}

}  // namespace testerrors
