#pragma once
#include <windows.h>

#include "base/Bounds.h"
#include "playback/foundation/ComPointer.h"
#include "playback/foundation/KeptMediaSession.h"
#include "playback/foundation/ThreadTimer.h"

struct IMFMediaSource;
struct IMFPresentationDescriptor;
struct MediaFoundationCalls;

// Plays media files one after another through Media Foundation's media
// session and its enhanced video renderer, for the files that MCI cannot
// play. All of it runs on the caller's thread, apart from what Media
// Foundation runs on its own; no wait for Media Foundation is without a
// deadline.
//
// One session and one renderer serve file after file (KeptMediaSession):
// a file that has played to its end leaves its last picture up, and the
// next file opened into the same window replaces it with its own first one.
// A switch that fails makes the session anew, once. The session ends with
// end(), or when a file is closed before its end.
//
// The end of a file arrives as eventMessage at the notify window (wParam:
// the open that produced it); takeEvent() tells which message is the end of
// the current file. The end is told by the clock as well as by the session,
// whose own end event may not come (Wine's session may stall after a
// switch).
class MediaFoundationPlayer : private ThreadTimer::Client {
public:
    // Posted to the notify window; wParam the open's id, lParam the event type.
    static const UINT eventMessage = WM_APP + 0x20;

    MediaFoundationPlayer();
    ~MediaFoundationPlayer();  // ends

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
    // Closes the file. The session stays for the next file when this one
    // played to its end, else it ends. Never throws, and waits for Media
    // Foundation only a moment.
    void close();
    // Closes the file and ends the session: the renderer lets go of the
    // window. Never throws, and waits for Media Foundation only a moment.
    void end();

    // Sound off throws MediaFoundationException where the file's sound
    // plays and cannot be silenced; it is kept for the next open too.
    void setMuted(bool muted);
    // Where the picture goes in the video window's client area, and whether
    // it keeps its proportions (black bars) or fills the area. Kept for the
    // next open too; placing the picture never throws.
    void setDestination(const Bounds& area);
    void setKeepAspect(bool keep);

    bool isOpen() const { return state != State::closed; }
    // A session is kept, its renderer holding the last picture in the window.
    bool keepsSession() const { return session.made(); }
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
    void resolve(const MediaFoundationCalls& mf, const char* path);
    void start(const MediaFoundationCalls& mf, HWND video, bool sessionKept);
    void applyMute();
    void placePicture();
    DWORD clockMilliseconds();
    void onTimer() override;
    void postEnd();
    bool timeHasRun() const;
    void forgetFile();

    State state;
    bool comStarted;  // CoInitializeEx to be balanced
    bool mfStarted;   // MFStartup to be balanced
    WPARAM openId;
    HWND notifyWindow;
    KeptMediaSession session;
    ComPointer<IMFMediaSource> source;
    ComPointer<IMFMediaSource> endedSource;  // in the session's topology until the next one is set
    ComPointer<IMFPresentationDescriptor> presentation;
    ThreadTimer clockWatch;  // runs while the file plays
    DWORD length;
    SIZE picture;
    bool sound;
    bool muted;
    bool keepAspect;
    Bounds destination;  // empty: the whole client area
    DWORD startedFrom;
    DWORD lastClock;
    DWORD startedAt;  // tick count of the start
    bool paused;
    DWORD pausedPosition;  // where the picture halted
    bool endTaken;
    bool endHeld;  // the session told the end before the file's time had run
};
