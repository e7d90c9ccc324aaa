#include "playback/show/StallWatch.h"

StallWatch::StallWatch()
    : isWatching(false), seenAny(false), moved(false), startPosition(0), length(0), allowed(0), startedAt(0),
      lastPosition(0), sameSince(0), passStartStalled(false) {}

void StallWatch::fileStarted(DWORD fromMilliseconds, DWORD lengthMilliseconds, DWORD now) {
    isWatching = true;
    seenAny = false;
    moved = false;
    startPosition = fromMilliseconds;
    startedAt = now;
    length = lengthMilliseconds;
    // A start at or past the end leaves only the margin.
    const DWORD left = lengthMilliseconds > fromMilliseconds ? lengthMilliseconds - fromMilliseconds : 0;
    const unsigned long long bound = left + left / 2ull + lengthMarginMilliseconds;
    allowed = lengthMilliseconds ? (bound < MAXDWORD ? static_cast<DWORD>(bound) : MAXDWORD) : 0;
}

void StallWatch::stop() {
    isWatching = false;
}

void StallWatch::fileEnded() {
    isWatching = false;
    passStartStalled = false;
}

bool StallWatch::outlived(DWORD now) {
    if (!isWatching || allowed == 0 || now - startedAt + earlyLookMilliseconds < allowed) return false;
    isWatching = false;
    return true;
}

bool StallWatch::look(DWORD position, DWORD now) {
    if (!isWatching) return false;
    // Until the position has gone past the start point, a file is starting:
    // a device may take its time to seek or to begin (a resumed file reads
    // its stored point meanwhile, some drivers read 0 throughout); only its
    // length bounds that.
    if (position > startPosition) moved = true;
    if (!moved && outlived(now)) return true;
    if (moved && length && position > length && position - length >= lengthMarginMilliseconds) {
        isWatching = false;
        return true;
    }
    if (!seenAny || position != lastPosition) {
        seenAny = true;
        lastPosition = position;
        sameSince = now;
        return false;
    }
    if (!moved) return false;
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
