#include "playback/ForwardingVideoView.h"

#include "base/InputMessages.h"
#include "playback/ShowMessages.h"

LRESULT ForwardingVideoView::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (isShowEndingInput(message)) {
        // The parent's closing rules decide; posted, so they run after this returns.
        PostMessageA(GetParent(hwnd), message, wParam, lParam);
        return 0;
    }
    switch (message) {
    case MM_MCINOTIFY:
        // Stopped, superseded and failed plays are dropped.
        if (device.takeEndOfPlay(wParam)) PostMessageA(GetParent(hwnd), WM_SHOW_NEXT, 0, 0);
        return 0;
    default:
        return VideoView::windowProc(hwnd, message, wParam, lParam);
    }
}
