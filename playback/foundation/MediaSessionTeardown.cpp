#include "playback/foundation/MediaSessionTeardown.h"

#include <mfidl.h>

#include <new>

#include "playback/foundation/SentMessageWait.h"

namespace {

LONG leftBehind = 0;

// Shared by the caller and the thread; the last of the two to let go frees it.
struct Teardown {
    LONG holders;
    HANDLE done;
    IMFMediaSession* session;
    IMFActivate* videoSink;
    IMFActivate* soundSink;
};

void letGo(Teardown* teardown) {
    if (InterlockedDecrement(&teardown->holders) != 0) return;
    CloseHandle(teardown->done);
    delete teardown;
}

void shutDownNow(Teardown& teardown) {
    if (teardown.session) {
        teardown.session->Shutdown();
        teardown.session->Release();
    }
    IMFActivate* const sinks[] = {teardown.videoSink, teardown.soundSink};
    for (IMFActivate* sink : sinks) {
        if (!sink) continue;
        sink->ShutdownObject();
        sink->Release();
    }
    teardown.session = nullptr;
    teardown.videoSink = teardown.soundSink = nullptr;
}

DWORD WINAPI teardownThread(void* parameter) {
    Teardown* teardown = static_cast<Teardown*>(parameter);
    shutDownNow(*teardown);
    SetEvent(teardown->done);
    letGo(teardown);
    return 0;
}

}  // namespace

namespace mediaSessionTeardown {

bool shutDown(IMFMediaSession* session, IMFActivate* videoSink, IMFActivate* soundSink, DWORD milliseconds) {
    Teardown* teardown = new (std::nothrow) Teardown{2, nullptr, session, videoSink, soundSink};
    HANDLE thread = nullptr;
    if (teardown) teardown->done = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (teardown && teardown->done) thread = CreateThread(nullptr, 0, teardownThread, teardown, 0, nullptr);
    if (!thread) {
        // Without a thread of its own (no memory left), here and now.
        Teardown here = {1, nullptr, session, videoSink, soundSink};
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
