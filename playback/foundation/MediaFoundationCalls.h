#pragma once
#include <windows.h>
#include <mfidl.h>

// The Media Foundation and COM calls the player makes, looked up at run
// time so that the program's imports stay those of Windows 98.
struct MediaFoundationCalls {
    HRESULT(WINAPI* startup)(ULONG version, DWORD flags);
    HRESULT(WINAPI* shutdown)();
    HRESULT(WINAPI* createSourceResolver)(IMFSourceResolver** resolver);
    HRESULT(WINAPI* createMediaSession)(IMFAttributes* configuration, IMFMediaSession** session);
    HRESULT(WINAPI* createTopology)(IMFTopology** topology);
    HRESULT(WINAPI* createTopologyNode)(MF_TOPOLOGY_TYPE type, IMFTopologyNode** node);
    HRESULT(WINAPI* createAudioRendererActivate)(IMFActivate** activate);
    HRESULT(WINAPI* createVideoRendererActivate)(HWND window, IMFActivate** activate);
    HRESULT(WINAPI* getService)(IUnknown* object, REFGUID service, REFIID id, void** result);
    HRESULT(WINAPI* coInitializeEx)(void* reserved, DWORD model);
    void(WINAPI* coUninitialize)();
};
