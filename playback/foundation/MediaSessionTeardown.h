#pragma once
#include <windows.h>

struct IMFMediaSession;
struct IMFActivate;

// Shuts a media session down, with the sinks of its topology, on a thread of
// its own, and waits for it only until a deadline. A renderer that locks up
// holds that thread, not the show's: Wine 10's enhanced video renderer can
// (its clock sink takes the renderer's lock and then the presenter's, while
// the release of a presented frame takes them the other way round), and the
// session's Shutdown then waits for ever for the renderer's lock.
namespace mediaSessionTeardown {

// Takes over one reference to each object (any may be null) and releases it
// once shut down. True when all was shut down within milliseconds; false
// when the wait gave up (the deadline, or the user's input, which ends a
// show at once), the objects then being left to their thread.
bool shutDown(IMFMediaSession* session, IMFActivate* videoSink, IMFActivate* soundSink, DWORD milliseconds);

// Whether a session of this process was ever left to its thread: Media
// Foundation must then not be shut down, since its work queues still hold
// that session's locked-up work.
bool anyLeftBehind();

}  // namespace mediaSessionTeardown
