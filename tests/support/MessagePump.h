#pragma once
#include <windows.h>

#include <functional>

// Waiting for window messages in tests: messages are dispatched until the
// condition holds or the deadline passes. Nothing sleeps a fixed time.
namespace pump {

inline void dispatchPending() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

// True when done() became true before timeoutMs passed.
inline bool until(const std::function<bool()>& done, DWORD timeoutMs = 20000) {
    DWORD start = GetTickCount();
    for (;;) {
        dispatchPending();
        if (done()) return true;
        DWORD waited = GetTickCount() - start;
        if (waited >= timeoutMs) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, timeoutMs - waited < 50 ? timeoutMs - waited : 50,
                                  QS_ALLINPUT);
    }
}

// Dispatches everything already queued, including what posted messages post
// in turn, by round-tripping a marker message through the thread's queue.
inline void drain(HWND window) {
    const UINT marker = RegisterWindowMessageA("cinevane-test-drain");
    PostMessageA(window, marker, 0, 0);
    MSG msg;
    DWORD start = GetTickCount();
    while (GetTickCount() - start < 20000) {
        if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
            continue;
        }
        if (msg.message == marker && msg.hwnd == window) return;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

}  // namespace pump
