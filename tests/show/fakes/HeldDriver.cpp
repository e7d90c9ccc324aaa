// Test build of the MCI driver "mciqtz32.dll", which plays mpg and wmv files:
// it holds the thread that opens a device for good, as a driver can on a
// damaged file, so that only something outside that thread can end a show.
#include <windows.h>

#include <mmsystem.h>

extern "C" __declspec(dllexport) LRESULT WINAPI DriverProc(DWORD_PTR, HDRVR, UINT message, LPARAM, LPARAM) {
    if (message == DRV_OPEN) {
        for (;;) Sleep(INFINITE);
    }
    return 1;
}
