#include "playback/SentMessageWait.h"

bool waitHandlingSentMessages(HANDLE event, DWORD milliseconds) {
    const DWORD start = GetTickCount();
    for (;;) {
        const DWORD waited = GetTickCount() - start;
        const DWORD remaining = waited < milliseconds ? milliseconds - waited : 0;
        const DWORD count = event ? 1 : 0;
        const DWORD result = MsgWaitForMultipleObjects(count, &event, FALSE, remaining, QS_SENDMESSAGE);
        if (count == 1 && result == WAIT_OBJECT_0) return true;
        if (result != WAIT_OBJECT_0 + count) return false;
        // Peeking delivers the sent messages; nothing posted is taken.
        MSG message;
        PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}
