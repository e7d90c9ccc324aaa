#pragma once
#include <windows.h>

#include "base/Bounds.h"
#include "playback/foundation/ComPointer.h"
#include "playback/foundation/ThreadTimer.h"

struct IMFMediaSession;
struct IMFMediaSource;
struct IMFPresentationDescriptor;
struct IMFPresentationClock;
struct IMFVideoDisplayControl;
struct IMFSimpleAudioVolume;
struct IMFActivate;
struct MediaFoundationCalls;
class MediaSessionEvents;

// Plays one media file at a time through Media Foundation's media session
// and its enhanced video renderer, for the files that MCI cannot play. All
// of it runs on the caller's thread, apart from what Media Foundation runs
// on its own; no wait for Media Foundation is without a deadline.
//
// The end of a file arrives as eventMessage at the notify window (wParam:
// the open that produced it); takeEvent() tells which message is the end of
// the current file. The end is told by the clock as well as by the session,
// whose own end event may not come.
//
// On Windows a file plays to its last picture and sound, and the session
// stops its clock there, as documented. Wine's renderer can lock up for good
// when the clock stops while it still presents frames (a show's later opens
// all time out then: its one work thread, shared by every session of the
// process, stays blocked), and under load it did so at a file's own end. So
// under Wine alone the player pauses the picture a moment before the end,
// and a close pauses and lets the renderer settle before the session is
// closed. The shutdown runs on a thread of its own with a deadline
// (mediaSessionTeardown), since a renderer may still lock up.
class MediaFoundationPlayer : private ThreadTimer::Client {
public:
    // Posted to the notify window; wParam the open's id, lParam the event type.
    static const UINT eventMessage = WM_APP + 0x20;

    MediaFoundationPlayer();
    ~MediaFoundationPlayer();  // closes

    // Opens path (ANSI) to be drawn into videoWindow, which must be a
    // top-level window: the renderer draws nothing into a child under Wine.
    // An open file is closed first. Throws MediaFoundationException when this
    // way cannot play the file (the caller may try MCI), another Exception
    // for a bad window or a lack of memory; a failure leaves it closed.
    void open(HWND videoWindow, HWND notifyWindow, const char* path);
    // Starts the open file at a position; once per open (later seeks are not
    // reliable under Wine). A position past the end throws Exception 87.
    void play(DWORD fromMilliseconds);
    // Halts the picture and keeps the position it had reached.
    void stop();
    // Never throws, and waits for Media Foundation only until a deadline.
    void close();

    // Throws when the sound that plays cannot be set as asked: silence is
    // never lost without a word.
    void setMuted(bool muted);
    // Where the picture goes in the video window's client area, and whether
    // it keeps its proportions (black bars) or fills the area. Kept for the
    // next open too; placing the picture never throws.
    void setDestination(const Bounds& area);
    void setKeepAspect(bool keep);

    bool isOpen() const { return static_cast<bool>(session); }
    // The picture's own size with square pixels, as Bounds(0, 0, width, height);
    // empty for a file without a picture.
    Bounds nativeSize() const;
    DWORD lengthMilliseconds() const { return length; }
    DWORD getPositionMilliseconds();
    // Whether the file's sound plays: false without a sound track, and where
    // no sound can be played (no sound device) the picture plays without it.
    bool playsSound() const { return sound; }
    // Whether the sound renderer has its sound off; false where none plays.
    bool soundMuted();

    // Takes one eventMessage: true, once per open, when it tells that the
    // current file has played to its end (or failed while playing). The
    // messages of earlier opens are never taken for the current one.
    bool takeEvent(WPARAM wParam, LPARAM lParam);

private:
    MediaFoundationPlayer(const MediaFoundationPlayer&) = delete;
    MediaFoundationPlayer& operator=(const MediaFoundationPlayer&) = delete;

    enum class State { closed, ready, playing, stopped };

    const MediaFoundationCalls& startUp();
    void openSession(const MediaFoundationCalls& mf, const char* path);
    void setTopology(const MediaFoundationCalls& mf, bool withSound);
    void findServices(const MediaFoundationCalls& mf);
    // Waits for a step of the session (a MediaSessionEvents arrival); a failure or no answer throws.
    void waitForStep(unsigned step);
    void placePicture();
    DWORD clockMilliseconds();
    void onTimer() override;
    void pause();
    void postEnd();
    void shutDownSinks();
    void releaseSession();

    State state;
    bool comStarted;  // CoInitializeEx to be balanced
    bool mfStarted;   // MFStartup to be balanced
    WPARAM openId;
    HWND videoWindow;
    HWND notifyWindow;
    ComPointer<IMFMediaSession> session;
    ComPointer<IMFMediaSource> source;
    ComPointer<IMFPresentationDescriptor> presentation;
    ComPointer<IMFPresentationClock> clock;
    ComPointer<IMFVideoDisplayControl> display;
    ComPointer<IMFSimpleAudioVolume> volume;
    ComPointer<IMFActivate> videoSink;
    ComPointer<IMFActivate> soundSink;
    MediaSessionEvents* events;
    ThreadTimer clockWatch;  // runs while the file plays
    DWORD length;
    SIZE picture;
    bool sound;
    bool muted;
    bool keepAspect;
    Bounds destination;  // empty: the whole client area
    DWORD startedFrom;
    DWORD lastClock;
    bool paused;
    DWORD pausedAt;        // tick count of the pause
    DWORD pausedPosition;  // where the picture halted
    bool endTaken;
    const bool haltsBeforeEnd;  // under Wine: see above
};
