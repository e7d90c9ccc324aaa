// Test build of "mfplat.dll" as Windows Vista has it: the calls are there,
// but MFStartup refuses Windows 7's version. It records the version asked for.
#include "fakes/FakeRecord.h"

namespace {
const HRESULT badStartupVersion = static_cast<HRESULT>(0xC00D36E3);
}

extern "C" __declspec(dllexport) HRESULT WINAPI MFStartup(ULONG version, DWORD) {
    HKEY key = fakerecord::open("Mfplat");
    fakerecord::write(key, "StartupVersion", version);
    RegCloseKey(key);
    return badStartupVersion;
}

extern "C" __declspec(dllexport) HRESULT WINAPI MFShutdown() {
    return S_OK;
}

extern "C" __declspec(dllexport) HRESULT WINAPI MFCreateSourceResolver(void** resolver) {
    *resolver = nullptr;
    return E_NOTIMPL;
}
