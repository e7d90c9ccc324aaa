#include "playback/VideoView.h"

#include "base/Exception.h"
#include "base/OwnedHandles.h"

namespace {
// Both the window class and the property that links a window to its object.
const char* const viewName = "CinevaneView";

[[noreturn]] void throwLastError() {
    DWORD code = GetLastError();
    if (code == 0 || code == ERROR_NOT_ENOUGH_MEMORY) throwOutOfMemory();
    throwWin32Error(code);
}
}  // namespace

VideoView::VideoView() : fillColor(RGB(0, 0, 0)), opens(0) {}

VideoView::~VideoView() {
    try {
        attach(nullptr);
    } catch (Exception* e) {
        dispose(e);
    }
}

void VideoView::registerClass() {
    WNDCLASSEXA wc;
    ZeroMemory(&wc, sizeof wc);
    wc.cbSize = sizeof wc;
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = viewClassProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    // Never erased with a colour: the video would flicker.
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    wc.lpszClassName = viewName;
    if (RegisterClassExA(&wc)) return;
    DWORD code = GetLastError();
    // Registered before: every creation may call this first.
    if (code != ERROR_CLASS_ALREADY_EXISTS) throwWin32Error(code);
}

HWND VideoView::create(HWND parent, UINT id, const Bounds& bounds, DWORD style, bool noThrow) {
    HWND window = WindowBase::create(viewName, parent, id, bounds, style, noThrow);
    if (!window) return nullptr;
    if (!SetPropA(window, viewName, this)) {
        DWORD code = GetLastError();
        destroy();
        if (noThrow) return nullptr;
        SetLastError(code);
        throwLastError();
    }
    resetMedia();
    invalidate();
    return window;
}

HWND VideoView::attach(HWND window) {
    if (hwnd) RemovePropA(hwnd, viewName);
    HWND old;
    try {
        old = WindowBase::attach(viewName, window);
    } catch (Exception*) {
        // The object is empty now; its media must not stay bound to the old window.
        resetMedia();
        throw;
    }
    if (hwnd && !SetPropA(hwnd, viewName, this)) {
        DWORD code = GetLastError();
        WindowBase::attach(nullptr, nullptr);
        resetMedia();
        SetLastError(code);
        throwLastError();
    }
    resetMedia();
    if (hwnd) invalidate();
    return old;
}

void VideoView::open(const CountedString& path) {
    requireWindow();
    ++opens;
    device.open(hwnd, path.c_str());
    invalidate();
}

void VideoView::play(DWORD fromMinutes, DWORD fromSeconds, DWORD toMinutes, DWORD toSeconds) {
    requireWindow();
    device.play(fromMinutes, fromSeconds, toMinutes, toSeconds);
}

void VideoView::stop() {
    requireWindow();
    device.stop();
    invalidate();
}

Bounds VideoView::getDestination() {
    requireWindow();
    return device.getDestination();
}

Bounds VideoView::getSource() {
    requireWindow();
    return device.getSource();
}

void VideoView::setDestination(const Bounds& bounds) {
    requireWindow();
    device.setDestination(bounds);
}

void VideoView::setAudio(bool on, DWORD channel) {
    device.setAudio(on, channel);
}

void VideoView::getPosition(DWORD& minutes, DWORD& seconds) {
    device.getPosition(minutes, seconds);
}

DWORD VideoView::getPositionMilliseconds() {
    return device.getPositionMilliseconds();
}

DWORD VideoView::getLengthMilliseconds() {
    return device.getLengthMilliseconds();
}

void VideoView::resetMedia() {
    fillColor = RGB(0, 0, 0);
    device.close();
}

void VideoView::close() {
    requireWindow();
    resetMedia();
    invalidate();
}

// Fills the client area outside the video's destination.
void VideoView::paint(HWND window) {
    Bounds video;
    if (device.isOpen()) {
        try {
            video = device.getDestination();
        } catch (Exception* e) {
            dispose(e);  // only the cut-out is lost
        }
    }
    PaintDc painting(window);
    HDC dc = painting.handle();
    ExcludeClipRect(dc, video.left, video.top, video.left + video.width, video.top + video.height);
    Bounds client;
    GetClientRect(window, client.asRect());
    GdiObject brush(CreateSolidBrush(fillColor));
    if (brush) FillRect(dc, client.asRect(), brush.as<HBRUSH>());
}

LRESULT CALLBACK VideoView::viewClassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    try {
        if (message == WM_DESTROY) {
            auto* view = static_cast<VideoView*>(RemovePropA(hwnd, viewName));
            if (view) {
                view->hwnd = nullptr;
                view->resetMedia();
            }
            return 0;
        }
        if (message == WM_PAINT) {
            auto* view = static_cast<VideoView*>(GetPropA(hwnd, viewName));
            // Without an object default processing validates the window, so
            // that paint messages do not repeat.
            if (!view) return DefWindowProcA(hwnd, message, wParam, lParam);
            view->paint(hwnd);
            return 0;
        }
    } catch (Exception* e) {
        dispose(e);
        return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}
