#include "ReferenceWindow.h"

namespace referencewindow {

HWND create(HINSTANCE instance, const char* windowClass, WNDPROC procedure) {
    WNDCLASSA type = {};
    type.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS | CS_OWNDC;
    type.lpfnWndProc = procedure;
    type.hInstance = instance;
    type.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    type.lpszClassName = windowClass;
    if (!RegisterClassA(&type)) return nullptr;
    HWND window = CreateWindowExA(WS_EX_TOPMOST, windowClass, "Reference",
                                  WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN,
                                  GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                                  GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN),
                                  nullptr, nullptr, instance, nullptr);
    if (window) SetForegroundWindow(window);
    return window;
}

LRESULT defaultProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_KEYDOWN:
        PostMessageA(window, WM_CLOSE, 0, 0);
        return 0;
    case WM_SETCURSOR:
        SetCursor(nullptr);
        return TRUE;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

void run() {
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

}  // namespace referencewindow
