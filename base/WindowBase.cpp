#include "base/WindowBase.h"

#include "base/Exception.h"

WindowBase::WindowBase() : prevProc(nullptr) {}

WindowBase::~WindowBase() {
    attach(nullptr, nullptr);
}

LRESULT WindowBase::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return CallWindowProcA(prevProc, hwnd, message, wParam, lParam);
}

void WindowBase::onCommand(HWND, WORD, WORD) {}

HWND WindowBase::create(const char* className, HWND parent, UINT id, const Bounds& bounds,
                        DWORD style, bool noThrow) {
    if (IsWindow(hwnd)) throwWin32Error(ERROR_INVALID_FUNCTION);
    attach(nullptr, nullptr);
    if (!parent) throwWin32Error(ERROR_INVALID_PARAMETER);
    hwnd = CreateWindowExA(0, className, "", style | WS_CHILD | WS_VISIBLE, bounds.left, bounds.top,
                           bounds.width, bounds.height, parent,
                           reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)),
                           GetModuleHandleA(nullptr), nullptr);
    if (!hwnd && !noThrow) throwWin32Error(ERROR_INVALID_WINDOW_HANDLE);
    return hwnd;
}

HWND WindowBase::attach(const char* className, HWND window) {
    HWND old = hwnd;
    if (prevProc && IsWindow(old)) {
        SetWindowLongPtrA(old, GWLP_USERDATA, 0);
        SetWindowLongPtrA(old, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(prevProc));
    }
    prevProc = nullptr;
    hwnd = nullptr;
    if (className && window) {
        char actual[256];
        if (GetClassNameA(window, actual, sizeof actual) == 0) {
            DWORD code = GetLastError();
            throwWin32Error(code ? code : ERROR_INVALID_WINDOW_HANDLE);
        }
        if (lstrcmpA(actual, className) != 0) throwWin32Error(ERROR_INVALID_PARAMETER);
    }
    hwnd = window;
    return old;
}

void WindowBase::subclass(bool on) {
    requireWindow();
    if (on) {
        if (prevProc) return;
        prevProc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(sharedWindowProc)));
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    } else if (prevProc) {
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(prevProc));
        prevProc = nullptr;
    }
}

WindowBase* WindowBase::objectOf(HWND hwnd) {
    return reinterpret_cast<WindowBase*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
}

// Nothing may unwind through the system's frames: an exception thrown by the
// object ends here and the message counts as handled.
LRESULT WindowBase::dispatch(WindowBase* object, HWND hwnd, UINT message, WPARAM wParam,
                             LPARAM lParam) {
    try {
        if (message == WM_COMMAND) object->onCommand(hwnd, LOWORD(wParam), HIWORD(wParam));
        return object->windowProc(hwnd, message, wParam, lParam);
    } catch (Exception* e) {
        dispose(e);
        return 0;
    }
}

LRESULT CALLBACK WindowBase::sharedWindowProc(HWND hwnd, UINT message, WPARAM wParam,
                                              LPARAM lParam) {
    if (message == WM_DESTROY) {
        // Taking the object out first keeps messages sent during the
        // destruction from reaching an object that is letting go.
        auto* object = reinterpret_cast<WindowBase*>(SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0));
        if (!object) return 0;
        LRESULT result = dispatch(object, hwnd, message, wParam, lParam);
        if (object->prevProc) {
            SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(object->prevProc));
        }
        object->prevProc = nullptr;
        object->hwnd = nullptr;
        return result;
    }
    WindowBase* object = objectOf(hwnd);
    if (!object) return message == WM_COMMAND ? 0 : DefWindowProcA(hwnd, message, wParam, lParam);
    return dispatch(object, hwnd, message, wParam, lParam);
}
