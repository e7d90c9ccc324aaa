#include "playback/mci/MciDevice.h"

#include <digitalv.h>

#include "base/WidePath.h"

MciDevice::MciDevice()
    : deviceId(0), callbackWindow(nullptr), from(0), to(0), playPending(false) {}

MciDevice::~MciDevice() {
    close();
}

void MciDevice::formatAlias(char* alias, int aliasSize, const char* path, DWORD counter) {
    // Room for "_" and eight hex digits of the counter, and the terminator.
    const int pathRoom = aliasSize - 1 - 8 - 1;
    while (lstrlenA(path) > pathRoom) path = CharNextA(path);
    wsprintfA(alias, "%s_%x", path, counter);
}

MCIERROR MciDevice::open(HWND window, const char* path) {
    close();

    char alias[aliasSize];
    MCIERROR result;
    // The alias only makes each open unique: the same file may be open twice.
    DWORD counter = 0;
    do {
        formatAlias(alias, sizeof alias, path, counter++);
        result = WidePath::goesWide(path) ? openWide(path, alias) : openNarrow(path, alias);
    } while (result == MCIERR_DUPLICATE_ALIAS);
    if (result != 0) return result;

    callbackWindow = window;
    if (!window || deviceType() != MCI_DEVTYPE_DIGITAL_VIDEO) return 0;
    return bindWindow(window);
}

MCIERROR MciDevice::openNarrow(const char* path, const char* alias) {
    MCI_OPEN_PARMSA parms;
    ZeroMemory(&parms, sizeof parms);
    parms.lpstrElementName = path;
    parms.lpstrAlias = alias;
    const MCIERROR result = mciSendCommandA(0, MCI_OPEN, MCI_WAIT | MCI_OPEN_ELEMENT | MCI_OPEN_ALIAS,
                                            reinterpret_cast<DWORD_PTR>(&parms));
    if (result == 0) deviceId = parms.wDeviceID;
    return result;
}

// A name the ANSI code page cannot hold opens through the wide command, which
// the NT family has; it is looked up, since Windows 98 lacks it.
MCIERROR MciDevice::openWide(const char* path, const char* alias) {
    typedef MCIERROR(WINAPI * SendCommandW)(MCIDEVICEID, UINT, DWORD_PTR, DWORD_PTR);
    const SendCommandW send = reinterpret_cast<SendCommandW>(
        reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleA("winmm.dll"), "mciSendCommandW")));
    WidePath widePath(path);
    WidePath wideAlias(alias);
    if (!send || !widePath.valid() || !wideAlias.valid()) return MCIERR_FILE_NOT_FOUND;
    MCI_OPEN_PARMSW parms;
    ZeroMemory(&parms, sizeof parms);
    parms.lpstrElementName = widePath.c_str();
    parms.lpstrAlias = wideAlias.c_str();
    const MCIERROR result = send(0, MCI_OPEN, MCI_WAIT | MCI_OPEN_ELEMENT | MCI_OPEN_ALIAS,
                                 reinterpret_cast<DWORD_PTR>(&parms));
    if (result == 0) {
        deviceId = parms.wDeviceID;
        return 0;
    }
    // Wine 10's AVI driver finds no file by such a name (its DirectShow driver
    // does); the file's short name, where the volume has one the page can
    // hold, opens through the narrow command.
    wchar_t shortName[MAX_PATH];
    char narrowShort[MAX_PATH];
    const DWORD length = GetShortPathNameW(widePath.c_str(), shortName, MAX_PATH);
    if (length == 0 || length >= MAX_PATH || !WidePath::narrow(shortName, narrowShort, MAX_PATH) ||
        WidePath::needsWide(narrowShort))
        return result;
    return openNarrow(narrowShort, alias);
}

MCIERROR MciDevice::bindWindow(HWND window) {
    MCI_DGV_WINDOW_PARMSA parms;
    ZeroMemory(&parms, sizeof parms);
    parms.hWnd = window;

    DWORD_PTR display = 0;
    MCIERROR result = statusItem(MCI_DGV_STATUS_HWND, display);
    if (result == MCIERR_UNSUPPORTED_FUNCTION || result == MCIERR_UNRECOGNIZED_COMMAND) {
        // The driver cannot name its display window (Wine's DirectShow driver
        // answers 261) but may still draw into ours; without it the video
        // plays in the driver's own window, which is still better than none.
        mciSendCommandA(deviceId, MCI_WINDOW, MCI_WAIT | MCI_DGV_WINDOW_HWND,
                        reinterpret_cast<DWORD_PTR>(&parms));
        return 0;
    }
    if (result == 0 && display != 0) {
        result = mciSendCommandA(deviceId, MCI_WINDOW, MCI_WAIT | MCI_DGV_WINDOW_HWND,
                                 reinterpret_cast<DWORD_PTR>(&parms));
    }
    if (result != 0) close();
    return result;
}

MCIERROR MciDevice::setMilliseconds() {
    MCI_SET_PARMS parms;
    ZeroMemory(&parms, sizeof parms);
    parms.dwTimeFormat = MCI_FORMAT_MILLISECONDS;
    return mciSendCommandA(deviceId, MCI_SET, MCI_WAIT | MCI_SET_TIME_FORMAT,
                           reinterpret_cast<DWORD_PTR>(&parms));
}

