#include "playback/foundation/MediaFoundationPlayer.h"

#include <mfapi.h>
#include <evr.h>

#include "base/Exception.h"
#include "base/RunsUnderWine.h"
#include "playback/foundation/MediaFoundation.h"
#include "playback/foundation/MediaFoundationCalls.h"
#include "playback/foundation/MediaFoundationException.h"
#include "playback/foundation/MediaFoundationSource.h"
#include "playback/foundation/MediaSessionEvents.h"
#include "playback/foundation/MediaSessionTeardown.h"
#include "playback/foundation/MediaSessionTopology.h"
#include "playback/foundation/SentMessageWait.h"

namespace {

// How long opening may take before the player gives up on it: it may have
// to load the codecs.
const DWORD openDeadline = 15000;

// The clock is looked at this often while a file plays. Under Wine the
// picture halts this long before the end, clear of the session's own end
// (which comes some 80 ms early there) even when a look comes late, and the
// renderer is given this long to settle after a pause before the session is
// closed.
const UINT clockWatchMilliseconds = 50;
const DWORD haltBeforeEnd = 300;
const DWORD settleMilliseconds = 250;

// How long a close waits for the session to close, and then to shut down;
// a busy machine may take seconds.
const DWORD closeDeadline = 3000;
const DWORD teardownDeadline = 10000;

// Every open of the process gets an id of its own, so that a late event of
// a closed file is never taken for the file after it.
WPARAM lastOpenId = 0;

const LONGLONG unitsPerMillisecond = 10000;  // Media Foundation counts 100 ns

}  // namespace

MediaFoundationPlayer::MediaFoundationPlayer()
    : state(State::closed), comStarted(false), mfStarted(false), openId(0), videoWindow(nullptr),
      notifyWindow(nullptr), events(nullptr), clockWatch(*this), length(0), picture(), sound(false),
      muted(false), keepAspect(false), startedFrom(0), lastClock(0), paused(false), pausedAt(0),
      pausedPosition(0), endTaken(false), haltsBeforeEnd(runsUnderWine()) {}

MediaFoundationPlayer::~MediaFoundationPlayer() {
    close();
    // Media Foundation stays up under a session whose shutdown never ended:
    // its work queues still hold that session's blocked work.
    if (mediaSessionTeardown::anyLeftBehind()) return;
    const MediaFoundationCalls* mf = MediaFoundation::calls();
    if (mf && mfStarted) mf->shutdown();
    if (mf && comStarted) mf->coUninitialize();
}

