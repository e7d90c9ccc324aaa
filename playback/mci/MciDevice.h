#pragma once
#include <windows.h>
#include <mmsystem.h>

// The MCI command layer: one media file at a time, every command sent through
// mciSendCommandA with the platform's parameter records. Each operation
// returns the MCI error code (0 for success) and never throws.
class MciDevice {
public:
    MciDevice();
    virtual ~MciDevice();  // closes an open device

    // Opens path under a unique alias and, for digital video, draws it into
    // window, which also receives the end-of-play notification. Any open file
    // is closed first; a failure leaves the device closed.
    MCIERROR open(HWND window, const char* path);
    // Plays from the start position to the end position, or to the end of the
    // file when the end is 0:00; MM_MCINOTIFY arrives at the window later.
    MCIERROR play(DWORD fromMinutes, DWORD fromSeconds, DWORD toMinutes, DWORD toSeconds);
    MCIERROR stop();
    // values receive left, top, right, bottom of the record; zeros on failure.
    MCIERROR getDestination(LONG values[4]);
    // The part of the video's own picture that is shown, as the driver
    // reports it (its whole size unless changed); zeros on failure.
    MCIERROR getSource(LONG values[4]);
    MCIERROR setDestination(const LONG values[4]);
    MCIERROR setAudio(bool on, DWORD channel);
    // Whole minutes and seconds of the playing position; zeros on failure.
    MCIERROR getPosition(DWORD& minutes, DWORD& seconds);
    // The playing position in milliseconds; 0 on failure.
    MCIERROR getPositionMilliseconds(DWORD& milliseconds);
    // The length of the file in milliseconds; 0 on failure.
    MCIERROR getLengthMilliseconds(DWORD& milliseconds);
    // MCI device type, 0 when it cannot be read.
    DWORD deviceType();
    MCIERROR statusItem(DWORD item, DWORD_PTR& value);
    // Stops and closes; sends nothing and returns 0 when nothing is open.
    MCIERROR close();

    bool isOpen() const { return deviceId != 0; }

    // Takes an MM_MCINOTIFY (its code and the device that sent it): true,
    // once, when the outstanding play of this device has reached its end.
    // Some drivers (Wine's AVI driver) report a play ended by stop or close
    // as successful as well; such a play is no longer outstanding, so its
    // notification gives false, as does one from another device (a driver
    // may name none: 0 stands for this one).
    bool takeEndOfPlay(WPARAM notifyCode, MCIDEVICEID sender);

    // Splits a position in milliseconds into whole minutes and seconds.
    static void splitPosition(DWORD milliseconds, DWORD& minutes, DWORD& seconds);
    // Writes "path_counter" into alias (aliasSize bytes). A path too long for
    // the buffer keeps only its tail, cut at a character boundary.
    static void formatAlias(char* alias, int aliasSize, const char* path, DWORD counter);

    enum { aliasSize = 272 };

private:
    MciDevice(const MciDevice&) = delete;
    MciDevice& operator=(const MciDevice&) = delete;

    MCIERROR openNarrow(const char* path, const char* alias);
    MCIERROR openWide(const char* path, const char* alias);

    MCIERROR setMilliseconds();
    // A status item read in milliseconds; 0 on failure.
    MCIERROR statusMilliseconds(DWORD item, DWORD& milliseconds);
    MCIERROR where(DWORD which, LONG values[4]);
    MCIERROR bindWindow(HWND window);

    MCIDEVICEID deviceId;  // 0 while nothing is open
    HWND callbackWindow;   // display and notification window
    DWORD from;            // start of the last play, in ms
    DWORD to;              // end of the last play, in ms; 0 = to the end
    bool playPending;      // a notified play has been started and not ended
};
