#include "playback/foundation/MediaFoundationCallback.h"

MediaFoundationCallback::MediaFoundationCallback() : references(1) {}

MediaFoundationCallback::~MediaFoundationCallback() {}

STDMETHODIMP MediaFoundationCallback::QueryInterface(REFIID id, void** object) {
    if (!object) return E_POINTER;
    if (id == __uuidof(IUnknown) || id == __uuidof(IMFAsyncCallback)) {
        *object = static_cast<IMFAsyncCallback*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) MediaFoundationCallback::AddRef() {
    return InterlockedIncrement(&references);
}

STDMETHODIMP_(ULONG) MediaFoundationCallback::Release() {
    const LONG left = InterlockedDecrement(&references);
    if (left == 0) delete this;
    return left;
}

STDMETHODIMP MediaFoundationCallback::GetParameters(DWORD*, DWORD*) {
    return E_NOTIMPL;  // the default work queue
}