const MediaFoundationCalls& MediaFoundationPlayer::startUp() {
    const MediaFoundationCalls* mf = MediaFoundation::calls();
    if (!mf) throwMediaFoundationError(HRESULT_FROM_WIN32(ERROR_MOD_NOT_FOUND));
    if (!comStarted) {
        // A thread that has COM in another model already keeps it.
        comStarted = SUCCEEDED(mf->coInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    }
    if (!mfStarted) {
        throwIfFailed(mf->startup(MF_VERSION, MFSTARTUP_NOSOCKET));
        mfStarted = true;
    }
    return *mf;
}

void MediaFoundationPlayer::open(HWND video, HWND notify, const char* path) {
    close();
    if (!IsWindow(video)) throwWin32Error(ERROR_INVALID_WINDOW_HANDLE);
    if (GetWindowLongA(video, GWL_STYLE) & WS_CHILD) throwWin32Error(ERROR_INVALID_PARAMETER);
    const MediaFoundationCalls& mf = startUp();
    videoWindow = video;
    notifyWindow = notify;
    try {
        openSession(mf, path);
    } catch (Exception*) {
        close();
        throw;
    }
}

void MediaFoundationPlayer::openSession(const MediaFoundationCalls& mf, const char* path) {
    openId = ++lastOpenId;
    events = MediaSessionEvents::make(notifyWindow, eventMessage, openId);
    if (!events) throwOutOfMemory();
    throwIfFailed(mf.createMediaSession(nullptr, session.receive()));
    throwIfFailed(events->listen(session.get()));
    *source.receive() = openMediaSource(mf, path, openDeadline);
    throwIfFailed(source->CreatePresentationDescriptor(presentation.receive()));
    UINT64 duration = 0;
    if (SUCCEEDED(presentation->GetUINT64(MF_PD_DURATION, &duration))) {
        length = static_cast<DWORD>(duration / unitsPerMillisecond);
    }
    try {
        setTopology(mf, true);
        findServices(mf);
    } catch (Exception* e) {
        // Sound that cannot be played (no sound device, no decoder for it)
        // or cannot be silenced does not keep the picture from playing.
        if (!sound || !dynamic_cast<MediaFoundationException*>(e)) throw;
        dispose(e);
        setTopology(mf, false);
        findServices(mf);
    }
    state = State::ready;
}

void MediaFoundationPlayer::setTopology(const MediaFoundationCalls& mf, bool withSound) {
    MediaSessionTopology::Layout layout;
    ComPointer<IMFTopology> topology(
        MediaSessionTopology::build(mf, source.get(), presentation.get(), videoWindow, withSound, layout));
    shutDownSinks();  // those of a topology that failed
    videoSink.swap(layout.videoSink);
    soundSink.swap(layout.soundSink);
    sound = layout.sound;
    picture = layout.picture;
    events->forget(MediaSessionEvents::topologySet | MediaSessionEvents::topologyReady | MediaSessionEvents::failed);
    // A second topology replaces the one that failed.
    throwIfFailed(session->SetTopology(withSound ? 0 : MFSESSION_SETTOPOLOGY_IMMEDIATE, topology.get()));
    // The renderers' services are there once the topology is ready, not
    // when it is set.
    waitForStep(MediaSessionEvents::topologySet);
    throwIfFailed(events->status(MediaSessionEvents::topologySet));
    waitForStep(MediaSessionEvents::topologyReady);
}

void MediaFoundationPlayer::waitForStep(unsigned step) {
    if (!events->waitFor(step | MediaSessionEvents::failed, openDeadline)) {
        throwMediaFoundationError(HRESULT_FROM_WIN32(ERROR_TIMEOUT));
    }
    if (events->hasArrived(MediaSessionEvents::failed)) {
        throwMediaFoundationError(events->status(MediaSessionEvents::failed));
    }
}

void MediaFoundationPlayer::findServices(const MediaFoundationCalls& mf) {
    ComPointer<IMFClock> anyClock;
    if (SUCCEEDED(session->GetClock(anyClock.receive()))) {
        anyClock->QueryInterface(__uuidof(IMFPresentationClock), clock.receiveVoid());
    }
    // A picture that cannot be placed would stay where the renderer put it,
    // and sound that cannot be silenced would break the user's "no sound":
    // both are failures, the second one of the sound (it is then left out).
    display.reset();
    volume.reset();
    throwIfFailed(mf.getService(session.get(), MR_VIDEO_RENDER_SERVICE, __uuidof(IMFVideoDisplayControl),
                                display.receiveVoid()));
    // Only a session with an audio renderer has a volume.
    if (sound) {
        throwIfFailed(mf.getService(session.get(), MR_POLICY_VOLUME_SERVICE, __uuidof(IMFSimpleAudioVolume),
                                    volume.receiveVoid()));
    }
    placePicture();
    setMuted(muted);
}

void MediaFoundationPlayer::play(DWORD fromMilliseconds) {
    if (state != State::ready) throwWin32Error(ERROR_INVALID_FUNCTION);
    if (length != 0 && fromMilliseconds >= length) throwWin32Error(ERROR_INVALID_PARAMETER);
    placePicture();
    PROPVARIANT start;
    ZeroMemory(&start, sizeof start);
    start.vt = VT_I8;
    start.hVal.QuadPart = fromMilliseconds * unitsPerMillisecond;
    throwIfFailed(session->Start(&GUID_NULL, &start));
    state = State::playing;
    startedFrom = fromMilliseconds;
    lastClock = fromMilliseconds;
    clockWatch.start(clockWatchMilliseconds);
}

// Halts the picture where it is: a pause, which Wine's renderer survives
// where a stop of the clock may lock it up.
void MediaFoundationPlayer::pause() {
    if (paused) return;
    pausedPosition = getPositionMilliseconds();
    paused = true;
    pausedAt = GetTickCount();
    session->Pause();
}

void MediaFoundationPlayer::stop() {
    if (state != State::playing) return;
    clockWatch.stop();
    pause();
    state = State::stopped;
}

void MediaFoundationPlayer::onTimer() {
    if (state != State::playing || endTaken) {
        clockWatch.stop();
        return;
    }
    if (paused) {
        if (GetTickCount() - pausedAt >= settleMilliseconds) postEnd();
        return;
    }
    const DWORD now = clockMilliseconds();
    // After an end of its own the session's clock reads 0 again.
    const bool stoppedByItself = lastClock > startedFrom + 1000 && now + 1000 < lastClock;
    if (now > lastClock) lastClock = now;
    if (stoppedByItself) {
        postEnd();
    } else if (haltsBeforeEnd && length != 0 && now + haltBeforeEnd >= length) {
        pause();
    }
}

void MediaFoundationPlayer::postEnd() {
    clockWatch.stop();
    if (notifyWindow) PostMessageA(notifyWindow, eventMessage, openId, MEEndOfPresentation);
}

void MediaFoundationPlayer::close() {
    clockWatch.stop();
    if (!session) {
        releaseSession();
        return;
    }
    events->detach();
    // A session that reached its end by itself has stopped its clock already.
    if (haltsBeforeEnd && state == State::playing && !endTaken) pause();
    if (haltsBeforeEnd && paused) {
        const DWORD settled = GetTickCount() - pausedAt;
        if (settled < settleMilliseconds) waitHandlingSentMessages(nullptr, settleMilliseconds - settled);
    }
    // Closed before it is shut down, as documented: only a closed session
    // lets its renderer go. One shut down while its clock runs keeps the
    // renderer with its Direct3D device and threads, some 30 MB a file under
    // Wine, until a long show runs out of memory. The picture is paused and
    // has settled by now, so the clock stops with no frame on its way: Wine's
    // renderer, whose clock sink and presenter take their two locks in
    // opposite orders, locked up in one close of two when closed while
    // playing. A close that does not answer in time is left to the shutdown.
    events->forget(MediaSessionEvents::closed);
    if (SUCCEEDED(session->Close())) events->waitFor(MediaSessionEvents::closed, closeDeadline);
    if (source) source->Shutdown();
    // The session and the sinks go down on a thread of their own, so that a
    // renderer that locks up never holds the show.
    display.reset();
    volume.reset();
    clock.reset();
    mediaSessionTeardown::shutDown(session.detach(), videoSink.detach(), soundSink.detach(), teardownDeadline);
    releaseSession();
}

void MediaFoundationPlayer::shutDownSinks() {
    if (videoSink) videoSink->ShutdownObject();
    if (soundSink) soundSink->ShutdownObject();
    videoSink.reset();
    soundSink.reset();
}

void MediaFoundationPlayer::releaseSession() {
    display.reset();
    volume.reset();
    clock.reset();
    presentation.reset();
    source.reset();
    session.reset();
    if (events) events->Release();
    events = nullptr;
    state = State::closed;
    length = 0;
    picture.cx = picture.cy = 0;
    sound = false;
    startedFrom = lastClock = pausedAt = pausedPosition = 0;
    paused = false;
    endTaken = false;
}

void MediaFoundationPlayer::setMuted(bool mute) {
    muted = mute;
    if (volume) throwIfFailed(volume->SetMute(mute ? TRUE : FALSE));
}

bool MediaFoundationPlayer::soundMuted() {
    BOOL mute = FALSE;
    return volume && SUCCEEDED(volume->GetMute(&mute)) && mute;
}

void MediaFoundationPlayer::setDestination(const Bounds& area) {
    destination = area;
    placePicture();
}

void MediaFoundationPlayer::setKeepAspect(bool keep) {
    keepAspect = keep;
    placePicture();
}

void MediaFoundationPlayer::placePicture() {
    if (!display) return;
    display->SetAspectRatioMode(keepAspect ? MFVideoARMode_PreservePicture : MFVideoARMode_None);
    RECT area = {destination.left, destination.top, destination.left + destination.width,
                 destination.top + destination.height};
    if (destination.width <= 0 || destination.height <= 0) GetClientRect(videoWindow, &area);
    display->SetVideoPosition(nullptr, &area);
}

Bounds MediaFoundationPlayer::nativeSize() const {
    return Bounds(0, 0, picture.cx, picture.cy);
}

DWORD MediaFoundationPlayer::clockMilliseconds() {
    MFTIME time = 0;
    if (!clock || FAILED(clock->GetTime(&time)) || time < 0) return 0;
    return static_cast<DWORD>(time / unitsPerMillisecond);
}

DWORD MediaFoundationPlayer::getPositionMilliseconds() {
    if (state == State::closed || state == State::ready) return 0;
    if (endTaken) return length;
    if (paused) return pausedPosition;
    DWORD position = clockMilliseconds();
    // The clock reads 0 until the start has taken effect.
    if (position < startedFrom) position = startedFrom;
    return length != 0 && position > length ? length : position;
}

bool MediaFoundationPlayer::takeEvent(WPARAM wParam, LPARAM lParam) {
    if (!session || wParam != openId || state != State::playing || endTaken) return false;
    if (lParam != MEEndOfPresentation && lParam != MEError) return false;
    endTaken = true;
    clockWatch.stop();
    return true;
}
