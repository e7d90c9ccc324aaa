#include "playback/show/PictureWindow.h"

#include "base/Exception.h"

namespace {
const char* const className = "CinevanePicture";
}

PictureWindow::PictureWindow() : window(nullptr) {}

PictureWindow::~PictureWindow() {
    destroy();
}

LRESULT CALLBACK PictureWindow::procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_NCHITTEST:
        // The pointer belongs to the view below, which hands it to the show.
        return HTTRANSPARENT;
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    case WM_SETFOCUS:
        // Wine may hand the keyboard to the popup as it appears over the show;
        // every key belongs to the show, so the focus goes back to its owner.
        if (HWND owner = GetWindow(hwnd, GW_OWNER)) SetFocus(owner);
        return 0;
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
        // A key that reached it all the same.
        if (HWND owner = GetWindow(hwnd, GW_OWNER)) return SendMessageA(owner, message, wParam, lParam);
        return 0;
    default:
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }
}

HWND PictureWindow::showOver(HWND view) {
    RECT area;
    GetClientRect(view, &area);
    MapWindowPoints(view, nullptr, reinterpret_cast<POINT*>(&area), 2);
    if (!window) {
        WNDCLASSA type;
        ZeroMemory(&type, sizeof type);
        type.lpfnWndProc = procedure;
        type.hInstance = GetModuleHandleA(nullptr);
        type.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
        type.lpszClassName = className;
        if (!RegisterClassA(&type) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) throwWin32Error(GetLastError());
        window = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, className, "", WS_POPUP,
                                 area.left, area.top, area.right - area.left, area.bottom - area.top,
                                 GetAncestor(view, GA_ROOT), nullptr, type.hInstance, nullptr);
        if (!window) throwWin32Error(GetLastError() ? GetLastError() : ERROR_INVALID_WINDOW_HANDLE);
    }
    SetWindowPos(window, HWND_TOPMOST, area.left, area.top, area.right - area.left, area.bottom - area.top,
                 SWP_NOACTIVATE | SWP_SHOWWINDOW);
    return window;
}

void PictureWindow::hide() {
    // Moved out of every screen rather than hidden: it takes the picture
    // with it at once, where Wine waits up to two seconds for a hidden
    // window to leave the display.
    if (window)
        SetWindowPos(window, nullptr, -32000, -32000, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void PictureWindow::destroy() {
    if (window && IsWindow(window)) DestroyWindow(window);
    window = nullptr;
}
