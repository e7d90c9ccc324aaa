// The least a program needs to do what the saver does, for comparison: a
// topmost window over the whole virtual screen that plays the clips given on
// its command line through MCI, one after another, without end. Each switch
// is a close, an open and a play; nothing else. Ends on WM_CLOSE or a key.
// An argument that ends in a backslash is a folder: its wmv, avi, mpg and
// mpeg files are looked up and kept, as any program that plays a folder
// must, and the first one found is played.
#include <windows.h>
#include <mmsystem.h>
#include <digitalv.h>

#include <string>
#include <vector>

#include "ReferenceWindow.h"

namespace {

const char windowClass[] = "CinevaneBenchReference";
std::vector<std::string> clips;
size_t clipIndex = 0;
MCIDEVICEID device = 0;
RECT client;

void closeClip() {
    if (device) mciSendCommandA(device, MCI_CLOSE, MCI_WAIT, 0);
    device = 0;
}

bool playClip(HWND window, const std::string& path) {
    MCI_OPEN_PARMSA open = {};
    open.lpstrElementName = path.c_str();
    if (mciSendCommandA(0, MCI_OPEN, MCI_WAIT | MCI_OPEN_ELEMENT, reinterpret_cast<DWORD_PTR>(&open)))
        return false;
    device = open.wDeviceID;

    MCI_DGV_WINDOW_PARMSA bind = {};
    bind.hWnd = window;
    mciSendCommandA(device, MCI_WINDOW, MCI_WAIT | MCI_DGV_WINDOW_HWND, reinterpret_cast<DWORD_PTR>(&bind));
    MCI_DGV_RECT_PARMS where = {};
    where.rc.right = client.right;
    where.rc.bottom = client.bottom;
    mciSendCommandA(device, MCI_PUT, MCI_WAIT | MCI_DGV_RECT | MCI_DGV_PUT_DESTINATION,
                    reinterpret_cast<DWORD_PTR>(&where));
    MCI_PLAY_PARMS play = {};
    play.dwCallback = reinterpret_cast<DWORD_PTR>(window);
    return mciSendCommandA(device, MCI_PLAY, MCI_NOTIFY, reinterpret_cast<DWORD_PTR>(&play)) == 0;
}

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case MM_MCINOTIFY:
        if (wParam == MCI_NOTIFY_SUCCESSFUL) {
            closeClip();
            clipIndex = (clipIndex + 1) % clips.size();
            if (!playClip(window, clips[clipIndex])) PostMessageA(window, WM_CLOSE, 0, 0);
        }
        return 0;
    case WM_DESTROY:
        closeClip();
        PostQuitMessage(0);
        return 0;
    }
    return referencewindow::defaultProcedure(window, message, wParam, lParam);
}

// The folder's video files in the order of the extensions, each found name
// kept as a full path.
void addFolder(const std::string& folder) {
    static const char* const extensions[] = {"wmv", "avi", "mpg", "mpeg"};
    for (const char* extension : extensions) {
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA((folder + "*." + extension).c_str(), &found);
        if (search == INVALID_HANDLE_VALUE) continue;
        do {
            clips.push_back(folder + found.cFileName);
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    for (int i = 1; i < __argc; ++i) {
        std::string argument = __argv[i];
        if (!argument.empty() && argument.back() == '\\') addFolder(argument);
        else clips.push_back(argument);
    }
    if (clips.empty()) return 2;

    HWND window = referencewindow::create(instance, windowClass, windowProc);
    if (!window) return 1;
    GetClientRect(window, &client);
    if (!playClip(window, clips[0])) return 1;
    referencewindow::run();
    return 0;
}
