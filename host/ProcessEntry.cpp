#include <windows.h>

#include "host/CommandLine.h"
#include "host/ScreenSaverHost.h"
#include "playback/foundation/MediaFoundation.h"

// The runtime's own view of the command line is not used: the tail is found
// here, stepping by characters so that a double-byte program name is skipped
// whole. ExitProcess ends the process at once, so nothing of the program runs
// after the mode has returned. Once Media Foundation was loaded, unloading
// its libraries may wait for ever for threads of theirs (a session stuck in
// Wine's renderer holds its work thread): everything is written by then, so
// the process just ends, unloading nothing.
int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    const UINT result = static_cast<UINT>(hostMain(instance, findCommandTail(GetCommandLineA())));
    if (MediaFoundation::librariesLoaded()) TerminateProcess(GetCurrentProcess(), result);
    ExitProcess(result);
}
