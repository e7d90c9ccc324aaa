#include "playback/show/ShowController.h"

#include <mmsystem.h>

#include <new>

#include "base/Bounds.h"
#include "base/CountedString.h"
#include "base/Exception.h"
#include "base/OwnedHandles.h"
#include "host/ClosingRules.h"
#include "host/ExitDeadline.h"
#include "host/HostState.h"
#include "playback/playlist/FolderSearch.h"
#include "playback/show/ForwardingVideoView.h"
#include "playback/playlist/PathBatch.h"
#include "playback/show/PictureArea.h"
#include "playback/playlist/Playlist.h"
#include "playback/show/PlaylistFeeder.h"
#include "playback/playlist/SearchMessages.h"
#include "playback/show/ShowMessages.h"
#include "playback/show/StallWatch.h"
#include "resources/ResourceIds.h"
#include "settings/Settings.h"

namespace {

const int viewControlId = 0x65;
const COLORREF captionColor = RGB(0, 0, 255);
const UINT_PTR inputWatchTimer = 0x4356;
const UINT inputWatchMilliseconds = 100;
const UINT_PTR stallWatchTimer = 0x5357;
const UINT stallWatchMilliseconds = 1000;
// After a pass in which every file stalled, the show rests on black this long
// before it starts over.
const UINT_PTR stalledPassTimer = 0x5350;
const UINT stalledPassMilliseconds = 2000;

// Process-wide: the host makes one saver window per process, so these are
// made at the first call and never again. Settings, Playlist and the feeder
// are deleted at WM_DESTROY; the view and the search objects outlive them.
Settings* settings = nullptr;
Playlist* playlist = nullptr;
PlaylistFeeder* feeder = nullptr;
Bounds clientRect;
PictureArea pictureArea;  // where a picture that keeps its proportions goes
StallWatch stallWatch;
bool previewMode = false;
// Set only while the file that has just ended is being closed: some drivers
// hand activation around while their video window goes away, and that must
// not end the show.
bool switchingFile = false;
// Set while the show rests after a pass in which every file stalled.
bool restingAfterStalls = false;

// The pointer and the mouse buttons as the last look at them found them.
struct WatchedInput {
    POINT cursor;
    bool buttonDown[3];
};
WatchedInput watched;

const int watchedKeys[3] = {VK_LBUTTON, VK_RBUTTON, VK_MBUTTON};
const UINT buttonMessages[3] = {WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MBUTTONDOWN};

ForwardingVideoView& view() {
    static ForwardingVideoView instance;
    return instance;
}

FolderSearch& folderSearch() {
    static FolderSearch instance;
    return instance;
}

// A failed allocation leaves the pointer null; WM_CREATE reports it.
template <class T>
T* makeOrNull() {
    try {
        return new (std::nothrow) T;
    } catch (Exception* e) {
        dispose(e);
        return nullptr;
    }
}

void makeObjectsOnce() {
    static bool made = false;
    if (made) return;
    made = true;
    view();
    settings = makeOrNull<Settings>();
    playlist = makeOrNull<Playlist>();  // seeds the random generator
    feeder = makeOrNull<PlaylistFeeder>();
}

CountedString productName() {
    CountedString name;
    name.loadString(nullptr, IDS_PRODUCT_NAME);
    return name;
}

// Some drivers (the DirectShow one, for mpg and wmv) draw the video in a
// window of their own, run by a thread of their own, laid over the view: the
// mouse over the picture reaches that window, never the show. So the pointer
// and the buttons are also looked at on a timer, and a change is handed to
// the closing rules as the input it stands for; they apply the same
// threshold to it as to any other movement.
void startInputWatch(HWND window) {
    GetCursorPos(&watched.cursor);
    for (int i = 0; i < 3; ++i) watched.buttonDown[i] = (GetAsyncKeyState(watchedKeys[i]) & 0x8000) != 0;
    SetTimer(window, inputWatchTimer, inputWatchMilliseconds, nullptr);
}

void onInputWatch(HWND window) {
    POINT cursor;
    if (GetCursorPos(&cursor) && (cursor.x != watched.cursor.x || cursor.y != watched.cursor.y)) {
        watched.cursor = cursor;
        POINT client = cursor;
        ScreenToClient(window, &client);
        PostMessageA(window, WM_MOUSEMOVE, 0, MAKELPARAM(client.x, client.y));
    }
    for (int i = 0; i < 3; ++i) {
        const bool down = (GetAsyncKeyState(watchedKeys[i]) & 0x8000) != 0;
        if (down && !watched.buttonDown[i]) PostMessageA(window, buttonMessages[i], 0, 0);
        watched.buttonDown[i] = down;
    }
}

// Loads the settings, and in the full-screen show starts the search that
// fills the play list and lays the view over the window. -1 refuses the
// window: an entry that cannot be made absolute, or any other failure.
LRESULT onCreate(HWND window) {
    try {
        GetClientRect(window, clientRect.asRect());
        // The host knows whether it was given a preview parent; the window's
        // height does not tell, since the full-screen window spans every
        // monitor and may be taller than the primary one.
        previewMode = hostState().isPreview;
        if (!settings || !playlist) throwOutOfMemory();
        settings->bind(productName() + ".ini");
        settings->load();
        if (previewMode) return 0;

        if (!feeder) throwOutOfMemory();
        // The window answers at once whatever the folders hold: they are
        // searched on a thread of their own, and the files arrive as messages.
        const bool resumeAtOnce = feeder->begin(*playlist, *settings);
        ForwardingVideoView::registerClass();
        view().create(window, viewControlId, clientRect, 0, false);
        view().subclass(true);
        startInputWatch(window);
        pictureArea.measure(window, clientRect);
        SetTimer(window, stallWatchTimer, stallWatchMilliseconds, nullptr);
        // Playing starts once the window exists and the loop runs; the
        // search's first files come after the start.
        PostMessageA(window, WM_SHOW_START, resumeAtOnce ? 1 : 0, 0);
        folderSearch().start(window, settings->entries);
        return 0;
    } catch (Exception* e) {
        dispose(e);
        return -1;
    }
}

// The length of the open file; 0 when the driver cannot tell.
DWORD lengthOfOpenFile() {
    try {
        return view().getLengthMilliseconds();
    } catch (Exception* e) {
        dispose(e);
        return 0;
    }
}

// Opens and starts one file; the caller has locked the view's drawing.
void playFile(const CountedString& path, DWORD fromMinutes, DWORD fromSeconds) {
    ForwardingVideoView& v = view();
    v.open(path);
    if (!settings->sound) v.setAudio(false, MCI_SET_AUDIO_ALL);
    v.setKeepAspect(settings->keepAspect != 0);
    v.setDestination(settings->keepAspect ? pictureArea.destinationFor(v) : clientRect);
    const DWORD length = lengthOfOpenFile();
    LockWindowUpdate(nullptr);
    v.play(fromMinutes, fromSeconds, 0, 0);  // the end comes back as WM_SHOW_NEXT
    const unsigned long long from = (fromMinutes * 60ull + fromSeconds) * 1000ull;
    stallWatch.fileStarted(from < MAXDWORD ? static_cast<DWORD>(from) : MAXDWORD, length, GetTickCount());
    SetCursor(nullptr);
}

// A media error ends the whole show through the host's ordinary closing.
void endAfterMediaError(HWND window, Exception* e) {
    LockWindowUpdate(nullptr);
    dispose(e);
    PostMessageA(window, WM_CLOSE, 0, 0);
}

void switchToNextFile();

LRESULT onShowStart(HWND window, bool atResumePoint) {
    try {
        if (atResumePoint) {
            LockWindowUpdate(view().handle());
            // A negative stored number wraps, as the device's unsigned
            // arithmetic would: a position far beyond any end.
            playFile(feeder->resumeFile(), static_cast<DWORD>(settings->resumeMinutes),
                     static_cast<DWORD>(settings->resumeSeconds));
        } else {
            switchToNextFile();
        }
    } catch (Exception* e) {
        endAfterMediaError(window, e);
    }
    return 0;
}

// keepPicture: a next file follows at once, and a Media Foundation picture
// stays until it draws its own.
void closeEndedFile(bool keepPicture) {
    stallWatch.stop();
    switchingFile = true;
    try {
        if (keepPicture) {
            view().closeBeforeNext();
        } else {
            view().close();
        }
    } catch (Exception*) {
        switchingFile = false;
        throw;
    }
    switchingFile = false;
    // A file given up as stalled may still report its end: that word, queued
    // now, belongs to the closed device, not to the file that plays next
    // (which may even get the same device number).
    MSG staleEnd;
    while (PeekMessageA(&staleEnd, view().handle(), MM_MCINOTIFY, MM_MCINOTIFY, PM_REMOVE)) {
    }
}

// Closes the ended file and starts the next one of the play order. When the
// search has not delivered that one yet, the ended file stays open on its
// last frame (and names the resume point) until a batch brings it.
void switchToNextFile() {
    if (!feeder->nextKnown()) {
        feeder->wait();
        return;
    }
    LockWindowUpdate(view().handle());
    if (view().isOpen()) closeEndedFile(true);
    playFile(feeder->next(), 0, 0);
}

// Goes on to the next file, as at the end of the current one.
LRESULT playNextFile(HWND window) {
    try {
        switchToNextFile();
    } catch (Exception* e) {
        endAfterMediaError(window, e);
    }
    return 0;
}

// Takes what the search has for the show: the oldest batch of files found,
// and, once every file is taken, the end. The files join the play list and
// the show goes on if it was waiting. Called for the search's messages and
// on the stall watch's timer, so that nothing waits for a message that
// could not be posted. A list that turned out empty ends the show by itself,
// as one that never started: no closing rules, nothing stored (a stored file
// that played meanwhile is closed first, so that its point stays as it was).
LRESULT takeSearchNews(HWND window) {
    if (feeder->searchOver()) return 0;
    try {
        PathBatch batch;
        folderSearch().take(batch);
        feeder->take(batch);
        bool complete = false;
        if (folderSearch().allTaken(complete)) {
            feeder->searchEnded(complete);
            if (playlist->count() == 0) {
                view().close();
                DestroyWindow(window);
                return 0;
            }
        } else if (folderSearch().anyLeft()) {
            // The rest after whatever input came meanwhile.
            PostMessageA(window, WM_SEARCH_FOUND, 0, 0);
        }
        if (feeder->waiting() && !restingAfterStalls) switchToNextFile();
    } catch (Exception* e) {
        endAfterMediaError(window, e);
    }
    return 0;
}

LRESULT onShowNext(HWND window, WPARAM openNumber) {
    // The end of a file closed before (given up as stalled, say) must not
    // cut the one that plays now.
    if (openNumber != view().openNumber()) return 0;
    stallWatch.fileEnded();
    return playNextFile(window);
}

// A pass in which every file stalled: the show rests on black for a moment,
// then starts over. Closing the file ends its sound and keeps the last
// frame of a damaged clip from standing for the whole rest.
void restAfterStalledPass(HWND window) {
    try {
        LockWindowUpdate(view().handle());
        closeEndedFile(false);
        LockWindowUpdate(nullptr);
    } catch (Exception* e) {
        endAfterMediaError(window, e);
        return;
    }
    restingAfterStalls = true;
    SetTimer(window, stalledPassTimer, stalledPassMilliseconds, nullptr);
}

void onRestOver(HWND window) {
    KillTimer(window, stalledPassTimer);
    if (!restingAfterStalls) return;
    restingAfterStalls = false;
    playNextFile(window);
}

// A file whose position stands still while it is meant to be playing, or
// that has outlived its length, counts as ended. A stall never ends the show
// by itself: only a media error does.
void onStallWatch(HWND window) {
    takeSearchNews(window);
    if (!stallWatch.watching() || !view().isOpen()) return;
    const DWORD now = GetTickCount();
    bool stalled = false;
    try {
        stalled = stallWatch.look(view().getPositionMilliseconds(), now);
    } catch (Exception* e) {
        dispose(e);  // no reading this time; the length still bounds the file
        stalled = stallWatch.outlived(now);
    }
    if (!stalled) return;
    // A pass is whole only once the search has delivered every file.
    const bool wholePass = stallWatch.wholePassStalled(playlist->place(), playlist->count());
    if (wholePass && feeder->searchComplete()) {
        restAfterStalledPass(window);
        return;
    }
    playNextFile(window);
}

// Writes the point whole, or removes it by the resume option: the deadline
// of the show's end waits for the write.
void saveResumePoint(const CountedString& name, DWORD minutes, DWORD seconds) {
    ExitDeadline::Hold whole;
    settings->saveResumePoint(name, static_cast<int>(minutes), static_cast<int>(seconds));
}

// Stores the resume point (or removes it, by the resume option), then lets
// go of the file. After a failed open nothing is open, and the point an
// earlier show stored stays as it was.
//
// The point is read and stored while the file still plays, before any stop:
// Wine's DirectShow MCI driver (mciqtz32, for mpg and wmv) puts the position
// of an MPEG-1 file back to where the play began when it stops, and under
// Wine 10 that stop can block for ever: its IMediaControl::Stop waits for the
// MPEG-I splitter's streaming thread, which hangs pushing a sample into the
// MPEG video decoder that the same stop has already torn down. The host's
// ExitDeadline ends the process then; the point is stored by that time.
void storeResumePoint(ForwardingVideoView& v) {
    try {
        if (feeder->waiting() || restingAfterStalls) {
            // Between files: the one that played last has ended (or
            // stalled), and the next show plays it again from its start,
            // not from its last frame.
            if (feeder->playingFile().length() != 0) saveResumePoint(feeder->playingFile(), 0, 0);
            v.close();
            return;
        }
        DWORD minutes = 0;
        DWORD seconds = 0;
        if (!v.isOpen()) throwWin32Error(ERROR_INVALID_FUNCTION);
        v.getPosition(minutes, seconds);
        saveResumePoint(feeder->playingFile(), minutes, seconds);
        // A driver may report a failed stop of a file that is playing
        // (Wine's AVI player does without a sound device); it is closed all
        // the same.
        try {
            v.stop();
        } catch (Exception* e) {
            dispose(e);
        }
        v.close();
    } catch (Exception* e) {
        dispose(e);
    }
}

// Stops the show: the picture and the sound first, as the user asked, and
// the point they reached; only then the search, which may take a moment
// (one of its calls may hang on an unreachable share).
LRESULT onDestroy() {
    stallWatch.stop();
    ForwardingVideoView& v = view();
    if (v.handle()) {
        storeResumePoint(v);
        v.destroy();
    }
    folderSearch().stop();
    delete feeder;
    feeder = nullptr;
    delete playlist;
    playlist = nullptr;
    delete settings;
    settings = nullptr;
    return 0;
}

// The preview's still picture: black, the icon at the top left and the
// product name in blue right of it.
LRESULT paintPreview(HWND window) {
    PaintDc paint(window);
    HDC dc = paint.handle();
    FillRect(dc, clientRect.asRect(), static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));

