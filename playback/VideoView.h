#pragma once
#include "base/CountedString.h"
#include "base/WindowBase.h"
#include "playback/MediaDevice.h"

// The child window "CinevaneView" in which a video plays. It hands itself to
// its MediaDevice as the display and notification window and paints black
// wherever the video does not draw. The window finds its object through the
// window property "CinevaneView".
class VideoView : public WindowBase {
public:
    VideoView();
    ~VideoView() override;  // unbinds the window and closes the media

    HWND create(HWND parent, UINT id, const Bounds& bounds, DWORD style, bool noThrow) override;
    HWND attach(HWND window) override;

    // Registers the window class; an existing registration counts as success.
    static void registerClass();
    static LRESULT CALLBACK viewClassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    void open(const CountedString& path);
    void play(DWORD fromMinutes, DWORD fromSeconds, DWORD toMinutes, DWORD toSeconds);
    void stop();
    Bounds getDestination();
    Bounds getSource();  // the video's own picture, as the device reports it
    void setDestination(const Bounds& bounds);
    void setAudio(bool on, DWORD channel);
    void getPosition(DWORD& minutes, DWORD& seconds);
    DWORD getPositionMilliseconds();
    DWORD getLengthMilliseconds();
    void resetMedia();  // black fill, media closed; never throws
    void close();
    bool isOpen() const { return device.isOpen(); }
    // Tells the opens of this view apart: it changes with every open, and an
    // end reported for an earlier one is not the end of the file now open.
    DWORD openNumber() const { return opens; }

protected:
    COLORREF fillColor;  // outside the video
    MediaDevice device;
    DWORD opens;

private:
    void paint(HWND window);
};
