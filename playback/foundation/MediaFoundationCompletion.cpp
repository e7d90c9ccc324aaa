#include "playback/foundation/MediaFoundationCompletion.h"

#include "base/Exception.h"
#include "playback/foundation/SentMessageWait.h"

MediaFoundationCompletion::MediaFoundationCompletion(HANDLE done)
    : done(done), result(nullptr), givenUp(false) {
    InitializeCriticalSection(&lock);
}

MediaFoundationCompletion::~MediaFoundationCompletion() {
    if (result) result->Release();
    CloseHandle(done);
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
        }
        LeaveCriticalSection(&lock);
        if (late) {
            lateResult(completed);
        } else {
            SetEvent(done);
        }
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
    LeaveCriticalSection(&lock);
    return taken;
}
