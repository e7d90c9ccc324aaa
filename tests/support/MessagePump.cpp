#include "support/MessagePump.h"

namespace pump {

namespace {

const DWORD LONGEST_NAP = 50;  // a wait that nothing wakes is cut short after this

void dispatch(MSG& message) {
    HWND root = message.hwnd ? GetAncestor(message.hwnd, GA_ROOT) : nullptr;
    char name[16] = {};
    if (root) GetClassNameA(root, name, sizeof name);
    if (lstrcmpA(name, "#32770") == 0 && IsDialogMessageA(root, &message)) return;
    TranslateMessage(&message);
    DispatchMessageA(&message);
}

// Waits for a message or the end of the remaining time, whichever comes first.
void nap(DWORD remaining) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, remaining < LONGEST_NAP ? remaining : LONGEST_NAP, QS_ALLINPUT);
}

// Dispatches messages until `stop` accepts one (which is then dropped) or the
// time is up; true when one was accepted.
template <typename Stop>
bool dispatchUntil(Stop stop, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        MSG message;
        if (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (stop(message)) return true;
            dispatch(message);
            continue;
        }
        const DWORD waited = GetTickCount() - start;
        if (waited >= timeoutMs) return false;
        nap(timeoutMs - waited);
    }
}

}  // namespace

void dispatchPending() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) dispatch(message);
}

bool until(const std::function<bool()>& done, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        dispatchPending();
        if (done()) return true;
        const DWORD waited = GetTickCount() - start;
        if (waited >= timeoutMs) return false;
        nap(timeoutMs - waited);
    }
}

void drain(HWND window) {
    const UINT marker = RegisterWindowMessageA("cinevane-test-drain");
    PostMessageA(window, marker, 0, 0);
    dispatchUntil([&](const MSG& message) { return message.message == marker && message.hwnd == window; },
                  DEADLINE);
}

// Posted messages overtake input, timer messages come after it: once a
// timer set now has fired, the input sent before has been dispatched. Twice,
// for what that input caused in turn.
void settleInput() {
    for (int round = 0; round < 2; ++round) {
        const UINT_PTR timer = SetTimer(nullptr, 0, 1, nullptr);
        dispatchUntil(
            [&](const MSG& message) {
                return message.hwnd == nullptr && message.message == WM_TIMER && message.wParam == timer;
            },
            DEADLINE);
        KillTimer(nullptr, timer);
    }
}

}  // namespace pump
