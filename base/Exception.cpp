#include "base/Exception.h"

#include <mmsystem.h>
#include <new>

namespace {
// Made before the program's entry runs, so that running out of memory never
// needs memory to be reported.
Exception staticOutOfMemory(ERROR_NOT_ENOUGH_MEMORY, FALSE);
}

Exception::Exception(DWORD code, BOOL autoDelete) : code(code), autoDelete(autoDelete) {}

Exception::~Exception() {}

char* Exception::messageText() {
    char* text = nullptr;
    FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS |
                       FORMAT_MESSAGE_FROM_SYSTEM,
                   nullptr, code, 0x400, reinterpret_cast<char*>(&text), 0, nullptr);
    return text;
}

MciException::MciException(DWORD code, BOOL autoDelete) : Exception(code, autoDelete) {}

char* MciException::messageText() {
    char* block = static_cast<char*>(LocalAlloc(LMEM_ZEROINIT, 256));
    if (!block) return nullptr;
    if (!mciGetErrorStringA(code, block, 256)) {
        LocalFree(block);
        return nullptr;
    }
    return block;
}

void throwWin32Error(DWORD code) {
    Exception* e = new (std::nothrow) Exception(code, TRUE);
    if (!e) throwOutOfMemory();
    throw e;
}

void throwMciError(DWORD code) {
    Exception* e = new (std::nothrow) MciException(code, TRUE);
    if (!e) throwOutOfMemory();
    throw e;
}

void throwOutOfMemory() {
    throw &staticOutOfMemory;
}

void dispose(Exception* e) {
    if (e && e->autoDelete) delete e;
}

Exception* outOfMemoryException() {
    return &staticOutOfMemory;
}
