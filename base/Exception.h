#pragma once
#include <windows.h>

// The program's error class. Failures are thrown as pointers; every handler
// catches Exception* and ends with dispose().
class Exception {
public:
    Exception(DWORD code, BOOL autoDelete);
    virtual ~Exception();

    // Text of the error for the caller to free with LocalFree, or null.
    virtual char* messageText();

    DWORD code;       // a Win32 error code (an MCI code for MciException)
    BOOL autoDelete;  // set for an object allocated for one throw
};

// An MCI error; code holds the MCI error code.
class MciException : public Exception {
public:
    MciException(DWORD code, BOOL autoDelete);
    char* messageText() override;
};

[[noreturn]] void throwWin32Error(DWORD code);
[[noreturn]] void throwMciError(DWORD code);
// Throws the one preallocated out-of-memory object (code 8, not autoDelete).
[[noreturn]] void throwOutOfMemory();
// Deletes e when it was allocated for its throw; leaves the static object alone.
void dispose(Exception* e);

// The preallocated out-of-memory object, made before the program's entry runs.
Exception* outOfMemoryException();
