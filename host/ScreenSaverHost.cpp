#include "host/ScreenSaverHost.h"

#include <commctrl.h>

#include "base/Exception.h"
#include "base/OwnedHandles.h"
#include "dialog/SettingsDialogProc.h"
#include "host/ExceptionGuard.h"
#include "host/HostState.h"
#include "host/PasswordSupport.h"
#include "host/SaverWindow.h"
#include "resources/ResourceIds.h"

namespace {

typedef DWORD(WINAPI* ChangePasswordProc)(LPCSTR provider, HWND parent, DWORD reserved1, DWORD reserved2);

bool isLiveWindow(HWND window) {
    return window && IsWindow(window);
}

HWND ownerOrForeground(HWND window) {
    return isLiveWindow(window) ? window : GetForegroundWindow();
}

}  // namespace

int hostMain(HMODULE module, const char* commandTail) {
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_TAB_CLASSES};
    InitCommonControlsEx(&controls);

    HostState& host = hostState();
    host.moduleHandle = module;
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof version;
    host.isWin9x = GetVersionExA(&version) && version.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS;

    ExceptionGuard guard;
    try {
        return runMode(chooseMode(commandTail));
    } catch (Exception* e) {
        dispose(e);
        setScreenSaverRunning(false);
        return -1;
    }
}

int runMode(const ModeChoice& choice) {
    switch (choice.mode) {
        case RunMode::Settings:
            return runSettingsDialog(nullptr);
        case RunMode::OwnedSettings:
            return runSettingsDialog(ownerOrForeground(choice.windowHandle));
        case RunMode::FullScreen:
            return runSaver(nullptr);
        case RunMode::Preview:
            return isLiveWindow(choice.windowHandle) ? runSaver(choice.windowHandle) : -1;
        case RunMode::ChangePassword:
            if (!hostState().isWin9x) return -1;
            changePassword(ownerOrForeground(choice.windowHandle));
            return 0;
        case RunMode::Invalid:
            break;
    }
    return -1;
}

int runSettingsDialog(HWND parent) {
    HMODULE module = hostState().moduleHandle;
    if (!registerDialogClasses(module)) return 0;
    return static_cast<int>(showSettingsDialog(module, parent));
}

void changePassword(HWND parent) {
    LoadedLibrary library("MPR.DLL");
    ChangePasswordProc change = library.find<ChangePasswordProc>("PwdChangePasswordA");
    if (change) change("SCRSAVE", parent, 0, 0);
}

bool registerDialogClasses(HMODULE) {
    return true;
}
