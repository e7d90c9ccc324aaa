#include "base/RunsUnderWine.h"

#include <windows.h>

bool runsUnderWine() {
    // Wine's ntdll exports its version; Windows' never has.
    static const bool wine = [] {
        HMODULE ntdll = GetModuleHandleA("ntdll.dll");
        return ntdll && GetProcAddress(ntdll, "wine_get_version");
    }();
    return wine;
}
