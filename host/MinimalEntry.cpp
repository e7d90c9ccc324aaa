#include <windows.h>

// Stand-in entry until the screen-saver host exists: no mode runs yet.
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    ExitProcess(static_cast<UINT>(-1));
}
