#include "base/ButtonControl.h"

namespace {
const char* const buttonClass = "Button";
}

HWND ButtonControl::create(HWND parent, UINT id, const Bounds& bounds, DWORD style, bool noThrow) {
    return WindowBase::create(buttonClass, parent, id, bounds, style, noThrow);
}

HWND ButtonControl::attach(HWND window) {
    return WindowBase::attach(buttonClass, window);
}

void ButtonControl::setCheck(WPARAM state) {
    requireWindow();
    SendMessageA(hwnd, BM_SETCHECK, state, 0);
}

LRESULT ButtonControl::getCheck() {
    requireWindow();
    return SendMessageA(hwnd, BM_GETCHECK, 0, 0);
}
