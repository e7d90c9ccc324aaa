#include "playback/FolderSearch.h"

#include <new>

#include "base/Exception.h"
#include "base/FilePath.h"
#include "playback/PathBatch.h"
#include "playback/PlaylistBuilder.h"
#include "playback/SearchMessages.h"

// What the window and the thread share; the last of the two to let go of it
// deletes it.
struct SearchJob {
    SearchJob() : references(1), stopAsked(0), batchesQueued(0), wake(nullptr), window(nullptr) {}
    ~SearchJob() {
        if (wake) CloseHandle(wake);
    }

    volatile LONG references;
    volatile LONG stopAsked;
    volatile LONG batchesQueued;  // posted and not yet taken
    HANDLE wake;                  // auto-reset: a batch was taken, or the stop asked for
    HWND window;
    PathBatch entries;            // absolute; read only once the thread runs
};

namespace {

volatile LONG threadCount = 0;

// A batch is posted once the window has taken the one before and it holds
// enough files, or its first has waited long enough. The window adds a
// batch in one go, so the largest one bounds how long input may wait.
const int smallestBatch = 256;
const int largestBatch = 2048;
const DWORD oldestBatchMs = 30;
// How often a thread that waits for the window looks whether it still exists.
const DWORD windowCheckMs = 250;
// How long the window waits for the thread to notice the stop: longer only
// when one system call of the search hangs (an unreachable share).
const DWORD stopWaitMs = 3000;

LONG read(volatile LONG& value) {
    return InterlockedCompareExchange(&value, 0, 0);
}

void letGo(SearchJob* job) {
    if (InterlockedDecrement(&job->references) == 0) delete job;
}

// The thread's side: collects found files into batches and posts them.
class BatchPoster : public FoundFiles {
public:
    explicit BatchPoster(SearchJob& job) : job(job), postedAny(false), batchStarted(0) {}

    bool take(const CountedString& path) override {
        if (stopped()) return false;
        if (!batch.append(path.c_str())) throwOutOfMemory();
        if (batch.count() == 1) batchStarted = GetTickCount();
        // The first file goes at once; the search then waits until the show
        // has taken it, and goes on as background work, so that it does not
        // compete with the first start.
        if (!postedAny) {
            const bool goOn = post() && waitUntilTaken();
            SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_BELOW_NORMAL);
            return goOn;
        }
        if (read(job.batchesQueued) == 0 &&
            (batch.count() >= smallestBatch || GetTickCount() - batchStarted >= oldestBatchMs))
            return post();
        if (batch.count() >= largestBatch) return waitUntilTaken() && post();
        return true;
    }

    // The rest of the files, then the end; nothing once the stop was asked for.
    void finish() {
        if (batch.count() && !post()) return;
        if (!stopped()) PostMessageA(job.window, WM_SEARCH_DONE, 0, 0);
    }

    bool stopped() const { return read(job.stopAsked) != 0; }

private:
    // False when the search is to end: stopped, or the window is gone (then
    // the batch is freed here).
    bool post() {
        if (stopped()) return false;
        InterlockedIncrement(&job.batchesQueued);
        const LPARAM block = batch.release();
        postedAny = true;
        if (PostMessageA(job.window, WM_SEARCH_FOUND, 0, block)) return true;
        InterlockedDecrement(&job.batchesQueued);
        PathBatch unsent(block);
        return false;
    }

    bool waitUntilTaken() {
        while (read(job.batchesQueued) > 0 && !stopped()) {
            if (WaitForSingleObject(job.wake, windowCheckMs) == WAIT_TIMEOUT && !IsWindow(job.window))
                return false;
        }
        return !stopped();
    }

    SearchJob& job;
    PathBatch batch;
    bool postedAny;
    DWORD batchStarted;
};

void searchEntries(SearchJob& job) {
    BatchPoster poster(job);
    try {
        StringArray extensions;
        splitVideoExtensions(extensions);
        for (const char* entry = job.entries.first(); entry && !poster.stopped();
             entry = job.entries.following(entry)) {
            if (!collectEntry(FilePath(entry), extensions, poster)) break;
        }
    } catch (Exception* e) {
        // Out of memory: the show goes on with what was found.
        dispose(e);
    }
    poster.finish();
}

DWORD WINAPI searchThread(void* parameter) {
    SearchJob* job = static_cast<SearchJob*>(parameter);
    try {
        searchEntries(*job);
    } catch (Exception* e) {
        dispose(e);
    }
    letGo(job);
    InterlockedDecrement(&threadCount);
    return 0;
}

// The batches and the end that the thread posted and the window has not seen.
// PeekMessageA hands out the quit message whatever the filter; the host
// posted it at WM_DESTROY already, so it goes back for the loop to see.
void discardQueued(HWND window) {
    MSG message;
    while (PeekMessageA(&message, window, WM_SEARCH_FOUND, WM_SEARCH_DONE, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(message.wParam));
            break;
        }
        if (message.message == WM_SEARCH_FOUND) PathBatch unread(message.lParam);
    }
}

}  // namespace

FolderSearch::FolderSearch() : job(nullptr), thread(nullptr) {}

FolderSearch::~FolderSearch() {
    stop();
}

void FolderSearch::start(HWND window, const StringArray& entries) {
    stop();
    SearchJob* made = new (std::nothrow) SearchJob;
    if (!made) throwOutOfMemory();
    try {
        made->window = window;
        for (int i = 0; i < entries.count(); ++i) {
            if (!made->entries.append(FilePath(entries.at(i)).fullPath().c_str())) throwOutOfMemory();
        }
        made->wake = CreateEventA(nullptr, FALSE, FALSE, nullptr);
        if (!made->wake) throwWin32Error(GetLastError());
        made->references = 2;
        InterlockedIncrement(&threadCount);
        DWORD id = 0;
        thread = CreateThread(nullptr, 0, searchThread, made, 0, &id);
        if (!thread) {
            const DWORD code = GetLastError();
            InterlockedDecrement(&threadCount);
            made->references = 1;
            throwWin32Error(code);
        }
    } catch (Exception*) {
        delete made;
        throw;
    }
    job = made;
}

void FolderSearch::batchTaken() {
    if (!job) return;
    InterlockedDecrement(&job->batchesQueued);
    SetEvent(job->wake);
}

void FolderSearch::stop() {
    if (!job) return;
    InterlockedExchange(&job->stopAsked, 1);
    SetEvent(job->wake);
    WaitForSingleObject(thread, stopWaitMs);
    CloseHandle(thread);
    discardQueued(job->window);
    letGo(job);
    job = nullptr;
    thread = nullptr;
}

LONG FolderSearch::threadsRunning() {
    return read(threadCount);
}
