#include "NotifyWindow.h"

#include "support/MessagePump.h"

namespace {
const char* const className = "CinevaneNotifyTarget";
}

NotifyWindow::NotifyWindow() : window(nullptr) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = className;
    RegisterClassA(&wc);  // fails harmlessly once registered
    window = CreateWindowExA(0, className, "notify", WS_POPUP | WS_VISIBLE, 0, 0, 320, 240,
                             nullptr, nullptr, GetModuleHandleA(nullptr), this);
}

NotifyWindow::~NotifyWindow() {
    DestroyWindow(window);
    pump::dispatchPending();
}

bool NotifyWindow::waitForNotice() {
    size_t before = received.size();
    return pump::until([&] { return received.size() > before; });
}

LRESULT CALLBACK NotifyWindow::proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<NotifyWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (message == MM_MCINOTIFY && self) {
        self->received.push_back(Notice{wParam, lParam});
        return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}
