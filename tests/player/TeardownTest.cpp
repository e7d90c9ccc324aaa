// The session's shutdown on a thread of its own: a shutdown that never
// returns (a renderer locked up) costs the caller its deadline, no more.
#include <gtest/gtest.h>

#include <mfidl.h>

#include "playback/foundation/MediaSessionTeardown.h"

namespace {

// A session whose Shutdown waits until the test lets it go; it tells when
// its last reference has gone.
class HeldSession final : public IMFMediaSession {
public:
    HANDLE letGo = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE released = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    ~HeldSession() {
        CloseHandle(letGo);
        CloseHandle(released);
    }
    STDMETHODIMP QueryInterface(REFIID, void** out) override {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return InterlockedIncrement(&refs); }
    STDMETHODIMP_(ULONG) Release() override {
        const LONG left = InterlockedDecrement(&refs);
        if (left == 0) SetEvent(released);
        return left;
    }
    STDMETHODIMP Shutdown() override {
        WaitForSingleObject(letGo, INFINITE);
        return S_OK;
    }
    STDMETHODIMP GetEvent(DWORD, IMFMediaEvent**) override { return E_NOTIMPL; }
    STDMETHODIMP BeginGetEvent(IMFAsyncCallback*, IUnknown*) override { return E_NOTIMPL; }
    STDMETHODIMP EndGetEvent(IMFAsyncResult*, IMFMediaEvent**) override { return E_NOTIMPL; }
    STDMETHODIMP QueueEvent(MediaEventType, REFGUID, HRESULT, const PROPVARIANT*) override { return E_NOTIMPL; }
    STDMETHODIMP SetTopology(DWORD, IMFTopology*) override { return E_NOTIMPL; }
    STDMETHODIMP ClearTopologies() override { return E_NOTIMPL; }
    STDMETHODIMP Start(const GUID*, const PROPVARIANT*) override { return E_NOTIMPL; }
    STDMETHODIMP Pause() override { return E_NOTIMPL; }
    STDMETHODIMP Stop() override { return E_NOTIMPL; }
    STDMETHODIMP Close() override { return E_NOTIMPL; }
    STDMETHODIMP GetClock(IMFClock**) override { return E_NOTIMPL; }
    STDMETHODIMP GetSessionCapabilities(DWORD*) override { return E_NOTIMPL; }
    STDMETHODIMP GetFullTopology(DWORD, TOPOID, IMFTopology**) override { return E_NOTIMPL; }

private:
    LONG refs = 1;
};

}  // namespace

TEST(SessionTeardown, AShutdownThatNeverReturnsCostsTheDeadlineAndIsLeftToItsThread) {
    static const struct {
        int line;
        bool returns;
    } rows[] = {{__LINE__, true}, {__LINE__, false}};
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << "row at line " << row.line);
        HeldSession* session = new HeldSession;
        if (row.returns) SetEvent(session->letGo);
        session->AddRef();  // the test's own, so that it may look after the teardown let go
        // Back while the session's Shutdown still waits: the caller is not held.
        EXPECT_EQ(row.returns, mediaSessionTeardown::shutDown(session, nullptr, nullptr, 1000));
        EXPECT_EQ(!row.returns, mediaSessionTeardown::anyLeftBehind());
        // Once the shutdown returns, its thread lets the session go.
        SetEvent(session->letGo);
        session->Release();
        EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(session->released, 30000));
        delete session;
    }
}
