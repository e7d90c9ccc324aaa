#pragma once
#include <windows.h>

struct IMFMediaSession;
struct IMFMediaSource;
struct IMFActivate;
class MediaSessionEvents;

// Ends a media session as Microsoft documents it (stop, close and wait for
// MESessionClosed, shut the sources and the session down, then the sinks of
// its topologies) on a thread of its own, and waits for it only until a
// deadline. A renderer that locks up holds that thread, not the show's:
// Wine 10's enhanced video renderer can (its clock sink takes the renderer's
// lock and then the presenter's, while the release of a presented frame
// takes them the other way round), and the session's Stop, Close or
// Shutdown then waits for ever for the renderer's lock.
namespace mediaSessionTeardown {

// One reference to each (any may be null), taken over and released once
// shut down.
struct Parts {
    IMFMediaSession* session;
    MediaSessionEvents* events;  // the session's, which tell its close
    IMFMediaSource* sources[2];
    IMFActivate* videoSink;
    IMFActivate* soundSink;
};

// True when all was shut down within milliseconds; false when the wait gave
// up (the deadline, or the user's input, which ends a show at once), the
// parts then being left to their thread.
bool shutDown(const Parts& parts, DWORD milliseconds);

// Whether a session of this process was ever left to its thread: Media
// Foundation must then not be shut down, since its work queues still hold
// that session's locked-up work.
bool anyLeftBehind();

}  // namespace mediaSessionTeardown
