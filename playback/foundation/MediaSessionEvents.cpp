#include "playback/foundation/MediaSessionEvents.h"

#include <mfapi.h>

#include <new>

#include "base/Exception.h"
#include "playback/foundation/ComPointer.h"
#include "playback/foundation/SentMessageWait.h"

namespace {

int indexOf(unsigned arrival) {
    int index = 0;
    while (arrival > 1) {
        arrival >>= 1;
        ++index;
    }
    return index;
}

// Holds the lock for one block.
class Held {
public:
    explicit Held(CRITICAL_SECTION& lock) : lock(lock) { EnterCriticalSection(&lock); }
    ~Held() { LeaveCriticalSection(&lock); }

private:
    CRITICAL_SECTION& lock;
};

}  // namespace

MediaSessionEvents* MediaSessionEvents::make(HWND notifyWindow, UINT message, WPARAM openId) {
    HANDLE changed = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    if (!changed) return nullptr;
    MediaSessionEvents* events = new (std::nothrow) MediaSessionEvents(changed, notifyWindow, message, openId);
    if (!events) CloseHandle(changed);
    return events;
}

MediaSessionEvents::MediaSessionEvents(HANDLE changed, HWND notifyWindow, UINT message, WPARAM openId)
    : changed(changed), arrived(0), window(notifyWindow), message(message), openId(openId) {
    InitializeCriticalSection(&lock);
    for (HRESULT& s : statuses) s = S_OK;
}

MediaSessionEvents::~MediaSessionEvents() {
    DeleteCriticalSection(&lock);
    CloseHandle(changed);
}

HRESULT MediaSessionEvents::listen(IMFMediaSession* session) {
    // The session travels as the call's state: Invoke needs no reference of
    // its own, and none outlives the session's last event.
    return session->BeginGetEvent(this, session);
}

bool MediaSessionEvents::hasArrived(unsigned arrivals) {
    Held held(lock);
    return (arrived & arrivals) != 0;
}

bool MediaSessionEvents::waitFor(unsigned arrivals, DWORD milliseconds) {
    const DWORD start = GetTickCount();
    while (!hasArrived(arrivals)) {
        const DWORD waited = GetTickCount() - start;
        if (waited >= milliseconds || !waitHandlingSentMessages(changed, milliseconds - waited)) {
            return hasArrived(arrivals);
        }
    }
    return true;
}

HRESULT MediaSessionEvents::status(Arrival arrival) {
    Held held(lock);
    return statuses[indexOf(arrival)];
}

void MediaSessionEvents::forget(unsigned arrivals) {
    Held held(lock);
    arrived &= ~arrivals;
}

void MediaSessionEvents::detach() {
    Held held(lock);
    window = nullptr;
}

void MediaSessionEvents::arrive(Arrival arrival, HRESULT eventStatus) {
    Held held(lock);
    arrived |= arrival;
    statuses[indexOf(arrival)] = eventStatus;
    // The ends and failures of playing go to the window's thread as well.
    if ((arrival == ended || arrival == failed) && window) {
        PostMessageA(window, message, openId, arrival == ended ? MEEndOfPresentation : MEError);
    }
    SetEvent(changed);
}

void MediaSessionEvents::note(IMFMediaEvent* event, MediaEventType type, HRESULT eventStatus) {
    UINT32 topologyStatus = MF_TOPOSTATUS_INVALID;
    switch (type) {
    case MESessionTopologySet:
        arrive(topologySet, eventStatus);
        break;
    case MESessionTopologyStatus:
        if (FAILED(eventStatus)) {
            arrive(failed, eventStatus);
        } else if (SUCCEEDED(event->GetUINT32(MF_EVENT_TOPOLOGY_STATUS, &topologyStatus)) &&
                   topologyStatus == MF_TOPOSTATUS_READY) {
            arrive(topologyReady, eventStatus);
        }
        break;
    case MESessionStarted:
        if (FAILED(eventStatus)) arrive(failed, eventStatus);
        break;
    case MESessionClosed:
        arrive(closed, eventStatus);
        break;
    case MEEndOfPresentation:
    case MESessionEnded:
        arrive(ended, eventStatus);
        break;
    case MEError:
        arrive(failed, eventStatus);
        break;
    }
}

// Runs on a thread of Media Foundation's: notes the event and asks for the
// next one, until the session has closed or is shut down.
STDMETHODIMP MediaSessionEvents::Invoke(IMFAsyncResult* result) {
    try {
        ComPointer<IUnknown> state;
        ComPointer<IMFMediaEventGenerator> session;
        ComPointer<IMFMediaEvent> event;
        if (FAILED(result->GetState(state.receive())) ||
            FAILED(state->QueryInterface(__uuidof(IMFMediaEventGenerator), session.receiveVoid())) ||
            FAILED(session->EndGetEvent(result, event.receive()))) {
            return S_OK;
        }
        MediaEventType type = MEUnknown;
        HRESULT eventStatus = S_OK;
        event->GetType(&type);
        event->GetStatus(&eventStatus);
        note(event.get(), type, eventStatus);
        if (type != MESessionClosed) session->BeginGetEvent(this, state.get());
    } catch (Exception* e) {
        dispose(e);
    }
    return S_OK;
}
