#pragma once
#include <windows.h>
#include <mfidl.h>

#include "playback/foundation/MediaFoundationCallback.h"

// Takes the events of one media session on Media Foundation's threads. It
// notes what has arrived, so that the player's thread can wait for a step
// with a deadline, and posts the ends and failures of playing to the notify
// window as (message, open id, event type). The session holds it while it
// asks for the next event.
//
// One session plays file after file. The end of a file is told only once
// the session has started it: what comes before belongs to the file before
// (Wine sends the last one's MESessionEnded once the next topology is set).
class MediaSessionEvents final : public MediaFoundationCallback {
public:
    // What has come; each stays noted until forgotten.
    enum Arrival : unsigned {
        topologySet = 1,    // MESessionTopologySet, with its status
        closed = 2,
        ended = 4,          // MEEndOfPresentation or MESessionEnded of the current open
        failed = 8,         // MEError, or a start that failed
        topologyReady = 16, // MESessionTopologyStatus with MF_TOPOSTATUS_READY
    };

    // With one reference, for the caller; null when memory or an event is lacking.
    static MediaSessionEvents* make(HWND notifyWindow, UINT message, WPARAM openId);

    // Starts taking the session's events.
    HRESULT listen(IMFMediaSession* session);
    // A new open: its ends and failures are posted with this id once it has
    // started; what arrived before is forgotten.
    void beginOpen(WPARAM openId);
    // True when one of the arrivals has come, at the latest after milliseconds.
    // The user's input cuts the wait short (see SentMessageWait.h).
    bool waitFor(unsigned arrivals, DWORD milliseconds);
    // The same on a thread without windows, which nothing cuts short.
    bool waitQuietly(unsigned arrivals, DWORD milliseconds);
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
    bool wait(unsigned arrivals, DWORD milliseconds, bool handlingMessages);
    void note(IMFMediaEvent* event, MediaEventType type, HRESULT eventStatus);
    void arrive(Arrival arrival, HRESULT eventStatus);

    CRITICAL_SECTION lock;  // guards everything below
    HANDLE changed;         // set at every arrival
    unsigned arrived;
    HRESULT statuses[kinds];
    HWND window;            // null once detached
    UINT message;
    WPARAM openId;
    bool openStarted;  // the ends that arrive belong to the current open
};
