#pragma once
#include <windows.h>

struct MediaFoundationCalls;

// Whether this Windows plays files through Media Foundation (Windows 7 and
// later with the media components). Its libraries are loaded at run time and
// kept for the life of the process; the program starts without them.
class MediaFoundation {
public:
    // True when the libraries load, every call the player makes is there and
    // the platform accepts the version the player is built for (Vista's
    // Media Foundation does not). Looked at once; any thread may ask.
    static bool available();
    // The calls, or null when Media Foundation is not available.
    static const MediaFoundationCalls* calls();

    // Whether Windows has a source for files with this extension (".mkv"):
    // Media Foundation is available and a byte-stream handler is registered
    // for it, as the source resolver looks it up. Windows 7 and 8.1 have
    // none for Matroska files, Windows 10 has.
    static bool hasSourceFor(const char* extension);

    // Whether its libraries were loaded into this process. Their unloading
    // at the process's end may wait for threads of theirs that never end
    // (under Wine a renderer's): the process should then
    // end without unloading anything.
    static bool librariesLoaded();

    // A machine without Media Foundation, for tests: while refused,
    // available() answers false and calls() null, whatever the libraries.
    static void refuse(bool refused);
};
