// Test build of the 9x family's "PASSWORD.CPL". VerifyScreenSavePwd answers
// with the value "Answer" (0 refuse, 1 accept, 2 fault with an access
// violation) and records each call: the window and whether
// screen-saver-running was on. With "PostClose" set, a refused call
// posts one more WM_CLOSE to the window before it returns.
#include "fakes/FakeRecord.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        HKEY key = fakerecord::open("Password");
        fakerecord::write(key, "Loads", fakerecord::read(key, "Loads") + 1);
        RegCloseKey(key);
    }
    return TRUE;
}

extern "C" __declspec(dllexport) BOOL WINAPI VerifyScreenSavePwd(HWND window) {
    HKEY key = fakerecord::open("Password");
    DWORD call = fakerecord::read(key, "Calls") + 1;
    fakerecord::write(key, "Calls", call);
    char name[64];
    fakerecord::writeWindow(key, fakerecord::indexedName(name, "Window", call), window);
    BOOL running = FALSE;
    SystemParametersInfoA(SPI_GETSCREENSAVERRUNNING, 0, &running, 0);
    fakerecord::writeIndexed(key, "Running", call, running ? 1 : 0);
    DWORD answer = fakerecord::read(key, "Answer");
    if (answer == 0 && fakerecord::read(key, "PostClose")) PostMessageA(window, WM_CLOSE, 0, 0);
    if (answer == 2) {
        RegCloseKey(key);
        *static_cast<volatile int*>(nullptr) = 1;
    }
    RegCloseKey(key);
    return answer == 1;
}
