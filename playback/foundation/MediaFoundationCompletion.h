#pragma once
#include <windows.h>

#include "playback/foundation/MediaFoundationCallback.h"

// The end of one asynchronous Media Foundation call, waited for with a
// deadline: Media Foundation invokes it on a thread of its own, and the
// caller's thread takes the result. The result holds the callback, so the
// completion hands it over rather than keep it; a completion that comes
// after the caller gave up goes to lateResult(), which may undo the call.
class MediaFoundationCompletion : public MediaFoundationCallback {
public:
    STDMETHODIMP Invoke(IMFAsyncResult* result) override;

    // The call's result once it has completed within the time (with the
    // reference the completion held), else null: the caller has then given
    // up, and a later result goes to lateResult(). Once only.
    IMFAsyncResult* wait(DWORD milliseconds);

protected:
    // Made with one reference, for the caller; takes over the manual-reset event done.
    explicit MediaFoundationCompletion(HANDLE done);
    ~MediaFoundationCompletion() override;
    // On Media Foundation's thread; must not throw.
    virtual void lateResult(IMFAsyncResult*) {}

private:
    CRITICAL_SECTION lock;     // guards result and givenUp
    HANDLE done;               // set by Invoke; closed by wait()
    IMFAsyncResult* result;    // until the caller takes it
    bool givenUp;
};