MCIERROR MciDevice::play(DWORD fromMinutes, DWORD fromSeconds, DWORD toMinutes, DWORD toSeconds) {
    from = (fromMinutes * 60 + fromSeconds) * 1000;
    to = (toMinutes * 60 + toSeconds) * 1000;
    MCIERROR result = setMilliseconds();
    if (result != 0) return result;

    MCI_PLAY_PARMS parms;
    parms.dwCallback = reinterpret_cast<DWORD_PTR>(callbackWindow);
    parms.dwFrom = from;
    parms.dwTo = to;
    // No MCI_WAIT: the end arrives as MM_MCINOTIFY at callbackWindow.
    DWORD flags = MCI_NOTIFY | MCI_FROM;
    if (toMinutes != 0 || toSeconds != 0) flags |= MCI_TO;
    result = mciSendCommandA(deviceId, MCI_PLAY, flags, reinterpret_cast<DWORD_PTR>(&parms));
    // A play that replaces one still running takes over its end.
    if (result == 0) playPending = true;
    return result;
}

bool MciDevice::takeEndOfPlay(WPARAM notifyCode, MCIDEVICEID sender) {
    // Wine's DirectShow driver names no device (0) in its notifications.
    if (notifyCode != MCI_NOTIFY_SUCCESSFUL || (sender != 0 && sender != deviceId)) return false;
    bool ended = playPending;
    playPending = false;
    return ended;
}

MCIERROR MciDevice::stop() {
    playPending = false;
    return mciSendCommandA(deviceId, MCI_STOP, MCI_WAIT, 0);
}

MCIERROR MciDevice::where(DWORD which, LONG values[4]) {
    values[0] = values[1] = values[2] = values[3] = 0;
    MCI_DGV_RECT_PARMS parms;
    ZeroMemory(&parms, sizeof parms);
    MCIERROR result = mciSendCommandA(deviceId, MCI_WHERE, MCI_WAIT | which,
                                      reinterpret_cast<DWORD_PTR>(&parms));
    if (result == 0) {
        values[0] = parms.rc.left;
        values[1] = parms.rc.top;
        values[2] = parms.rc.right;
        values[3] = parms.rc.bottom;
    }
    return result;
}

MCIERROR MciDevice::getDestination(LONG values[4]) {
    return where(MCI_DGV_WHERE_DESTINATION, values);
}

MCIERROR MciDevice::getSource(LONG values[4]) {
    return where(MCI_DGV_WHERE_SOURCE, values);
}

MCIERROR MciDevice::setDestination(const LONG values[4]) {
    MCI_DGV_RECT_PARMS parms;
    ZeroMemory(&parms, sizeof parms);
    parms.rc.left = values[0];
    parms.rc.top = values[1];
    parms.rc.right = values[2];
    parms.rc.bottom = values[3];
    return mciSendCommandA(deviceId, MCI_PUT, MCI_WAIT | MCI_DGV_RECT | MCI_DGV_PUT_DESTINATION,
                           reinterpret_cast<DWORD_PTR>(&parms));
}

MCIERROR MciDevice::setAudio(bool on, DWORD channel) {
    MCI_SET_PARMS parms;
    ZeroMemory(&parms, sizeof parms);
    parms.dwAudio = channel;
    DWORD flags = MCI_WAIT | MCI_SET_AUDIO | (on ? MCI_SET_ON : MCI_SET_OFF);
    return mciSendCommandA(deviceId, MCI_SET, flags, reinterpret_cast<DWORD_PTR>(&parms));
}

void MciDevice::splitPosition(DWORD milliseconds, DWORD& minutes, DWORD& seconds) {
    DWORD wholeSeconds = milliseconds / 1000;
    minutes = wholeSeconds / 60;
    seconds = wholeSeconds % 60;
}

MCIERROR MciDevice::getPosition(DWORD& minutes, DWORD& seconds) {
    minutes = 0;
    seconds = 0;
    DWORD milliseconds = 0;
    MCIERROR result = getPositionMilliseconds(milliseconds);
    if (result == 0) splitPosition(milliseconds, minutes, seconds);
    return result;
}

MCIERROR MciDevice::statusMilliseconds(DWORD item, DWORD& milliseconds) {
    milliseconds = 0;
    MCIERROR result = setMilliseconds();
    if (result != 0) return result;
    DWORD_PTR value = 0;
    result = statusItem(item, value);
    if (result == 0) milliseconds = static_cast<DWORD>(value);
    return result;
}

MCIERROR MciDevice::getPositionMilliseconds(DWORD& milliseconds) {
    return statusMilliseconds(MCI_STATUS_POSITION, milliseconds);
}

MCIERROR MciDevice::getLengthMilliseconds(DWORD& milliseconds) {
    return statusMilliseconds(MCI_STATUS_LENGTH, milliseconds);
}

DWORD MciDevice::deviceType() {
    MCI_GETDEVCAPS_PARMS parms;
    ZeroMemory(&parms, sizeof parms);
    parms.dwItem = MCI_GETDEVCAPS_DEVICE_TYPE;
    if (mciSendCommandA(deviceId, MCI_GETDEVCAPS, MCI_WAIT | MCI_GETDEVCAPS_ITEM,
                        reinterpret_cast<DWORD_PTR>(&parms)) != 0) {
        return 0;
    }
    return parms.dwReturn;
}

MCIERROR MciDevice::statusItem(DWORD item, DWORD_PTR& value) {
    value = 0;
    MCI_STATUS_PARMS parms;
    ZeroMemory(&parms, sizeof parms);
    parms.dwItem = item;
    MCIERROR result = mciSendCommandA(deviceId, MCI_STATUS, MCI_WAIT | MCI_STATUS_ITEM,
                                      reinterpret_cast<DWORD_PTR>(&parms));
    if (result == 0) value = parms.dwReturn;
    return result;
}

MCIERROR MciDevice::close() {
    if (deviceId == 0) return 0;
    stop();
    MCIERROR result = mciSendCommandA(deviceId, MCI_CLOSE, MCI_WAIT, 0);
    deviceId = 0;
    callbackWindow = nullptr;
    from = 0;
    to = 0;
    playPending = false;
    return result;
}
