#include "playback/show/PictureArea.h"

#include "base/Exception.h"
#include "playback/show/ProportionalFit.h"
#include "playback/show/VideoView.h"

namespace {

template <typename Function>
Function userCall(const char* name) {
    HMODULE user = GetModuleHandleA("USER32.DLL");
    return user ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(user, name))) : nullptr;
}

// The primary monitor in screen coordinates. Windows 95 and NT 4 have no
// monitor functions; there the primary screen is the only one that counts.
RECT primaryMonitor() {
    RECT screen = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    typedef HMONITOR(WINAPI * FromPoint)(POINT, DWORD);
    typedef BOOL(WINAPI * GetInfo)(HMONITOR, MONITORINFO*);
    FromPoint fromPoint = userCall<FromPoint>("MonitorFromPoint");
    GetInfo getInfo = userCall<GetInfo>("GetMonitorInfoA");
    if (!fromPoint || !getInfo) return screen;
    // The primary monitor's top left corner is the origin of the screen's coordinates.
    const POINT origin = {0, 0};
    HMONITOR monitor = fromPoint(origin, MONITOR_DEFAULTTOPRIMARY);
    MONITORINFO info;
    ZeroMemory(&info, sizeof info);
    info.cbSize = sizeof info;
    if (!monitor || !getInfo(monitor, &info)) return screen;
    return info.rcMonitor;
}

}  // namespace

void PictureArea::measure(HWND window, const Bounds& client) {
    POINT origin = {0, 0};
    ClientToScreen(window, &origin);
    area = monitorAreaInClient(primaryMonitor(), origin, client);
}

Bounds PictureArea::destinationFor(VideoView& view) const {
    // Media Foundation's renderer keeps the proportions itself, with bars
    // inside the area it is given. Wine's renderer fits the picture into a
    // frame of the destination's size and then stretches that frame over the
    // whole window, so a destination fitted here would fill the screen there.
    if (view.playsThroughFoundation()) return area;
    Bounds source;
    try {
        source = view.getSource();
    } catch (Exception* e) {
        dispose(e);  // a device that cannot tell the size: the picture fills the area
    }
    return fitKeepingProportions(source, area);
}