    int x = 0;
    HICON icon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_PROGRAM));
    ICONINFO info;
    if (icon && GetIconInfo(icon, &info)) {
        GdiObject mask(info.hbmMask), colour(info.hbmColor);
        BITMAP bitmap;
        if (GetObjectA(colour.handle(), sizeof bitmap, &bitmap) == sizeof bitmap) {
            DrawIcon(dc, 0, 0, icon);
            x = bitmap.bmWidth;
        }
    }

    SetTextColor(dc, captionColor);
    SetBkMode(dc, TRANSPARENT);
    try {
        CountedString name = productName();
        TextOutA(dc, x, 0, name.c_str(), name.length());
    } catch (Exception* e) {
        dispose(e);
    }
    return 0;
}

// Only a full-screen show plays; in the preview the show's messages go on
// like any other.
bool showRunning() {
    return !previewMode && settings && playlist && feeder;
}

}  // namespace

LRESULT CALLBACK ShowController(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    makeObjectsOnce();
    switch (message) {
    case WM_CREATE:
        return onCreate(window);
    case WM_DESTROY:
        return onDestroy();
    case WM_PAINT:
        if (previewMode) return paintPreview(window);
        break;
    case WM_ACTIVATEAPP:
        if (switchingFile) return 0;
        break;
    case WM_SHOW_START:
        if (showRunning()) return onShowStart(window, wParam != 0);
        break;
    case WM_SHOW_NEXT:
        if (showRunning()) return onShowNext(window, wParam);
        break;
    case WM_SEARCH_FOUND:
    case WM_SEARCH_DONE:
        if (showRunning()) return takeSearchNews(window);
        return 0;
    case WM_TIMER:
        if (wParam == inputWatchTimer && showRunning()) {
            onInputWatch(window);
            return 0;
        }
        if (wParam == stallWatchTimer && showRunning()) {
            onStallWatch(window);
            return 0;
        }
        if (wParam == stalledPassTimer && showRunning()) {
            onRestOver(window);
            return 0;
        }
        break;
    }
    return defaultSaverProc(window, message, wParam, lParam);
}
