#include "base/LastError.h"

#include "base/Exception.h"

void throwLastError() {
    const DWORD code = GetLastError();
    if (code == ERROR_NOT_ENOUGH_MEMORY) throwOutOfMemory();
    throwWin32Error(code);
}
