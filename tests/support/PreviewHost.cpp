#include "support/PreviewHost.h"

#include "host/HostState.h"
#include "host/SaverWindow.h"

namespace previewhost {

namespace {

const char kClassName[] = "CinevaneTestPreviewHost";

HWND parent = nullptr;
std::function<bool()> looker;
DWORD started = 0;
DWORD allowed = 0;

void CALLBACK lookAtPreview(HWND, UINT, UINT_PTR, DWORD) {
    if (looker() || GetTickCount() - started > allowed) DestroyWindow(parent);
}

}  // namespace

HWND create(int x, int y, int width, int height, const char* caption) {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kClassName;
    RegisterClassA(&windowClass);
    const DWORD style = caption ? WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN : WS_POPUP;
    RECT frame = {0, 0, width, height};
    AdjustWindowRectEx(&frame, style, FALSE, WS_EX_TOPMOST);
    HWND window = CreateWindowExA(WS_EX_TOPMOST, kClassName, caption ? caption : "", style, x, y,
                                  frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr,
                                  windowClass.hInstance, nullptr);
    ShowWindow(window, SW_SHOWNOACTIVATE);
    UpdateWindow(window);
    return window;
}

int run(HWND window, const std::function<bool()>& look, DWORD deadline) {
    hostState().moduleHandle = GetModuleHandleA(nullptr);
    parent = window;
    looker = look;
    started = GetTickCount();
    allowed = deadline;
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, lookAtPreview);
    const int result = runSaver(window);
    KillTimer(nullptr, timer);
    return result;
}

}  // namespace previewhost
