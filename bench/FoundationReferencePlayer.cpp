// The least a program needs to play the saver's MP4 files, for comparison: a
// topmost window over the whole virtual screen into which Media Foundation's
// media session and enhanced video renderer play the clips given on the
// command line, one after another, without end. Each switch is a close of
// the session and the open of a new one; nothing else. Ends on WM_CLOSE or
// a key.
//
// It copes with Wine 8 the simple ways the saver does: the picture stream is
// given NV12 as its current type, every other stream (sound included: these
// machines have no sound device) is deselected, and since Wine's renderer
// may lock up when the clock stops on its own at the end, the picture is
// paused a moment before the end and the next clip follows once it settled.
#include <windows.h>
#include <mfapi.h>
#include <mfidl.h>
#include <mferror.h>

#include <string>
#include <vector>

#include "ReferenceWindow.h"

namespace {

const char windowClass[] = "CinevaneBenchFoundationReference";
const UINT sessionEvent = WM_APP + 1;  // wParam the event type, lParam its status
const UINT_PTR clockTimer = 1;
const UINT clockMilliseconds = 50;
const LONGLONG haltBeforeEnd = 300 * 10000;  // in 100 ns
const DWORD settleMilliseconds = 250;
const DWORD closeDeadline = 3000;

std::vector<std::wstring> clips;
size_t clipIndex = 0;
HWND window = nullptr;
HANDLE closed = nullptr;
IMFMediaSession* session = nullptr;
IMFMediaSource* source = nullptr;
IMFPresentationClock* clock = nullptr;
UINT64 duration = 0;
DWORD pausedAt = 0;  // 0: playing

template <typename T>
void release(T*& object) {
    if (object) object->Release();
    object = nullptr;
}

// Takes the session's events on Media Foundation's threads and hands them
// to the window's thread; the close is told by an event, since the window's
// thread waits for it.
class SessionEvents : public IMFAsyncCallback {
public:
    STDMETHODIMP QueryInterface(REFIID id, void** object) override {
        if (id != __uuidof(IUnknown) && id != __uuidof(IMFAsyncCallback)) {
            *object = nullptr;
            return E_NOINTERFACE;
        }
        *object = static_cast<IMFAsyncCallback*>(this);
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }  // one static object
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP GetParameters(DWORD*, DWORD*) override { return E_NOTIMPL; }
    STDMETHODIMP Invoke(IMFAsyncResult* result) override {
        IUnknown* state = nullptr;
        IMFMediaEventGenerator* generator = nullptr;
        IMFMediaEvent* event = nullptr;
        if (SUCCEEDED(result->GetState(&state)) &&
            SUCCEEDED(state->QueryInterface(__uuidof(IMFMediaEventGenerator), reinterpret_cast<void**>(&generator))) &&
            SUCCEEDED(generator->EndGetEvent(result, &event))) {
            MediaEventType type = MEUnknown;
            HRESULT status = S_OK;
            event->GetType(&type);
            event->GetStatus(&status);
            if (type == MESessionClosed) {
                SetEvent(closed);
            } else {
                PostMessageA(window, sessionEvent, type, status);
                generator->BeginGetEvent(this, state);
            }
        }
        release(event);
        release(generator);
        release(state);
        return S_OK;
    }
};
SessionEvents events;

// The first picture stream into the window's renderer, as NV12 where the
// source offers it; every other stream deselected.
HRESULT buildTopology(IMFPresentationDescriptor* presentation, IMFTopology** topology) {
    HRESULT hr = MFCreateTopology(topology);
    DWORD count = 0;
    if (SUCCEEDED(hr)) hr = presentation->GetStreamDescriptorCount(&count);
    bool video = false;
    for (DWORD i = 0; SUCCEEDED(hr) && i < count; ++i) {
        BOOL selected = FALSE;
        IMFStreamDescriptor* stream = nullptr;
        IMFMediaTypeHandler* handler = nullptr;
        GUID major = GUID_NULL;
        hr = presentation->GetStreamDescriptorByIndex(i, &selected, &stream);
        if (SUCCEEDED(hr)) hr = stream->GetMediaTypeHandler(&handler);
        if (SUCCEEDED(hr)) hr = handler->GetMajorType(&major);
        if (SUCCEEDED(hr) && selected && major == MFMediaType_Video && !video) {
            video = true;
            DWORD types = 0;
            handler->GetMediaTypeCount(&types);
            for (DWORD t = 0; t < types; ++t) {
                IMFMediaType* type = nullptr;
                GUID format = GUID_NULL;
                if (SUCCEEDED(handler->GetMediaTypeByIndex(t, &type)) &&
                    SUCCEEDED(type->GetGUID(MF_MT_SUBTYPE, &format)) && format == MFVideoFormat_NV12) {
                    handler->SetCurrentMediaType(type);
                    t = types;
                }
                release(type);
            }
            IMFActivate* sink = nullptr;
            IMFTopologyNode* from = nullptr;
            IMFTopologyNode* to = nullptr;
            hr = MFCreateVideoRendererActivate(window, &sink);
            if (SUCCEEDED(hr)) hr = MFCreateTopologyNode(MF_TOPOLOGY_SOURCESTREAM_NODE, &from);
            if (SUCCEEDED(hr)) hr = from->SetUnknown(MF_TOPONODE_SOURCE, source);
            if (SUCCEEDED(hr)) hr = from->SetUnknown(MF_TOPONODE_PRESENTATION_DESCRIPTOR, presentation);
            if (SUCCEEDED(hr)) hr = from->SetUnknown(MF_TOPONODE_STREAM_DESCRIPTOR, stream);
            if (SUCCEEDED(hr)) hr = (*topology)->AddNode(from);
            if (SUCCEEDED(hr)) hr = MFCreateTopologyNode(MF_TOPOLOGY_OUTPUT_NODE, &to);
            if (SUCCEEDED(hr)) hr = to->SetObject(sink);
            if (SUCCEEDED(hr)) hr = (*topology)->AddNode(to);
            if (SUCCEEDED(hr)) hr = from->ConnectOutput(0, to, 0);
            release(to);
            release(from);
            release(sink);
        } else if (SUCCEEDED(hr)) {
            presentation->DeselectStream(i);
        }
        release(handler);
        release(stream);
    }
    return hr;
}

// Opens the clip and starts it; the start waits in the session's queue
// until the topology is resolved.
bool playClip(const std::wstring& path) {
    IMFSourceResolver* resolver = nullptr;
    IUnknown* object = nullptr;
    IMFPresentationDescriptor* presentation = nullptr;
    IMFTopology* topology = nullptr;
    IMFClock* anyClock = nullptr;
    MF_OBJECT_TYPE type = MF_OBJECT_INVALID;
    HRESULT hr = MFCreateMediaSession(nullptr, &session);
    if (SUCCEEDED(hr)) hr = session->BeginGetEvent(&events, session);
    if (SUCCEEDED(hr)) hr = MFCreateSourceResolver(&resolver);
    if (SUCCEEDED(hr)) hr = resolver->CreateObjectFromURL(path.c_str(), MF_RESOLUTION_MEDIASOURCE, nullptr, &type, &object);
    if (SUCCEEDED(hr)) hr = object->QueryInterface(__uuidof(IMFMediaSource), reinterpret_cast<void**>(&source));
    if (SUCCEEDED(hr)) hr = source->CreatePresentationDescriptor(&presentation);
    if (SUCCEEDED(hr)) presentation->GetUINT64(MF_PD_DURATION, &duration);
    if (SUCCEEDED(hr)) hr = buildTopology(presentation, &topology);
    if (SUCCEEDED(hr)) hr = session->SetTopology(0, topology);
    PROPVARIANT start;
    PropVariantInit(&start);
    if (SUCCEEDED(hr)) hr = session->Start(&GUID_NULL, &start);
    if (SUCCEEDED(hr)) hr = session->GetClock(&anyClock);
    if (SUCCEEDED(hr)) hr = anyClock->QueryInterface(__uuidof(IMFPresentationClock), reinterpret_cast<void**>(&clock));
    release(anyClock);
    release(topology);
    release(presentation);
    release(object);
    release(resolver);
    pausedAt = 0;
    if (SUCCEEDED(hr)) SetTimer(window, clockTimer, clockMilliseconds, nullptr);
    return SUCCEEDED(hr);
}

// A wait that lets the renderer's sent messages through.
bool waitFor(HANDLE event, DWORD milliseconds) {
    const DWORD begun = GetTickCount();
    for (;;) {
        const DWORD waited = GetTickCount() - begun;
        if (waited >= milliseconds) return false;
        DWORD result = MsgWaitForMultipleObjects(1, &event, FALSE, milliseconds - waited, QS_SENDMESSAGE);
        if (result == WAIT_OBJECT_0) return true;
        MSG message;
        PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}

// A session that never says it closed is stuck inside Wine's renderer: it is
// left as it is, since its Shutdown would wait for ever.
void closeClip() {
    KillTimer(window, clockTimer);
    release(clock);
    if (!session) return;
    ResetEvent(closed);
    const bool clean = SUCCEEDED(session->Close()) && waitFor(closed, closeDeadline);
    if (source) source->Shutdown();
    release(source);
    if (clean) {
        session->Shutdown();
        release(session);
    }
    session = nullptr;
}

void playNext() {
    closeClip();
    // Whatever the closed session said last is not about the next clip.
    MSG stale;
    while (PeekMessageA(&stale, window, sessionEvent, sessionEvent, PM_REMOVE)) {
    }
    clipIndex = (clipIndex + 1) % clips.size();
    if (!playClip(clips[clipIndex])) PostMessageA(window, WM_CLOSE, 0, 0);
}

void onClock() {
    if (pausedAt) {
        if (GetTickCount() - pausedAt >= settleMilliseconds) playNext();
        return;
    }
    MFTIME time = 0;
    if (clock && SUCCEEDED(clock->GetTime(&time)) && duration && time + haltBeforeEnd >= static_cast<LONGLONG>(duration)) {
        session->Pause();
        pausedAt = GetTickCount() | 1;
    }
}

LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case sessionEvent:
        if (wParam == MEEndOfPresentation || wParam == MESessionEnded || wParam == MEError) playNext();
        return 0;
    case WM_TIMER:
        if (wParam == clockTimer) onClock();
        return 0;
    case WM_DESTROY:
        closeClip();
        PostQuitMessage(0);
        return 0;
    }
    return referencewindow::defaultProcedure(hwnd, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    for (int i = 1; i < __argc; ++i) {
        wchar_t wide[MAX_PATH];
        if (MultiByteToWideChar(CP_ACP, 0, __argv[i], -1, wide, MAX_PATH)) clips.push_back(wide);
    }
    if (clips.empty()) return 2;
    closed = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    window = referencewindow::create(instance, windowClass, windowProc);
    if (!window || FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) ||
        FAILED(MFStartup(MF_VERSION, MFSTARTUP_NOSOCKET)) || !playClip(clips[0]))
        return 1;
    referencewindow::run();
    MFShutdown();
    CoUninitialize();
    return 0;
}
