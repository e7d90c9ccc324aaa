#pragma once
#include <windows.h>

// Bounds the end of the full-screen show. Once its window is being
// destroyed, all the show has left to do is to store its resume point and
// let go of the media, and a driver may hold the thread there for ever (see
// storeResumePoint in playback/show/ShowController.cpp). Armed then, the deadline
// ends the process with the show's exit code, 0, unless it has ended by
// itself. A write to the INI file holds the end off until it is whole.
class ExitDeadline {
public:
    enum { milliseconds = 2000 };

    // Starts the count once; later calls do nothing.
    static void arm();
    static bool armed();
    // Ends the process now, as the deadline does.
    [[noreturn]] static void endNow();

    // While one lives, the deadline waits for it to go before it ends the
    // process, so that what it guards is never cut half-way.
    class Hold {
    public:
        Hold();
        ~Hold();
        Hold(const Hold&) = delete;
        Hold& operator=(const Hold&) = delete;
    };

private:
    static DWORD WINAPI count(void* unused);
};
