#include "playback/StallWatch.h"

StallWatch::StallWatch()
    : isWatching(false), seenAny(false), seenNonZero(false), lastPosition(0), sameSince(0),
      passStartStalled(false) {}

void StallWatch::fileStarted() {
    isWatching = true;
    seenAny = false;
    seenNonZero = false;
}

void StallWatch::stop() {
    isWatching = false;
}

void StallWatch::fileEnded() {
    isWatching = false;
    passStartStalled = false;
}

bool StallWatch::look(DWORD position, DWORD now) {
    if (!isWatching) return false;
    if (position != 0) seenNonZero = true;
    if (!seenAny || position != lastPosition) {
        seenAny = true;
        lastPosition = position;
        sameSince = now;
        return false;
    }
    if (!seenNonZero) return false;
    // Only what the looks have seen counts: the position may have stopped
    // some time before the first look that read its last value.
    if (now - sameSince + earlyLookMilliseconds < stallMilliseconds) return false;
    isWatching = false;
    return true;
}

bool StallWatch::wholePassStalled(int place, int count) {
    if (place == 0) passStartStalled = true;
    // Files play place after place, so a run from the first place to the
    // last holds every place of that pass.
    return passStartStalled && place >= count - 1;
}
