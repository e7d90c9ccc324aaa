#pragma once
#include <windows.h>
#include <mfobjects.h>

// The common part of the callbacks that Media Foundation invokes on threads
// of its own: reference counted across those threads and deleted with the
// last reference, so that a call ending after its caller gave up finds its
// callback still there. Each derived class writes Invoke, which must catch
// the program's exceptions.
class MediaFoundationCallback : public IMFAsyncCallback {
public:
    STDMETHODIMP QueryInterface(REFIID id, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    STDMETHODIMP GetParameters(DWORD* flags, DWORD* queue) override;

protected:
    MediaFoundationCallback();  // with one reference, for its maker
    virtual ~MediaFoundationCallback();

private:
    MediaFoundationCallback(const MediaFoundationCallback&) = delete;
    MediaFoundationCallback& operator=(const MediaFoundationCallback&) = delete;

    volatile LONG references;
};
