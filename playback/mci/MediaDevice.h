#pragma once
#include "base/Bounds.h"
#include "playback/mci/MciDevice.h"

// The throwing layer over MciDevice: every nonzero MCI error code is thrown as
// MciException, except from close().
class MediaDevice {
public:
    MediaDevice();
    virtual ~MediaDevice();  // the member closes an open device

    void open(HWND window, const char* path);
    void play(DWORD fromMinutes, DWORD fromSeconds, DWORD toMinutes, DWORD toSeconds);
    void stop();
    Bounds getDestination();
    Bounds getSource();
    void setDestination(const Bounds& bounds);
    void setAudio(bool on, DWORD channel);
    void getPosition(DWORD& minutes, DWORD& seconds);
    DWORD getPositionMilliseconds();
    DWORD getLengthMilliseconds();
    MCIERROR close();  // never throws
    bool isOpen() const { return device.isOpen(); }
    bool takeEndOfPlay(WPARAM notifyCode, MCIDEVICEID sender) { return device.takeEndOfPlay(notifyCode, sender); }

private:
    MediaDevice(const MediaDevice&) = delete;
    MediaDevice& operator=(const MediaDevice&) = delete;

    MciDevice device;
};
