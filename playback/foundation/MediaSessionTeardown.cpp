#include "playback/foundation/MediaSessionTeardown.h"

#include <mfidl.h>

#include <initializer_list>
#include <new>

#include "playback/foundation/MediaSessionEvents.h"
#include "playback/foundation/SentMessageWait.h"

namespace {

// How long the thread waits for the session to close before it shuts it
// down all the same.
const DWORD closeDeadline = 5000;

LONG leftBehind = 0;

// Shared by the caller and the thread; the last of the two to let go frees it.
struct Teardown {
    LONG holders;
    HANDLE done;
    mediaSessionTeardown::Parts parts;
};

void letGo(Teardown* teardown) {
    if (InterlockedDecrement(&teardown->holders) != 0) return;
    CloseHandle(teardown->done);
    delete teardown;
}

void shutDownNow(mediaSessionTeardown::Parts& parts) {
    if (IMFMediaSession* session = parts.session) {
        session->Stop();
        if (SUCCEEDED(session->Close()) && parts.events) {
            parts.events->waitQuietly(MediaSessionEvents::closed, closeDeadline);
        }
    }
    for (IMFMediaSource*& source : parts.sources) {
        if (!source) continue;
        source->Shutdown();
        source->Release();
        source = nullptr;
    }
    if (parts.session) {
        parts.session->Shutdown();
        parts.session->Release();
        parts.session = nullptr;
    }
    if (parts.events) parts.events->Release();
    parts.events = nullptr;
    for (IMFActivate** sink : {&parts.videoSink, &parts.soundSink}) {
        if (!*sink) continue;
        (*sink)->ShutdownObject();
        (*sink)->Release();
        *sink = nullptr;
    }
}

DWORD WINAPI teardownThread(void* parameter) {
    Teardown* teardown = static_cast<Teardown*>(parameter);
    shutDownNow(teardown->parts);
    SetEvent(teardown->done);
    letGo(teardown);
    return 0;
}

}  // namespace

namespace mediaSessionTeardown {

bool shutDown(const Parts& parts, DWORD milliseconds) {
    Teardown* teardown = new (std::nothrow) Teardown{2, nullptr, parts};
    HANDLE thread = nullptr;
    if (teardown) teardown->done = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (teardown && teardown->done) thread = CreateThread(nullptr, 0, teardownThread, teardown, 0, nullptr);
    if (!thread) {
        // Without a thread of its own (no memory left), here and now.
        Parts here = parts;
        shutDownNow(here);
        if (teardown && teardown->done) CloseHandle(teardown->done);
        delete teardown;
        return true;
    }
    CloseHandle(thread);
    const bool inTime = waitHandlingSentMessages(teardown->done, milliseconds) ||
                        WaitForSingleObject(teardown->done, 0) == WAIT_OBJECT_0;
    if (!inTime) InterlockedExchange(&leftBehind, 1);
    letGo(teardown);
    return inTime;
}

bool anyLeftBehind() {
    return InterlockedCompareExchange(&leftBehind, 0, 0) != 0;
}

}  // namespace mediaSessionTeardown
