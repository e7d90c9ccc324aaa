#include <windows.h>

#include "base/RunsUnderWine.h"
#include "host/CommandLine.h"
#include "host/ScreenSaverHost.h"
#include "playback/foundation/MediaFoundation.h"
#include "playback/foundation/MediaSessionTeardown.h"

// The runtime's own view of the command line is not used: the tail is found
// here, stepping by characters so that a double-byte program name is skipped
// whole. ExitProcess ends the process at once, so nothing of the program runs
// after the mode has returned. Where a media session was left to a thread
// that never came back from its shutdown, unloading Media Foundation would
// wait for ever for that thread: everything is written by then, so the
// process just ends, unloading nothing. So it does under Wine once Media
// Foundation was loaded: its X11 driver can meet an X error while the
// process comes down (a GL drawable destroyed after its window), which Xlib
// answers by exiting with code 1 instead of the program's own.
int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    const UINT result = static_cast<UINT>(hostMain(instance, findCommandTail(GetCommandLineA())));
    if (MediaFoundation::librariesLoaded() && (mediaSessionTeardown::anyLeftBehind() || runsUnderWine()))
        TerminateProcess(GetCurrentProcess(), result);
    ExitProcess(result);
}
