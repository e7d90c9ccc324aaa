#include "host/PasswordSupport.h"

#include "base/OwnedHandles.h"
#include "host/HostState.h"

void loadPasswordSettings() {
    HostState& host = hostState();
    if (!host.isWin9x) return;
    if (host.passwordLibrary) unloadPassword();

    RegistryKey key;
    if (RegOpenKeyA(HKEY_CURRENT_USER, "Control Panel\\Desktop", key.receive()) != ERROR_SUCCESS) return;
    // A shorter value fills only the low bytes; the rest stays 0.
    DWORD usePassword = 0;
    DWORD size = sizeof usePassword;
    LONG result = RegQueryValueExA(key.handle(), "ScreenSaveUsePassword", nullptr, nullptr,
                                   reinterpret_cast<BYTE*>(&usePassword), &size);
    if (result == ERROR_SUCCESS && usePassword != 0) {
        host.passwordLibrary = LoadedLibrary("PASSWORD.CPL");
        if (host.passwordLibrary) {
            host.verifyPassword = host.passwordLibrary.find<VerifyPasswordProc>("VerifyScreenSavePwd");
            if (host.verifyPassword)
                setScreenSaverRunning(true);
            else
                unloadPassword();
        }
    }
}

void unloadPassword() {
    HostState& host = hostState();
    if (!host.isWin9x || !host.passwordLibrary) return;
    host.passwordLibrary.reset();
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
