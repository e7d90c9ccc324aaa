#pragma once
#include <windows.h>
#include <mfidl.h>

#include "playback/foundation/MediaFoundationCallback.h"

// Takes the events of one media session on Media Foundation's threads. It
// notes what has arrived, so that the player's thread can wait for a step
// with a deadline, and posts the ends and failures of playing to the notify
// window as (message, open id, event type). The session holds it while it
// asks for the next event.
class MediaSessionEvents final : public MediaFoundationCallback {
public:
    // What has come; each stays noted until forgotten.
    enum Arrival : unsigned {
        topologySet = 1,  // MESessionTopologySet, with its status
        closed = 2,
        ended = 4,        // MEEndOfPresentation or MESessionEnded
        failed = 8,       // MEError, a start that failed or a topology that could not be made ready
        topologyReady = 16,  // MESessionTopologyStatus with MF_TOPOSTATUS_READY
    };

    // With one reference, for the caller; null when memory or an event is lacking.
    static MediaSessionEvents* make(HWND notifyWindow, UINT message, WPARAM openId);

    // Starts taking the session's events.
    HRESULT listen(IMFMediaSession* session);
    // True when one of the arrivals has come, at the latest after milliseconds.
    bool waitFor(unsigned arrivals, DWORD milliseconds);
    bool hasArrived(unsigned arrivals);
    // The status of the last event of that arrival.
    HRESULT status(Arrival arrival);
    void forget(unsigned arrivals);
    // Posts nothing more: the open it was made for has ended.
    void detach();

    STDMETHODIMP Invoke(IMFAsyncResult* result) override;

private:
    enum { kinds = 5 };

    MediaSessionEvents(HANDLE changed, HWND notifyWindow, UINT message, WPARAM openId);
    ~MediaSessionEvents() override;
    void note(IMFMediaEvent* event, MediaEventType type, HRESULT eventStatus);
    void arrive(Arrival arrival, HRESULT eventStatus);

    CRITICAL_SECTION lock;  // guards everything below
    HANDLE changed;         // set at every arrival
    unsigned arrived;
    HRESULT statuses[kinds];
    HWND window;            // null once detached
    UINT message;
    WPARAM openId;
};
