#include "host/HangWatch.h"

#include "host/ExitDeadline.h"
#include "host/HostState.h"

namespace {

typedef BOOL(WINAPI* LastInputProc)(PLASTINPUTINFO);

// The tick count of the last input, where the system tells it (Windows 2000
// and later); 0 elsewhere, where only the pointer is looked at.
DWORD lastInputTick() {
    static const LastInputProc lastInput = reinterpret_cast<LastInputProc>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "GetLastInputInfo")));
    LASTINPUTINFO info = {sizeof info, 0};
    return lastInput && lastInput(&info) ? info.dwTime : 0;
}

bool pointerMovedFrom(const POINT& from) {
    POINT now;
    if (!GetCursorPos(&now)) return false;
    const LONG threshold = static_cast<LONG>(hostState().mouseThreshold);
    return now.x - from.x > threshold || from.x - now.x > threshold || now.y - from.y > threshold ||
           from.y - now.y > threshold;
}

}  // namespace

void HangWatch::start(HWND showWindow) {
    DWORD id = 0;  // Windows 98 needs somewhere to put it
    HANDLE thread = CreateThread(nullptr, 0, watch, showWindow, 0, &id);
    if (thread) CloseHandle(thread);
}

DWORD WINAPI HangWatch::watch(void* parameter) {
    const HWND window = static_cast<HWND>(parameter);
    DWORD inputTick = lastInputTick();
    POINT pointer = {0, 0};
    GetCursorPos(&pointer);
    DWORD answeredAt = GetTickCount();
    for (;;) {
        DWORD_PTR answer = 0;
        // A window that answers handles the input itself.
        if (SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_BLOCK, heldMilliseconds, &answer)) {
            inputTick = lastInputTick();
            GetCursorPos(&pointer);
            answeredAt = GetTickCount();
            Sleep(250);
            continue;
        }
        if (!IsWindow(window)) return 0;
        if (lastInputTick() != inputTick || pointerMovedFrom(pointer) ||
            GetTickCount() - answeredAt >= givenUpMilliseconds)
            ExitDeadline::endNow();
    }
}
