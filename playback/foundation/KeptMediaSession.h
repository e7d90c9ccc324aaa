#pragma once
#include <windows.h>

#include "playback/foundation/ComPointer.h"
#include "playback/foundation/MediaSessionTopology.h"

struct IMFMediaSession;
struct IMFMediaSource;
struct IMFPresentationDescriptor;
struct IMFPresentationClock;
struct IMFVideoDisplayControl;
struct IMFSimpleAudioVolume;
struct IMFActivate;
struct MediaFoundationCalls;
class MediaSessionEvents;

// The media session of a show with its renderers, made at the first Media
// Foundation file and kept from file to file: the next file's topology,
// built on the same renderer objects, replaces the one that ended on the
// same session at once (MFSESSION_SETTOPOLOGY_IMMEDIATE), so that the last
// picture stays up until the next file's first one. Under Wine a topology
// queued without that flag never starts, and a new renderer starts black.
class KeptMediaSession {
public:
    KeptMediaSession();
    ~KeptMediaSession();  // ends it

    bool made() const { return static_cast<bool>(session); }
    HWND videoWindow() const { return window; }

    // Makes the session for a video window; the ends and failures of its
    // files are posted to notifyWindow as message. Throws
    // MediaFoundationException.
    void make(const MediaFoundationCalls& mf, HWND videoWindow, HWND notifyWindow, UINT message);
    // Sets the topology that plays source (its first picture and sound
    // streams) as open openId and waits until it is ready, at most
    // milliseconds; then takes the renderer's display control and, with
    // sound, the volume. Sound that cannot be played (no sound device, no
    // decoder for it) is left out. Throws MediaFoundationException when the
    // source cannot play this way or the session does not answer.
    void setTopology(const MediaFoundationCalls& mf, IMFMediaSource* source, IMFPresentationDescriptor* presentation,
                     WPARAM openId, DWORD milliseconds);
    // What the topology set last plays.
    bool playsSound() const { return layout.sound; }
    SIZE picture() const { return layout.picture; }

    IMFMediaSession* get() const { return session.get(); }
    IMFPresentationClock* clock() const { return presentationClock.get(); }
    IMFVideoDisplayControl* display() const { return displayControl.get(); }
    IMFSimpleAudioVolume* volume() const { return soundVolume.get(); }

    // Hands the session, its renderers and the sources given (which it takes
    // over; any may be null) to a thread that ends them, and waits for that
    // a moment at most. Never throws.
    void end(IMFMediaSource* first, IMFMediaSource* second);

private:
    KeptMediaSession(const KeptMediaSession&) = delete;
    KeptMediaSession& operator=(const KeptMediaSession&) = delete;

    void trySetTopology(const MediaFoundationCalls& mf, IMFMediaSource* source,
                        IMFPresentationDescriptor* presentation, bool withSound, DWORD milliseconds);
    void takeServices(const MediaFoundationCalls& mf);

    HWND window;
    ComPointer<IMFMediaSession> session;
    MediaSessionEvents* events;
    MediaSessionTopology::Layout layout;  // with the renderers, kept for every topology
    ComPointer<IMFPresentationClock> presentationClock;
    ComPointer<IMFVideoDisplayControl> displayControl;
    ComPointer<IMFSimpleAudioVolume> soundVolume;
    bool anyTopology;    // the next one replaces it
    bool noSoundDevice;  // a topology with sound failed for want of one
};
