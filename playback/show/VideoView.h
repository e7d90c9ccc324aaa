#pragma once
#include "base/CountedString.h"
#include "base/WindowBase.h"
#include "playback/mci/MediaDevice.h"
#include "playback/foundation/MediaFoundationPlayer.h"
#include "playback/show/PictureWindow.h"

// The child window "CinevaneView" in which a video plays. It hands itself to
// its MediaDevice as the display and notification window and paints black
// wherever the video does not draw. The window finds its object through the
// window property "CinevaneView".
//
// Where Media Foundation is there (Windows 7 and later), the files MCI has
// no reader for (mp4, m4v, mov, mkv) play through it instead, and a file
// that one way cannot open is tried the other way. Its renderer draws into
// a picture window laid over the view (it draws nothing into a child under
// Wine), shown while such a file plays and until the next file draws.
class VideoView : public WindowBase {
public:
    VideoView();
    ~VideoView() override;  // unbinds the window and closes the media

    HWND create(HWND parent, UINT id, const Bounds& bounds, DWORD style, bool noThrow) override;
    HWND attach(HWND window) override;

    // Registers the window class; an existing registration counts as success.
    static void registerClass();
    static LRESULT CALLBACK viewClassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    // Throws the error of the way tried first when neither way plays the file.
    void open(const CountedString& path);
    // A Media Foundation file always plays to its end.
    void play(DWORD fromMinutes, DWORD fromSeconds, DWORD toMinutes, DWORD toSeconds);
    void stop();
    Bounds getDestination();
    Bounds getSource();  // the video's own picture, as the device reports it
    void setDestination(const Bounds& bounds);
    // Whether a Media Foundation picture keeps its proportions inside the
    // destination (MCI pictures fill what they are given).
    void setKeepAspect(bool keep);
    void setAudio(bool on, DWORD channel);
    void getPosition(DWORD& minutes, DWORD& seconds);
    DWORD getPositionMilliseconds();
    DWORD getLengthMilliseconds();
    void resetMedia();  // black fill, media closed; never throws
    void close();
    // Closes the file between two files of a show: a Media Foundation
    // picture stays on the screen until the next file's first picture
    // replaces it, as in a media player, rather than black in between.
    // An open through MCI, or one that fails, puts it aside.
    void closeBeforeNext();
    bool isOpen() const { return device.isOpen() || player.isOpen(); }
    // The open file plays through Media Foundation.
    bool playsThroughFoundation() const { return player.isOpen(); }
    // Tells the opens of this view apart: it changes with every open, and an
    // end reported for an earlier one is not the end of the file now open.
    DWORD openNumber() const { return opens; }

    // Files with these extensions go to Media Foundation first.
    static bool isFoundationFile(const CountedString& path);

protected:
    COLORREF fillColor;  // outside the video
    MediaDevice device;
    MediaFoundationPlayer player;
    PictureWindow picture;
    DWORD opens;

private:
    void openOneWay(const CountedString& path, bool throughFoundation);
    void closeMedia();
    void paint(HWND window);
};
