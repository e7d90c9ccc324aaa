#include "playback/foundation/MediaFoundationPlayer.h"

#include <mfapi.h>
#include <evr.h>

#include "base/Exception.h"
#include "playback/foundation/MediaFoundation.h"
#include "playback/foundation/MediaFoundationCalls.h"
#include "playback/foundation/MediaFoundationException.h"
#include "playback/foundation/MediaFoundationSource.h"
#include "playback/foundation/MediaSessionTeardown.h"

namespace {

// How long opening may take before the player gives up on it: it may have
// to load the codecs.
const DWORD openDeadline = 15000;
// How long a kept session may take to have the next file ready before it is
// made anew; shorter, since the last picture stands still meanwhile.
const DWORD switchDeadline = 3000;

// The clock is looked at this often while a file plays. A session that has
// not told the end this long after its clock passed the file's length has
// stalled (Wine's may, after a switch): the clock tells the end then.
const UINT clockWatchMilliseconds = 50;
const DWORD endGraceMilliseconds = 500;

// Every open of the process gets an id of its own, so that a late event of
// a closed file is never taken for the file after it.
WPARAM lastOpenId = 0;

const LONGLONG unitsPerMillisecond = 10000;  // Media Foundation counts 100 ns

}  // namespace

MediaFoundationPlayer::MediaFoundationPlayer()
    : state(State::closed), comStarted(false), mfStarted(false), openId(0), notifyWindow(nullptr),
      clockWatch(*this), length(0), picture(), sound(false), muted(false), keepAspect(false), startedFrom(0),
      lastClock(0), startedAt(0), paused(false), pausedPosition(0), endTaken(false), endHeld(false) {}

MediaFoundationPlayer::~MediaFoundationPlayer() {
    end();
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
    // A renderer draws into one window only.
    if (session.videoWindow() != video || notifyWindow != notify) end();
    notifyWindow = notify;
    const bool kept = session.made();
    // A file that cannot be read this way is refused before the session is
    // touched: a kept session stays for the next file.
    resolve(mf, path);
    try {
        start(mf, video, kept);
    } catch (Exception* e) {
        if (!kept || !dynamic_cast<MediaFoundationException*>(e)) {
            end();
            throw;
        }
        // The kept session did not take the file: a new one, once.
        dispose(e);
        end();
        try {
            resolve(mf, path);
            start(mf, video, false);
        } catch (Exception*) {
            end();
            throw;
        }
    }
}

void MediaFoundationPlayer::resolve(const MediaFoundationCalls& mf, const char* path) {
    ComPointer<IMFMediaSource> resolved(openMediaSource(mf, path, openDeadline));
    source.swap(resolved);
}

void MediaFoundationPlayer::start(const MediaFoundationCalls& mf, HWND video, bool sessionKept) {
    openId = ++lastOpenId;
    if (!sessionKept) session.make(mf, video, notifyWindow, eventMessage);
    throwIfFailed(source->CreatePresentationDescriptor(presentation.receive()));
    UINT64 duration = 0;
    if (SUCCEEDED(presentation->GetUINT64(MF_PD_DURATION, &duration))) {
        length = static_cast<DWORD>(duration / unitsPerMillisecond);
    }
    session.setTopology(mf, source.get(), presentation.get(), openId, sessionKept ? switchDeadline : openDeadline);
    // The file before has left the session's topology.
    if (endedSource) endedSource->Shutdown();
    endedSource.reset();
    sound = session.playsSound();
    picture = session.picture();
    state = State::ready;
    placePicture();
    applyMute();
}

void MediaFoundationPlayer::play(DWORD fromMilliseconds) {
    if (state != State::ready) throwWin32Error(ERROR_INVALID_FUNCTION);
    if (length != 0 && fromMilliseconds >= length) throwWin32Error(ERROR_INVALID_PARAMETER);
    placePicture();
    PROPVARIANT start;
    ZeroMemory(&start, sizeof start);
    start.vt = VT_I8;
    start.hVal.QuadPart = fromMilliseconds * unitsPerMillisecond;
    throwIfFailed(session.get()->Start(&GUID_NULL, &start));
    state = State::playing;
    startedAt = GetTickCount();
    startedFrom = fromMilliseconds;
    lastClock = fromMilliseconds;
    clockWatch.start(clockWatchMilliseconds);
}

