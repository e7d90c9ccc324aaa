#include "playback/foundation/MediaFoundation.h"

#include <mfapi.h>

#include <cstring>

#include "playback/foundation/MediaFoundationCalls.h"

static_assert(MF_VERSION == 0x20070, "Media Foundation code is built for Windows 7 (WINVER 0x0601)");

namespace {

enum Look : LONG { notLooked, looking, present, missing };

MediaFoundationCalls loaded;
volatile LONG look = notLooked;
volatile LONG refusedForTests = 0;

template <typename Function>
bool find(HMODULE module, const char* name, Function& function) {
    function = module ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)))
                      : nullptr;
    return function != nullptr;
}

// From the system folder by its full path, never by bare name: the program's
// own folder is writable (its INI file is there), and a library of the same
// name put there would be found first. The library's own imports are looked
// for in the system folder too.
HMODULE loadSystemLibrary(const char* name) {
    char path[MAX_PATH];
    const UINT length = GetSystemDirectoryA(path, MAX_PATH);
    if (length == 0 || length + 1 + strlen(name) >= MAX_PATH) return nullptr;
    path[length] = '\\';
    strcpy(path + length + 1, name);
    return LoadLibraryExA(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

// The libraries stay loaded: Media Foundation's own threads may outlive any
// one player. Vista has the same calls but refuses Windows 7's version; that
// is asked before the session library is loaded at all.
bool load() {
    HMODULE platform = loadSystemLibrary("mfplat.dll");
    bool found = find(platform, "MFStartup", loaded.startup);
    found = find(platform, "MFShutdown", loaded.shutdown) && found;
    found = find(platform, "MFCreateSourceResolver", loaded.createSourceResolver) && found;
    if (!found || FAILED(loaded.startup(MF_VERSION, MFSTARTUP_NOSOCKET))) return false;
    loaded.shutdown();

    HMODULE session = loadSystemLibrary("mf.dll");
    HMODULE com = loadSystemLibrary("ole32.dll");
    found = find(session, "MFCreateMediaSession", loaded.createMediaSession);
    found = find(session, "MFCreateTopology", loaded.createTopology) && found;
    found = find(session, "MFCreateTopologyNode", loaded.createTopologyNode) && found;
    found = find(session, "MFCreateAudioRendererActivate", loaded.createAudioRendererActivate) && found;
    found = find(session, "MFCreateVideoRendererActivate", loaded.createVideoRendererActivate) && found;
    found = find(session, "MFGetService", loaded.getService) && found;
    found = find(com, "CoInitializeEx", loaded.coInitializeEx) && found;
    return find(com, "CoUninitialize", loaded.coUninitialize) && found;
}

}  // namespace

bool MediaFoundation::available() {
    if (refusedForTests) return false;
    for (;;) {
        LONG seen = InterlockedCompareExchange(&look, looking, notLooked);
        if (seen == notLooked) {
            InterlockedExchange(&look, load() ? present : missing);
            continue;
        }
        if (seen != looking) return seen == present;
        Sleep(1);  // another thread is loading them
    }
}

const MediaFoundationCalls* MediaFoundation::calls() {
    return available() ? &loaded : nullptr;
}

bool MediaFoundation::hasSourceFor(const char* extension) {
    if (!available()) return false;
    char name[128] = "SOFTWARE\\Microsoft\\Windows Media Foundation\\ByteStreamHandlers\\";
    if (strlen(name) + strlen(extension) >= sizeof name) return false;
    strcat(name, extension);
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, name, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return false;
    // Each handler is a value named by its class.
    DWORD handlers = 0;
    const LONG result = RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &handlers, nullptr,
                                         nullptr, nullptr, nullptr);
    RegCloseKey(key);
    return result == ERROR_SUCCESS && handlers > 0;
}

bool MediaFoundation::librariesLoaded() {
    return InterlockedCompareExchange(&look, notLooked, notLooked) == present;
}

void MediaFoundation::refuse(bool refused) {
    InterlockedExchange(&refusedForTests, refused ? 1 : 0);
}
