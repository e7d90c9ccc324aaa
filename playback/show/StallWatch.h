#pragma once
#include <windows.h>

// Tells when a file that is meant to be playing will not reach its end by
// itself, so that the show can go on as if it had ended: its position has
// stopped moving without its driver ever reporting an end (a half-written or
// damaged clip), its position has run on past its length, or it has never
// moved at all for longer than what was left of it, with room to spare (a
// driver whose position reads 0 throughout and that never reports the end).
// A file that moves is never timed by the clock: a busy machine may play it
// slower than real time. It is fed looks at the playing position, about one
// a second; it reads no clock and sends no command itself.
class StallWatch {
public:
    // A position that has read the same for this long, after it moved past
    // the point where the play started, counts as stalled.
    enum { stallMilliseconds = 5000 };
    // A timer's look may come this much early; it still counts for a full tick.
    enum { earlyLookMilliseconds = 250 };
    // What a file may take beyond what was left of it: a slow start, a seek
    // over a network, a driver that ends late. A file that does not move may
    // take half as long again as what was left of it, and this margin.
    enum { lengthMarginMilliseconds = 10000 };

    StallWatch();

    // A file has just been started at fromMilliseconds, at the tick count
    // now; lengthMilliseconds is its length, 0 when unknown.
    void fileStarted(DWORD fromMilliseconds, DWORD lengthMilliseconds, DWORD now);
    // The file is no longer meant to be playing (closed, or the show ends).
    void stop();
    // The playing file reached its end: a run of stalled files is broken.
    void fileEnded();

    // One look at the playing position, taken at the tick count now. True,
    // once, when the file counts as stalled.
    bool look(DWORD position, DWORD now);
    // For a time the position cannot be read: true, once, when the file has
    // taken as long as a file that does not move may take.
    bool outlived(DWORD now);

    // Notes that the file at place (in the play order of count files) has
    // stalled. True when every place of one pass, from the first to the last,
    // has stalled with no file reaching its end in between.
    bool wholePassStalled(int place, int count);

    bool watching() const { return isWatching; }

private:
    bool isWatching;
    bool seenAny;        // a look since the file started
    bool moved;          // a look read a position past the start point
    DWORD startPosition; // where the play started, in milliseconds
    DWORD length;        // of the file, in milliseconds; 0 unknown
    DWORD allowed;       // how long the file may stand, from startedAt; 0 = no bound
    DWORD startedAt;     // tick count of the start
    DWORD lastPosition;  // what the last look read
    DWORD sameSince;     // tick count of the first look that read it
    bool passStartStalled;  // the first place of the play order stalled in this run
};
