#pragma once
#include <windows.h>

#include "playback/foundation/MediaFoundationCallback.h"

// The end of one asynchronous Media Foundation call, waited for with a
// deadline: Media Foundation invokes it on a thread of its own, and the
// caller's thread takes the result.
class MediaFoundationCompletion final : public MediaFoundationCallback {
public:
    // With one reference, for the caller; null when memory or an event is lacking.
    static MediaFoundationCompletion* make();

    STDMETHODIMP Invoke(IMFAsyncResult* result) override;

    // The call's result once it has completed within the time (with a
    // reference for the caller), else null.
    IMFAsyncResult* wait(DWORD milliseconds);

private:
    explicit MediaFoundationCompletion(HANDLE done);
    ~MediaFoundationCompletion() override;

    HANDLE done;                      // set by Invoke
    IMFAsyncResult* volatile result;  // written once, before done is set
};
