// Test build of "MPR.DLL": PwdChangePasswordA records its arguments.
#include "fakes/FakeRecord.h"

extern "C" __declspec(dllexport) DWORD WINAPI PwdChangePasswordA(LPCSTR provider, HWND parent, DWORD reserved1,
                                                                 DWORD reserved2) {
    HKEY key = fakerecord::open("Mpr");
    fakerecord::write(key, "Calls", fakerecord::read(key, "Calls") + 1);
    if (provider)
        RegSetValueExA(key, "Provider", 0, REG_SZ, reinterpret_cast<const BYTE*>(provider), lstrlenA(provider) + 1);
    fakerecord::writeWindow(key, "Parent", parent);
    fakerecord::write(key, "Reserved", reserved1 | reserved2);
    RegCloseKey(key);
    return 0;
}
