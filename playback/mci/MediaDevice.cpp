#include "playback/mci/MediaDevice.h"

#include "base/Exception.h"

namespace {
void check(MCIERROR result) {
    if (result != 0) throwMciError(result);
}
}  // namespace

MediaDevice::MediaDevice() {}

MediaDevice::~MediaDevice() {}

void MediaDevice::open(HWND window, const char* path) {
    check(device.open(window, path));
}

void MediaDevice::play(DWORD fromMinutes, DWORD fromSeconds, DWORD toMinutes, DWORD toSeconds) {
    check(device.play(fromMinutes, fromSeconds, toMinutes, toSeconds));
}

void MediaDevice::stop() {
    check(device.stop());
}

// MCI carries left, top, width, height in the four members of its RECT.
Bounds MediaDevice::getDestination() {
    LONG values[4];
    check(device.getDestination(values));
    return Bounds(values[0], values[1], values[2], values[3]);
}

Bounds MediaDevice::getSource() {
    LONG values[4];
    check(device.getSource(values));
    return Bounds(values[0], values[1], values[2], values[3]);
}

void MediaDevice::setDestination(const Bounds& bounds) {
    const LONG values[4] = {bounds.left, bounds.top, bounds.width, bounds.height};
    check(device.setDestination(values));
}

void MediaDevice::setAudio(bool on, DWORD channel) {
    check(device.setAudio(on, channel));
}

void MediaDevice::getPosition(DWORD& minutes, DWORD& seconds) {
    check(device.getPosition(minutes, seconds));
}

DWORD MediaDevice::getPositionMilliseconds() {
    DWORD milliseconds = 0;
    check(device.getPositionMilliseconds(milliseconds));
    return milliseconds;
}

DWORD MediaDevice::getLengthMilliseconds() {
    DWORD milliseconds = 0;
    check(device.getLengthMilliseconds(milliseconds));
    return milliseconds;
}

MCIERROR MediaDevice::close() {
    return device.close();
}
