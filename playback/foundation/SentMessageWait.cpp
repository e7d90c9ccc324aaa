#include "playback/foundation/SentMessageWait.h"

#include <cstdlib>

namespace {

// As far as the pointer may move before a show ends.
const LONG pointerSlack = 4;
const DWORD inputLookMilliseconds = 50;
POINT pointerAtStart;

bool pressWaiting() {
    static const UINT presses[][2] = {
        {WM_KEYDOWN, WM_KEYDOWN}, {WM_SYSKEYDOWN, WM_SYSKEYDOWN}, {WM_LBUTTONDOWN, WM_LBUTTONDOWN},
        {WM_RBUTTONDOWN, WM_RBUTTONDOWN}, {WM_MBUTTONDOWN, WM_MBUTTONDOWN}};
    MSG message;
    for (const auto& range : presses)
        if (PeekMessageA(&message, nullptr, range[0], range[1], PM_NOREMOVE)) return true;
    return false;
}

}  // namespace

bool userCutWait() {
    POINT now;
    const bool moved = GetCursorPos(&now) && (labs(now.x - pointerAtStart.x) > pointerSlack ||
                                              labs(now.y - pointerAtStart.y) > pointerSlack);
    return moved || pressWaiting();
}

bool waitHandlingSentMessages(HANDLE event, DWORD milliseconds) {
    if (!GetCursorPos(&pointerAtStart)) pointerAtStart.x = pointerAtStart.y = 0;
    const DWORD start = GetTickCount();
    for (;;) {
        if (userCutWait()) return false;
        const DWORD waited = GetTickCount() - start;
        if (waited >= milliseconds) return false;
        // Short slices, so that the user's input is seen within one.
        const DWORD slice = milliseconds - waited < inputLookMilliseconds ? milliseconds - waited : inputLookMilliseconds;
        const DWORD count = event ? 1 : 0;
        const DWORD result = MsgWaitForMultipleObjects(count, &event, FALSE, slice, QS_SENDMESSAGE);
        if (count == 1 && result == WAIT_OBJECT_0) return true;
        if (result == WAIT_TIMEOUT) continue;
        if (result != WAIT_OBJECT_0 + count) return false;
        // Peeking delivers the sent messages; nothing posted is taken.
        MSG message;
        PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}
