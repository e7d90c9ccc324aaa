#pragma once
#include <windows.h>

#include "base/PointerArray.h"
#include "playback/playlist/PathBatch.h"

// What the folder search has found and the saver window has not taken yet:
// batches of paths in list order behind a lock, and how the search ended.
// The search's thread adds; the window takes a batch whenever it gets round
// to it. So a file reaches the show as soon as it is found, whatever the
// search does next (a share that takes a minute to fail, a long listing),
// and nothing found is lost when a message cannot be posted.
class SearchResults {
public:
    // The most paths the window adds in one go: input waits that long.
    enum { batchPaths = 2048 };

    SearchResults();
    virtual ~SearchResults();  // frees what was never taken

    // The search's side. False when memory ran out; the path is not added.
    bool add(const char* path);
    // No path follows; complete is false when the search could not deliver
    // every file it should have (memory ran out).
    void end(bool complete);
    // True when the window should be told of news: nothing told is pending
    // yet. What is told stays pending until a take leaves nothing.
    bool claimNotice();

    // The window's side: the oldest batch not taken yet (empty when none).
    void take(PathBatch& batch);
    // Paths wait to be taken.
    bool anyLeft();
    // True once the search has ended and every path it found was taken.
    bool allTaken(bool& complete);
    // Paths added and not taken yet.
    int waiting();

private:
    SearchResults(const SearchResults&) = delete;
    SearchResults& operator=(const SearchResults&) = delete;

    class Lock;

    CRITICAL_SECTION section;
    ObjectArray full;     // blocks of batchPaths paths each, oldest first (not owned)
    PathBatch filling;    // the newest paths
    int untaken;
    bool hasEnded;
    bool wasComplete;
    bool noticePending;
};
