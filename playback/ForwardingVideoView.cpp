#include "playback/ForwardingVideoView.h"

#include "playback/ShowMessages.h"

LRESULT ForwardingVideoView::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        // The parent's closing rules decide; posted, so they run after this returns.
        PostMessageA(GetParent(hwnd), message, wParam, lParam);
        return 0;
    case MM_MCINOTIFY:
        // Stopped, superseded and failed plays are dropped.
        if (device.takeEndOfPlay(wParam)) PostMessageA(GetParent(hwnd), WM_SHOW_NEXT, 0, 0);
        return 0;
    default:
        return VideoView::windowProc(hwnd, message, wParam, lParam);
    }
}
