#include "playback/show/ForwardingVideoView.h"

#include "base/InputMessages.h"
#include "playback/show/ShowMessages.h"

LRESULT ForwardingVideoView::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (isShowEndingInput(message)) {
        // The parent's closing rules decide; posted, so they run after this returns.
        PostMessageA(GetParent(hwnd), message, wParam, lParam);
        return 0;
    }
    switch (message) {
    case MM_MCINOTIFY:
        // Stopped, superseded and failed plays are dropped, and so are ends
        // of devices closed before; the open's number goes with the end, so
        // that the show can tell it from the end of a file opened later.
        if (device.takeEndOfPlay(wParam, static_cast<MCIDEVICEID>(lParam)))
            PostMessageA(GetParent(hwnd), WM_SHOW_NEXT, opens, 0);
        return 0;
    case MediaFoundationPlayer::eventMessage:
        if (player.takeEvent(wParam, lParam)) PostMessageA(GetParent(hwnd), WM_SHOW_NEXT, opens, 0);
        return 0;
    default:
        return VideoView::windowProc(hwnd, message, wParam, lParam);
    }
}
