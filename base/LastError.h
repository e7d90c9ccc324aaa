#pragma once
#include <windows.h>

// Throws the thread's last-error code as an Exception, as the layers above
// the pointer arrays do. Code 8 becomes the preallocated out-of-memory
// object, so that running out of memory never allocates an exception.
[[noreturn]] void throwLastError();
