#pragma once
#include <windows.h>

// Ends the full-screen show when the user touches the computer while the
// show's thread is held in a media driver: held there, the thread sees no
// input, and a screen saver must go the moment it is touched. Wine 10's
// DirectShow driver can hold it for good on a damaged WMV file, in calls the
// show cannot cut short. A thread of its own asks the show's window to
// answer; once the window has not answered for a few seconds, input that
// came after its last answer (any key or button, or the pointer moved
// further than a show lets it) ends the process as the exit deadline does.
// A show held for longer still plays nothing, as a file that cannot be
// played, and ends as the show does at such a file.
class HangWatch {
public:
    enum { heldMilliseconds = 3000, givenUpMilliseconds = 15000 };

    // Watches the show's window until it is gone.
    static void start(HWND showWindow);

private:
    static DWORD WINAPI watch(void* window);
};
