#include "host/PasswordSupport.h"

#include "host/HostState.h"

void loadPasswordSettings() {
    HostState& host = hostState();
    if (!host.isWin9x) return;
    if (host.passwordLibrary) unloadPassword();

    HKEY key;
    if (RegOpenKeyA(HKEY_CURRENT_USER, "Control Panel\\Desktop", &key) != ERROR_SUCCESS) return;
    // A shorter value fills only the low bytes; the rest stays 0.
    DWORD usePassword = 0;
    DWORD size = sizeof usePassword;
    LONG result = RegQueryValueExA(key, "ScreenSaveUsePassword", nullptr, nullptr,
                                   reinterpret_cast<BYTE*>(&usePassword), &size);
    if (result == ERROR_SUCCESS && usePassword != 0) {
        host.passwordLibrary = LoadLibraryA("PASSWORD.CPL");
        if (host.passwordLibrary) {
            host.verifyPassword = reinterpret_cast<VerifyPasswordProc>(
                reinterpret_cast<void*>(GetProcAddress(host.passwordLibrary, "VerifyScreenSavePwd")));
            if (host.verifyPassword)
                setScreenSaverRunning(true);
            else
                unloadPassword();
        }
    }
    RegCloseKey(key);
}

void unloadPassword() {
    HostState& host = hostState();
    if (!host.isWin9x || !host.passwordLibrary) return;
    FreeLibrary(host.passwordLibrary);
    host.passwordLibrary = nullptr;
    if (host.verifyPassword) {
        host.verifyPassword = nullptr;
        setScreenSaverRunning(false);
    }
}

void setScreenSaverRunning(bool running) {
    if (!hostState().isWin9x) return;
    UINT previous = 0;  // not used; some systems write it
    SystemParametersInfoA(SPI_SETSCREENSAVERRUNNING, running ? TRUE : FALSE, &previous, 0);
}
