#include <windows.h>

#include "host/CommandLine.h"
#include "host/ScreenSaverHost.h"

// The runtime's own view of the command line is not used: the tail is found
// here, stepping by characters so that a double-byte program name is skipped
// whole. ExitProcess ends the process at once, so nothing of the program runs
// after the mode has returned.
int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    ExitProcess(static_cast<UINT>(hostMain(instance, findCommandTail(GetCommandLineA()))));
}
