#include "playback/playlist/FolderSearch.h"

#include <new>

#include "base/Exception.h"
#include "base/FilePath.h"
#include "playback/playlist/PathBatch.h"
#include "playback/playlist/PlaylistBuilder.h"
#include "playback/playlist/SearchMessages.h"
#include "playback/playlist/SearchResults.h"

// What the window and the thread share; the last of the two to let go of it
// deletes it.
struct SearchJob {
    SearchJob() : references(1), stopAsked(0), wake(nullptr), window(nullptr) {}
    ~SearchJob() {
        if (wake) CloseHandle(wake);
    }

    volatile LONG references;
    volatile LONG stopAsked;
    HANDLE wake;            // auto-reset: the window took files, or the stop was asked for
    HWND window;
    PathBatch entries;      // absolute; read only once the thread runs
    SearchResults results;  // found and not yet taken
};

namespace {

volatile LONG threadCount = 0;

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

// The thread's side: hands each file found to the window at once. A message
// only tells the window that files wait; they stay in the results until the
// window takes them, so a message that cannot be posted loses nothing (the
// window also looks on its timer).
class ResultsPoster : public FoundFiles {
public:
    explicit ResultsPoster(SearchJob& job) : job(job), handedFirst(false) {}

    bool take(const CountedString& path) override {
        if (stopped()) return false;
        if (!job.results.add(path.c_str())) throwOutOfMemory();
        if (job.results.claimNotice()) PostMessageA(job.window, WM_SEARCH_FOUND, 0, 0);
        // The first file goes alone; the search then waits until the show
        // has taken it, and goes on as background work, so that it does not
        // compete with the first start.
        if (!handedFirst) {
            handedFirst = true;
            const bool goOn = waitUntilTaken();
            SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_BELOW_NORMAL);
            return goOn;
        }
        return true;
    }

    bool goOn() override { return !stopped(); }

    // The end; the window learns of it once it has taken every file.
    void finish(bool complete) {
        job.results.end(complete);
        if (!stopped()) PostMessageA(job.window, WM_SEARCH_DONE, 0, 0);
    }

    bool stopped() const { return read(job.stopAsked) != 0; }

private:
    // False when the search is to end: stopped, or the window is gone.
    bool waitUntilTaken() {
        while (job.results.waiting() > 0 && !stopped()) {
            if (WaitForSingleObject(job.wake, windowCheckMs) == WAIT_TIMEOUT && !IsWindow(job.window))
                return false;
        }
        return !stopped();
    }

    SearchJob& job;
    bool handedFirst;
};

void searchEntries(SearchJob& job) {
    ResultsPoster poster(job);
    bool complete = true;
    try {
        StringArray extensions;
        splitVideoExtensions(extensions);
        for (const char* entry = job.entries.first(); entry && !poster.stopped();
             entry = job.entries.following(entry)) {
            if (!collectEntry(FilePath(entry), extensions, poster)) break;
        }
    } catch (Exception* e) {
        // Out of memory: the show goes on with what was found, and knows
        // that the list is not whole.
        dispose(e);
        complete = false;
    }
    poster.finish(complete && !poster.stopped());
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

void FolderSearch::take(PathBatch& batch) {
    if (!job) return;
    job->results.take(batch);
    SetEvent(job->wake);
}

bool FolderSearch::anyLeft() {
    return job && job->results.anyLeft();
}

bool FolderSearch::allTaken(bool& complete) {
    complete = false;
    return job && job->results.allTaken(complete);
}

void FolderSearch::stop() {
    if (!job) return;
    InterlockedExchange(&job->stopAsked, 1);
    SetEvent(job->wake);
    WaitForSingleObject(thread, stopWaitMs);
    CloseHandle(thread);
    letGo(job);
    job = nullptr;
    thread = nullptr;
}

LONG FolderSearch::threadsRunning() {
    return read(threadCount);
}
