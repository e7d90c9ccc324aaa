#include "base/Window.h"

#include "base/Exception.h"

Window::Window() : hwnd(nullptr) {}

Window::~Window() {}

BOOL Window::destroy() {
    BOOL result = FALSE;
    if (IsWindow(hwnd)) result = DestroyWindow(hwnd);
    hwnd = nullptr;
    return result;
}

HWND Window::handle() const {
    return IsWindow(hwnd) ? hwnd : nullptr;
}

void Window::requireWindow() const {
    if (!IsWindow(hwnd)) throwWin32Error(ERROR_INVALID_WINDOW_HANDLE);
}

void Window::modifyStyle(DWORD remove, DWORD add) {
    requireWindow();
    DWORD style = static_cast<DWORD>(GetWindowLongA(hwnd, GWL_STYLE));
    DWORD changed = (style & ~remove) | add;
    if (changed != style) SetWindowLongA(hwnd, GWL_STYLE, static_cast<LONG>(changed));
}

void Window::setFocus() {
    requireWindow();
    SetFocus(hwnd);
}

void Window::invalidate() {
    requireWindow();
    InvalidateRect(hwnd, nullptr, TRUE);
}

void Window::enable(BOOL on) {
    requireWindow();
    EnableWindow(hwnd, on);
}
