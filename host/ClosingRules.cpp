#include "host/ClosingRules.h"

#include "host/HostState.h"

namespace {

// A resume caused by a failed suspend does not count as the user's return.
const LPARAM RESUME_FROM_FAILURE = 1;  // PBTF_APMRESUMEFROMFAILURE
const WPARAM CRITICAL_RESUME = 3;      // PWR_CRITICALRESUME of WM_POWER
const DWORD RECHECK_DELAY = 200;       // milliseconds after a refused password

DWORD gap(LONG a, LONG b) {
    return a > b ? static_cast<DWORD>(a) - static_cast<DWORD>(b) : static_cast<DWORD>(b) - static_cast<DWORD>(a);
}

BYTE currentAcLineStatus() {
    SYSTEM_POWER_STATUS status;
    return GetSystemPowerStatus(&status) ? status.ACLineStatus : 0xFF;
}

// Whether a power broadcast ends the show.
bool powerEventCloses(WPARAM event, LPARAM flags) {
    switch (event) {
        case 0: case 1: case 2: case 3: case 4: case 5:  // suspend and standby
            return true;
        case 6: case 7: case 8: case 0x12:  // the resume events
            return !(flags & RESUME_FROM_FAILURE);
        case 0x0A: {  // PBT_APMPOWERSTATUSCHANGE: only a change of power source
            HostState& host = hostState();
            BYTE status = currentAcLineStatus();
            bool changed = status != host.acLineStatus;
            host.acLineStatus = status;
            return changed;
        }
        default:
            return true;
    }
}

// Whether the cursor has moved further than the threshold from the reference
// point; small moves add up because the reference stays until then.
bool cursorMovedAway() {
    HostState& host = hostState();
    POINT cursor;
    if (!GetCursorPos(&cursor)) return false;
    DWORD distance = gap(cursor.x, host.referenceCursor.x) + gap(cursor.y, host.referenceCursor.y);
    if (distance <= host.mouseThreshold) return false;
    host.referenceCursor = cursor;
    return true;
}

// Whether the message is one of the closing rules' reasons to end the show.
// WM_SETCURSOR is answered by the caller.
bool inputCloses(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
            return true;
        case WM_MOUSEMOVE:
            return cursorMovedAway();
        case WM_ACTIVATEAPP:
            return wParam == 0;
        case WM_POWER:
            return wParam == CRITICAL_RESUME;
        case WM_POWERBROADCAST:
            return powerEventCloses(wParam, lParam);
        case WM_SHOWWINDOW:
            if (wParam) SetCursor(nullptr);
            return false;
        default:
            return false;
    }
}

LRESULT finish(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    HostState& host = hostState();
    // The system asks the foreground window before playing an inserted disc
    // automatically; a non-zero answer cancels that while a password guards
    // the desktop.
    if (host.autoPlayMessage != 0 && message == host.autoPlayMessage) {
        PostMessageA(window, WM_CLOSE, 0, 0);
        return host.verifyPassword ? 1 : 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

LRESULT CALLBACK defaultSaverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    HostState& host = hostState();
    if (host.isPreview || host.isClosing) return finish(window, message, wParam, lParam);

    if (message == WM_CLOSE) {
        if (host.isWin9x && !verifyBeforeClose(window)) {
            GetCursorPos(&host.referenceCursor);
            return 0;
        }
        return finish(window, message, wParam, lParam);
    }
    if (message == WM_PASSWORD_REQUEST && host.isWin9x)
        return host.verifyPassword ? host.verifyPassword(window) : 1;
    if (host.isChecking) return finish(window, message, wParam, lParam);

    if (message == WM_SETCURSOR) {
        SetCursor(nullptr);
        return 1;
    }
    if (inputCloses(message, wParam, lParam)) PostMessageA(window, WM_CLOSE, 0, 0);
    return finish(window, message, wParam, lParam);
}

bool verifyBeforeClose(HWND window) {
    HostState& host = hostState();
    if (host.isChecking || host.isClosing) return false;
    if (!host.verifyPassword) {
        host.isClosing = true;
        return true;
    }
    // Unsigned difference: harmless when the tick count wraps.
    if (host.lastCheckTick != 0xFFFFFFFF && host.tickCount() - host.lastCheckTick < RECHECK_DELAY)
        return false;

    host.isChecking = true;
    // Ticks that piled up would reach the program while the dialog is open.
    MSG pending;
    PeekMessageA(&pending, window, WM_TIMER, WM_TIMER, PM_REMOVE | PM_NOYIELD);
    PeekMessageA(&pending, window, WM_TIMER, WM_TIMER, PM_REMOVE | PM_NOYIELD);
    host.isClosing = SendMessageA(window, WM_PASSWORD_REQUEST, 0, 0) != 0;
    host.isChecking = false;
    if (!host.isClosing) SetCursor(nullptr);
    host.lastCheckTick = host.tickCount();
    return host.isClosing;
}
