#include "playback/foundation/KeptMediaSession.h"

#include <mfapi.h>
#include <mferror.h>
#include <evr.h>

#include <initializer_list>

#include "base/Exception.h"
#include "playback/foundation/MediaFoundationCalls.h"
#include "playback/foundation/MediaFoundationException.h"
#include "playback/foundation/MediaSessionEvents.h"
#include "playback/foundation/MediaSessionTeardown.h"

namespace {

// How long the show's thread waits for a session to end before it leaves it
// to its thread: a moment, since the show goes on, or ends, at once.
const DWORD endMoment = 1000;

}  // namespace

KeptMediaSession::KeptMediaSession()
    : window(nullptr), events(nullptr), layout(), anyTopology(false), noSoundDevice(false) {}

KeptMediaSession::~KeptMediaSession() {
    end(nullptr, nullptr);
}

void KeptMediaSession::make(const MediaFoundationCalls& mf, HWND videoWindow, HWND notifyWindow, UINT message) {
    end(nullptr, nullptr);
    events = MediaSessionEvents::make(notifyWindow, message, 0);
    if (!events) throwOutOfMemory();
    throwIfFailed(mf.createMediaSession(nullptr, session.receive()));
    throwIfFailed(events->listen(session.get()));
    window = videoWindow;
}

void KeptMediaSession::setTopology(const MediaFoundationCalls& mf, IMFMediaSource* source,
                                   IMFPresentationDescriptor* presentation, WPARAM openId, DWORD milliseconds) {
    if (!session) throwWin32Error(ERROR_INVALID_FUNCTION);
    events->beginOpen(openId);
    try {
        trySetTopology(mf, source, presentation, !noSoundDevice, milliseconds);
    } catch (Exception* e) {
        auto* refused = dynamic_cast<MediaFoundationException*>(e);
        if (!layout.sound || !refused) throw;
        // The picture plays without the sound; without a sound device no
        // later file tries it again.
        if (static_cast<HRESULT>(refused->code) == MF_E_NO_AUDIO_PLAYBACK_DEVICE) noSoundDevice = true;
        dispose(e);
        trySetTopology(mf, source, presentation, false, milliseconds);
    }
    takeServices(mf);
}

// Sets one topology and waits for the session to have it ready, which is
// when its renderers can be asked for their services and the file started.
void KeptMediaSession::trySetTopology(const MediaFoundationCalls& mf, IMFMediaSource* source,
                                      IMFPresentationDescriptor* presentation, bool withSound, DWORD milliseconds) {
    ComPointer<IMFTopology> topology(
        MediaSessionTopology::build(mf, source, presentation, window, withSound, layout));
    const unsigned set = MediaSessionEvents::topologySet, ready = MediaSessionEvents::topologyReady,
                   failed = MediaSessionEvents::failed;
    events->forget(set | ready | failed);
    throwIfFailed(session->SetTopology(anyTopology ? MFSESSION_SETTOPOLOGY_IMMEDIATE : 0, topology.get()));
    anyTopology = true;
    for (const unsigned step : {set, ready}) {
        if (!events->waitFor(step | failed, milliseconds)) throwMediaFoundationError(HRESULT_FROM_WIN32(ERROR_TIMEOUT));
        if (events->hasArrived(failed)) throwMediaFoundationError(events->status(MediaSessionEvents::failed));
        throwIfFailed(events->status(static_cast<MediaSessionEvents::Arrival>(step)));
    }
}

// Once the topology is ready. The renderers are the same from file to
// file, so their services are asked for once; the clock with every topology.
void KeptMediaSession::takeServices(const MediaFoundationCalls& mf) {
    presentationClock.reset();
    ComPointer<IMFClock> anyClock;
    if (SUCCEEDED(session->GetClock(anyClock.receive()))) {
        anyClock->QueryInterface(__uuidof(IMFPresentationClock), presentationClock.receiveVoid());
    }
    if (layout.video && !displayControl) {
        throwIfFailed(mf.getService(session.get(), MR_VIDEO_RENDER_SERVICE, __uuidof(IMFVideoDisplayControl),
                                    displayControl.receiveVoid()));
    }
    // Only a session with a sound renderer has a volume; one that cannot be
    // had is an error only when the sound is to be off.
    if (layout.sound && !soundVolume) {
        mf.getService(session.get(), MR_POLICY_VOLUME_SERVICE, __uuidof(IMFSimpleAudioVolume),
                      soundVolume.receiveVoid());
    }
}

void KeptMediaSession::end(IMFMediaSource* first, IMFMediaSource* second) {
    if (events) events->detach();
    presentationClock.reset();
    displayControl.reset();
    soundVolume.reset();
    const mediaSessionTeardown::Parts parts = {session.detach(), events, {first, second}, layout.videoSink.detach(),
                                               layout.soundSink.detach()};
    events = nullptr;
    window = nullptr;
    anyTopology = false;
    layout.video = layout.sound = false;
    layout.picture.cx = layout.picture.cy = 0;
    if (parts.session || parts.events || first || second || parts.videoSink || parts.soundSink) {
        mediaSessionTeardown::shutDown(parts, endMoment);
    }
}
