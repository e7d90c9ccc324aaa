#include "playback/foundation/MediaFoundationCompletion.h"

#include "base/Exception.h"
#include "playback/foundation/SentMessageWait.h"

MediaFoundationCompletion::MediaFoundationCompletion(HANDLE done)
    : done(done), result(nullptr), givenUp(false) {
    InitializeCriticalSection(&lock);
}

MediaFoundationCompletion::~MediaFoundationCompletion() {
    if (result) result->Release();
    if (done) CloseHandle(done);
    DeleteCriticalSection(&lock);
}

// Runs on a thread of Media Foundation's: keeps the result for the caller,
// or hands it to lateResult() when the caller has gone.
STDMETHODIMP MediaFoundationCompletion::Invoke(IMFAsyncResult* completed) {
    try {
        if (!completed) return S_OK;
        EnterCriticalSection(&lock);
        const bool late = givenUp;
        if (!late && !result) {
            completed->AddRef();
            result = completed;
            // Under the lock: the caller closes the event once it has waited.
            SetEvent(done);
        }
        LeaveCriticalSection(&lock);
        if (late) lateResult(completed);
    } catch (Exception* e) {
        dispose(e);
    }
    return S_OK;
}

IMFAsyncResult* MediaFoundationCompletion::wait(DWORD milliseconds) {
    waitHandlingSentMessages(done, milliseconds);
    EnterCriticalSection(&lock);
    IMFAsyncResult* taken = result;
    result = nullptr;
    givenUp = taken == nullptr;
    // Nothing sets it any more. Under Wine 10 Media Foundation keeps one
    // reference to the completion after the call has ended, so the object
    // never goes: closed here, its event is not left behind with it at
    // every open of a long show.
    CloseHandle(done);
    done = nullptr;
    LeaveCriticalSection(&lock);
    return taken;
}
