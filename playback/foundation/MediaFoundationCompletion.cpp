#include "playback/foundation/MediaFoundationCompletion.h"

#include <new>

#include "base/Exception.h"
#include "playback/foundation/SentMessageWait.h"

MediaFoundationCompletion* MediaFoundationCompletion::make() {
    HANDLE done = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (!done) return nullptr;
    MediaFoundationCompletion* completion = new (std::nothrow) MediaFoundationCompletion(done);
    if (!completion) CloseHandle(done);
    return completion;
}

MediaFoundationCompletion::MediaFoundationCompletion(HANDLE done)
    : done(done), result(nullptr) {}

MediaFoundationCompletion::~MediaFoundationCompletion() {
    if (result) result->Release();
    CloseHandle(done);
}

// Runs on a thread of Media Foundation's; only keeps the result.
STDMETHODIMP MediaFoundationCompletion::Invoke(IMFAsyncResult* completed) {
    try {
        if (!completed || result) return S_OK;
        completed->AddRef();
        result = completed;
        SetEvent(done);
    } catch (Exception* e) {
        dispose(e);
    }
    return S_OK;
}

IMFAsyncResult* MediaFoundationCompletion::wait(DWORD milliseconds) {
    if (!waitHandlingSentMessages(done, milliseconds)) return nullptr;
    result->AddRef();
    return result;
}