void MediaFoundationPlayer::stop() {
    if (state != State::playing) return;
    clockWatch.stop();
    pausedPosition = getPositionMilliseconds();
    paused = true;
    session.get()->Pause();
    state = State::stopped;
}

void MediaFoundationPlayer::onTimer() {
    if (state != State::playing || endTaken) {
        clockWatch.stop();
        return;
    }
    const DWORD now = clockMilliseconds();
    // After an end of its own the session's clock reads 0 again.
    const bool stoppedByItself = lastClock > startedFrom + 1000 && now + 1000 < lastClock;
    if (now > lastClock) lastClock = now;
    const bool pastTheEnd = length != 0 && now >= length + endGraceMilliseconds;
    // An end that comes before the file's time has run waits for it (see takeEvent).
    if (stoppedByItself) endHeld = true;
    if ((endHeld && timeHasRun()) || pastTheEnd) postEnd();
}

void MediaFoundationPlayer::postEnd() {
    clockWatch.stop();
    if (notifyWindow) PostMessageA(notifyWindow, eventMessage, openId, MEEndOfPresentation);
}

void MediaFoundationPlayer::close() {
    clockWatch.stop();
    if (state == State::closed) return;
    // A file that reached its end, by the session's word or by the clock's,
    // leaves the session for the next file: the switch tells whether the
    // session still answers, and makes it anew if not. After any other close
    // (stopped, given up as stalled, never started) the session ends.
    if (state != State::playing || !endTaken) {
        end();
        return;
    }
    // The file's source stays in the session's topology until the next one replaces it.
    if (endedSource) endedSource->Shutdown();
    endedSource.swap(source);
    source.reset();
    forgetFile();
}

void MediaFoundationPlayer::end() {
    clockWatch.stop();
    session.end(source.detach(), endedSource.detach());
    forgetFile();
}

void MediaFoundationPlayer::forgetFile() {
    presentation.reset();
    state = State::closed;
    length = 0;
    picture.cx = picture.cy = 0;
    sound = false;
    startedFrom = lastClock = pausedPosition = 0;
    paused = false;
    endTaken = endHeld = false;
}

void MediaFoundationPlayer::setMuted(bool mute) {
    muted = mute;
    if (isOpen()) applyMute();
}

// Sound off is never lost: a file whose sound plays and cannot be silenced
// does not play this way.
void MediaFoundationPlayer::applyMute() {
    if (!sound) return;
    IMFSimpleAudioVolume* volume = session.volume();
    const HRESULT result = volume ? volume->SetMute(muted ? TRUE : FALSE) : E_NOINTERFACE;
    if (FAILED(result) && muted) throwMediaFoundationError(result);
}

bool MediaFoundationPlayer::soundMuted() {
    IMFSimpleAudioVolume* volume = sound ? session.volume() : nullptr;
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
    IMFVideoDisplayControl* display = session.display();
    if (!display) return;
    display->SetAspectRatioMode(keepAspect ? MFVideoARMode_PreservePicture : MFVideoARMode_None);
    RECT area = {destination.left, destination.top, destination.left + destination.width,
                 destination.top + destination.height};
    if (destination.width <= 0 || destination.height <= 0) GetClientRect(session.videoWindow(), &area);
    display->SetVideoPosition(nullptr, &area);
}

Bounds MediaFoundationPlayer::nativeSize() const {
    return Bounds(0, 0, picture.cx, picture.cy);
}

DWORD MediaFoundationPlayer::clockMilliseconds() {
    IMFPresentationClock* clock = session.clock();
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

// Whether the file has played as long as it lasts since it started.
bool MediaFoundationPlayer::timeHasRun() const {
    return GetTickCount() - startedAt >= (length > startedFrom ? length - startedFrom : 0);
}

bool MediaFoundationPlayer::takeEvent(WPARAM wParam, LPARAM lParam) {
    if (wParam != openId || state != State::playing || endTaken) return false;
    if (lParam != MEEndOfPresentation && lParam != MEError) return false;
    // Wine's session may tell the end of a short clip once its source has
    // handed over the last frame, before the renderer has shown them: the
    // end waits until the clip's time has run.
    if (lParam == MEEndOfPresentation && !timeHasRun()) {
        endHeld = true;
        return false;
    }
    endTaken = true;
    clockWatch.stop();
    return true;
}
