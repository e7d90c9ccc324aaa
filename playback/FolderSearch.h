#pragma once
#include <windows.h>

#include "base/StringArray.h"

struct SearchJob;

// Looks through the play-list entries on a thread of its own, so that the
// saver window answers from the start whatever the folders hold. The files
// reach the window as posted messages (playback/SearchMessages.h): batches
// of paths in list order, one at a time, then the end. The window owns the
// search; the thread shares only the job, whose counts and flags change by
// interlocked operations.
class FolderSearch {
public:
    FolderSearch();
    virtual ~FolderSearch();  // stops a search still running

    // Makes every entry absolute here, and throws as building the list did
    // when one cannot be; then starts the thread for window. A search still
    // running is stopped first.
    void start(HWND window, const StringArray& entries);
    // The window has taken a batch: the next one may be posted.
    void batchTaken();
    // Asks the thread to stop, waits for it (a bounded wait), frees the
    // batches still queued for the window, and closes the handles. Called on
    // the window's thread while the window exists, at the latest at its
    // WM_DESTROY. Nothing happens when no search runs.
    void stop();
    bool started() const { return job != nullptr; }

    // Search threads of the process that have not finished yet.
    static LONG threadsRunning();

private:
    FolderSearch(const FolderSearch&) = delete;
    FolderSearch& operator=(const FolderSearch&) = delete;

    SearchJob* job;
    HANDLE thread;
};
