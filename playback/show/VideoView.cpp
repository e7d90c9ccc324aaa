#include "playback/show/VideoView.h"

#include <cstring>

#include "base/Exception.h"
#include "base/OwnedHandles.h"
#include "playback/foundation/MediaFoundation.h"

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

bool VideoView::isFoundationFile(const CountedString& path) {
    // A dot is never the second byte of a double-byte character.
    const char* dot = strrchr(path.c_str(), '.');
    if (!dot || strchr(dot, '\\')) return false;
    static const char* const extensions[] = {".mp4", ".m4v", ".mov", ".mkv"};
    for (const char* extension : extensions)
        if (lstrcmpiA(dot, extension) == 0) return true;
    return false;
}

void VideoView::openOneWay(const CountedString& path, bool throughFoundation) {
    if (!throughFoundation) {
        // The picture window of a Media Foundation attempt would cover MCI's picture.
        picture.hide();
        device.open(hwnd, path.c_str());
        return;
    }
    player.open(picture.showOver(hwnd), hwnd, path.c_str());
}

void VideoView::open(const CountedString& path) {
    requireWindow();
    ++opens;
    // The last picture of a file before stays until this one draws its own.
    closeMedia();
    const bool foundationFirst = isFoundationFile(path) && MediaFoundation::available();
    try {
        try {
            openOneWay(path, foundationFirst);
        } catch (Exception* first) {
            if (first == outOfMemoryException() || (!foundationFirst && !MediaFoundation::available())) throw;
            try {
                openOneWay(path, !foundationFirst);
            } catch (Exception* second) {
                dispose(second);
                throw first;
            }
            dispose(first);
        }
    } catch (Exception*) {
        picture.hide();
        throw;
    }
    invalidate();
}

void VideoView::play(DWORD fromMinutes, DWORD fromSeconds, DWORD toMinutes, DWORD toSeconds) {
    requireWindow();
    if (!player.isOpen()) {
        device.play(fromMinutes, fromSeconds, toMinutes, toSeconds);
        return;
    }
    // A stored point far beyond any end stays beyond it.
    const unsigned long long from = (fromMinutes * 60ull + fromSeconds) * 1000ull;
    player.play(from < MAXDWORD ? static_cast<DWORD>(from) : MAXDWORD);
}

void VideoView::stop() {
    requireWindow();
    if (player.isOpen()) {
        player.stop();
        return;
    }
    device.stop();
    invalidate();
}

Bounds VideoView::getDestination() {
    requireWindow();
    return device.getDestination();
}

Bounds VideoView::getSource() {
    requireWindow();
    return player.isOpen() ? player.nativeSize() : device.getSource();
}

void VideoView::setDestination(const Bounds& bounds) {
    requireWindow();
    if (player.isOpen()) {
        player.setDestination(bounds);
        return;
    }
    device.setDestination(bounds);
}

void VideoView::setKeepAspect(bool keep) {
    player.setKeepAspect(keep);
}

void VideoView::setAudio(bool on, DWORD channel) {
    if (player.isOpen()) {
        player.setMuted(!on);
        return;
    }
    device.setAudio(on, channel);
}

void VideoView::getPosition(DWORD& minutes, DWORD& seconds) {
    if (player.isOpen()) {
        MciDevice::splitPosition(player.getPositionMilliseconds(), minutes, seconds);
        return;
    }
    device.getPosition(minutes, seconds);
}

DWORD VideoView::getPositionMilliseconds() {
    return player.isOpen() ? player.getPositionMilliseconds() : device.getPositionMilliseconds();
}

DWORD VideoView::getLengthMilliseconds() {
    return player.isOpen() ? player.lengthMilliseconds() : device.getLengthMilliseconds();
}

void VideoView::closeMedia() {
    fillColor = RGB(0, 0, 0);
    device.close();
    player.close();
}

void VideoView::resetMedia() {
    closeMedia();
    picture.hide();
}

void VideoView::close() {
    requireWindow();
    resetMedia();
    invalidate();
}

void VideoView::closeBeforeNext() {
    requireWindow();
    closeMedia();
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
                view->picture.destroy();
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
