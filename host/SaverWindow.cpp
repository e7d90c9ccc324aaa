#include "host/SaverWindow.h"

#include "base/Exception.h"
#include "base/InputMessages.h"
#include "base/OwnedHandles.h"
#include "host/ExitDeadline.h"
#include "host/HangWatch.h"
#include "host/HostState.h"
#include "host/PasswordSupport.h"
#include "playback/show/ShowController.h"
#include "resources/ResourceIds.h"

namespace {

const char SAVER_CLASS[] = "WindowsScreenSaverClass";
const char FULL_SCREEN_TITLE[] = "Screen Saver";
const char PREVIEW_TITLE[] = "Preview";

struct WindowPlacement {
    DWORD exStyle;
    DWORD style;
    const char* title;
    RECT bounds;  // left, top, width, height
};

WindowPlacement fullScreenPlacement() {
    WindowPlacement placement = {WS_EX_TOPMOST, WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN,
                                 FULL_SCREEN_TITLE, {}};
    RECT& r = placement.bounds;
    r.left = GetSystemMetrics(SM_XVIRTUALSCREEN);
    r.top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    r.right = GetSystemMetrics(SM_CXVIRTUALSCREEN);
    r.bottom = GetSystemMetrics(SM_CYVIRTUALSCREEN);
    if (r.right == 0 || r.bottom == 0) {
        // Systems without the virtual-screen metrics (Windows 95) answer 0.
        WindowDc screen(nullptr);
        RECT clip = {};
        GetClipBox(screen.handle(), &clip);
        r = {clip.left, clip.top, clip.right - clip.left, clip.bottom - clip.top};
    }
    return placement;
}

WindowPlacement previewPlacement(HWND parent) {
    RECT client = {};
    GetClientRect(parent, &client);
    return {0, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, PREVIEW_TITLE, {0, 0, client.right, client.bottom}};
}

bool anotherShowRuns() {
    HWND running = FindWindowA(SAVER_CLASS, FULL_SCREEN_TITLE);
    if (!running || !IsWindow(running)) return false;
    SetForegroundWindow(running);
    return true;
}

void detachInputMethod(HWND window) {
    HostState& host = hostState();
    host.imeLibrary = LoadLibraryA("IMM32.DLL");
    if (!host.imeLibrary) return;
    host.associateContext = reinterpret_cast<AssociateContextProc>(
        reinterpret_cast<void*>(GetProcAddress(host.imeLibrary, "ImmAssociateContext")));
    if (host.associateContext) host.savedInputContext = host.associateContext(window, nullptr);
}

void restoreInputMethod(HWND window) {
    HostState& host = hostState();
    if (host.imeLibrary && host.associateContext && host.savedInputContext)
        host.associateContext(window, host.savedInputContext);
}


// Help belongs to the display settings that host the preview. WM_HELP points
// to a HELPINFO that lives only while the message is handled, so it is sent
// (the system copies it into the parent's process); a posted pointer would
// dangle and is refused across processes. The context menu's point is
// plain data and is posted.
void forwardToParent(HWND window, UINT message, LPARAM lParam) {
    HWND parent = GetParent(window);
    if (!parent || !IsWindow(parent)) return;
    WPARAM parentHandle = reinterpret_cast<WPARAM>(parent);
    if (message == WM_HELP) {
        DWORD_PTR ignored;
        SendMessageTimeoutA(parent, message, parentHandle, lParam, SMTO_ABORTIFHUNG, 5000, &ignored);
    } else {
        PostMessageA(parent, message, parentHandle, lParam);
    }
}

// The task-switch and screen-saver commands would leave a full-screen show.
bool isIgnoredCommand(WPARAM command) {
    switch (command & 0xFFF0) {
        case SC_NEXTWINDOW:
        case SC_PREVWINDOW:
        case SC_SCREENSAVE:
            return true;
        default:
            return false;
    }
}

LRESULT handleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    HostState& host = hostState();
    switch (message) {
        case WM_CREATE:
            detachInputMethod(window);
            GetCursorPos(&host.referenceCursor);
            if (!host.isPreview) SetCursor(nullptr);
            break;
        case WM_DESTROY:
            // DestroyWindow has taken the window off the screen: from here
            // the end of runSaver's show is bounded, whatever its media
            // drivers do (a window of this class made elsewhere, as in a
            // test, ends no process).
            if (window == host.saverWindow && !host.isPreview) ExitDeadline::arm();
            restoreInputMethod(window);
            PostQuitMessage(0);
            break;
        case WM_SETTEXT:
            return 0;  // the title never changes
        case WM_PAINT:
            if (host.isClosing) return DefWindowProcA(window, message, wParam, lParam);
            if (!host.isPreview) SetCursor(nullptr);
            break;
        case WM_HELP:
        case WM_CONTEXTMENU:
            if (host.isPreview) {
                forwardToParent(window, message, lParam);
                return 1;
            }
            break;
        case WM_SYSCOMMAND:
            if (!host.isPreview && isIgnoredCommand(wParam)) return 0;
            break;
        case WM_TIMER:
            if (host.isClosing) return 0;
            Sleep(0);
            break;
        default:
            if (isShowEndingInput(message) && host.isClosing)
                return DefWindowProcA(window, message, wParam, lParam);
            break;
    }
    return ShowController(window, message, wParam, lParam);
}

}  // namespace

LRESULT CALLBACK hostWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    try {
        return handleMessage(window, message, wParam, lParam);
    } catch (Exception* e) {
        // Nothing may unwind through the system's frames. A window whose
        // creation failed is refused; anything else is dropped.
        dispose(e);
        return message == WM_CREATE ? -1 : 0;
    }
}

int runSaver(HWND parent) {
    HostState& host = hostState();
    WNDCLASSA saverClass = {};
    saverClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS | CS_OWNDC;
    saverClass.lpfnWndProc = hostWindowProc;
    saverClass.hInstance = host.moduleHandle;
    saverClass.hIcon = LoadIconA(host.moduleHandle, MAKEINTRESOURCEA(IDI_SAVER_CLASS));
    saverClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    saverClass.lpszClassName = SAVER_CLASS;

    WindowPlacement placement;
    if (parent) {
        placement = previewPlacement(parent);
        host.isPreview = true;
    } else {
        placement = fullScreenPlacement();
        if (anotherShowRuns()) return 0;
        host.acLineStatus = 0xFF;
        SYSTEM_POWER_STATUS power;
        if (GetSystemPowerStatus(&power)) host.acLineStatus = power.ACLineStatus;
        loadPasswordSettings();
    }
    host.autoPlayMessage = host.isWin9x ? RegisterWindowMessageA("QueryCancelAutoPlay") : 0;

    if (RegisterClassA(&saverClass)) {
        const RECT& r = placement.bounds;
        host.saverWindow = CreateWindowExA(placement.exStyle, SAVER_CLASS, placement.title, placement.style,
                                           r.left, r.top, r.right, r.bottom, parent, nullptr,
                                           host.moduleHandle, nullptr);
    }
    int exitCode = 0;
    if (host.saverWindow) {
        if (!host.isPreview) {
            SetForegroundWindow(host.saverWindow);
            HangWatch::start(host.saverWindow);
        }
        MSG message;
        BOOL got;
        while ((got = GetMessageA(&message, nullptr, 0, 0)) > 0) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        if (got == 0) exitCode = static_cast<int>(message.wParam);
    }
    unloadPassword();
    return exitCode;
}
