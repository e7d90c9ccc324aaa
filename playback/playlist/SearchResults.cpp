#include "playback/playlist/SearchResults.h"

class SearchResults::Lock {
public:
    explicit Lock(CRITICAL_SECTION& section) : section(section) { EnterCriticalSection(&section); }
    ~Lock() { LeaveCriticalSection(&section); }

private:
    CRITICAL_SECTION& section;
};

SearchResults::SearchResults()
    : full(nullptr, FALSE), untaken(0), hasEnded(false), wasComplete(false), noticePending(false) {
    InitializeCriticalSection(&section);
}

SearchResults::~SearchResults() {
    for (int i = 0; i < full.count(); ++i) PathBatch unread(reinterpret_cast<LPARAM>(full.at(i)));
    DeleteCriticalSection(&section);
}

bool SearchResults::add(const char* path) {
    Lock held(section);
    if (!filling.append(path)) return false;
    ++untaken;
    if (filling.count() < batchPaths) return true;
    // A full batch waits in line. Without room in the line it goes on
    // filling: a larger batch, nothing lost.
    const LPARAM block = filling.release();
    if (!full.append(reinterpret_cast<void*>(block))) {
        PathBatch kept(block);
        filling.swap(kept);
    }
    return true;
}

void SearchResults::end(bool complete) {
    Lock held(section);
    hasEnded = true;
    wasComplete = complete;
}

bool SearchResults::claimNotice() {
    Lock held(section);
    if (noticePending) return false;
    noticePending = true;
    return true;
}

void SearchResults::take(PathBatch& batch) {
    PathBatch taken;
    {
        Lock held(section);
        if (full.count()) {
            PathBatch oldest(reinterpret_cast<LPARAM>(full.at(0)));
            full.removeAt(0);
            taken.swap(oldest);
        } else {
            taken.swap(filling);
        }
        untaken -= taken.count();
        if (untaken == 0) noticePending = false;
    }
    batch.swap(taken);
}

bool SearchResults::anyLeft() {
    Lock held(section);
    return untaken > 0;
}

bool SearchResults::allTaken(bool& complete) {
    Lock held(section);
    complete = wasComplete;
    return hasEnded && untaken == 0;
}

int SearchResults::waiting() {
    Lock held(section);
    return untaken;
}
