#pragma once
#include <windows.h>

// A test seam for what Wine cannot be made to do on demand (a driver that
// stalls, a file-system call that hangs, a message that cannot be posted):
// the test program's own import slot of a system function is pointed at a
// stand-in, so that the program's code linked into it calls the stand-in.
namespace imports {

// Points this program's import of function from dll at replacement and
// returns what the slot held before (the system's function, or the
// replacement of an earlier call); null when the program does not import it.
void* redirect(const char* dll, const char* function, void* replacement);

// The same for a typed function pointer.
template <class Function>
Function redirect(const char* dll, const char* function, Function replacement) {
    return reinterpret_cast<Function>(redirect(dll, function, reinterpret_cast<void*>(replacement)));
}

}  // namespace imports
