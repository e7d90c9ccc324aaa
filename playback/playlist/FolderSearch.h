#pragma once
#include <windows.h>

#include "base/StringArray.h"
#include "playback/playlist/PathBatch.h"

struct SearchJob;

// Looks through the play-list entries on a thread of its own, so that the
// saver window answers from the start whatever the folders hold. The files
// found wait in the job's results, in list order, for the window to take
// them; posted messages (playback/playlist/SearchMessages.h) tell the window that
// files wait and that the search has ended. The window owns the search; the
// thread shares only the job.
class FolderSearch {
public:
    FolderSearch();
    virtual ~FolderSearch();  // stops a search still running

    // Makes every entry absolute here, and throws as building the list did
    // when one cannot be; then starts the thread for window. A search still
    // running is stopped first.
    void start(HWND window, const StringArray& entries);
    // The window's side: the oldest batch of files found and not taken yet
    // (empty when none or no search runs).
    void take(PathBatch& batch);
    // Files found wait to be taken.
    bool anyLeft();
    // True once the search has ended and the window has taken every file it
    // found; complete is false when it could not deliver every file.
    bool allTaken(bool& complete);
    // Asks the thread to stop, waits for it (a bounded wait) and closes the
    // handles; files not taken are freed with the job. Called on the window's
    // thread. Nothing happens when no search runs.
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
