#pragma once
#include <windows.h>

// Tells when a file that is meant to be playing has stopped moving without
// its driver ever reporting an end (a half-written or damaged clip), so that
// the show can go on as if the file had ended. It is fed looks at the
// playing position, about one a second; it reads no clock and sends no
// command itself.
class StallWatch {
public:
    // A position that has read the same for this long counts as stalled.
    enum { stallMilliseconds = 5000 };
    // A timer's look may come this much early; it still counts for a full tick.
    enum { earlyLookMilliseconds = 250 };

    StallWatch();

    // A file has just been started (from its start or a stored position).
    void fileStarted();
    // The file is no longer meant to be playing (closed, or the show ends).
    void stop();
    // The playing file reached its end: a run of stalled files is broken.
    void fileEnded();

    // One look at the playing position, taken at the tick count now. True,
    // once, when the position has stayed the same for stallMilliseconds.
    // A position that has read 0 at every look since the start is never
    // stalled: some drivers always report 0.
    bool look(DWORD position, DWORD now);

    // Notes that the file at place (in the play order of count files) has
    // stalled. True when every place of one pass, from the first to the last,
    // has stalled with no file reaching its end in between.
    bool wholePassStalled(int place, int count);

    bool watching() const { return isWatching; }

private:
    bool isWatching;
    bool seenAny;        // a look since the file started
    bool seenNonZero;    // a look other than 0 since the file started
    DWORD lastPosition;  // what the last look read
    DWORD sameSince;     // tick count of the first look that read it
    bool passStartStalled;  // the first place of the play order stalled in this run
};
