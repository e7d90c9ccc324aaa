#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "support/InProcessShow.h"
#include "support/MciCalls.h"
#include "../show/ShowDriver.h"

// What the search tests share: the big folders, the list order a show must
// follow, what the process holds, and the log of a show run in-process.
namespace search {

using showdriver::kDeadline;

// A folder made by make-search-folders.sh ("clips" or "notes"), ending in a
// backslash.
std::string bigFolder(const char* name);
std::vector<std::string> repeated(const std::string& entry, int times);
std::vector<std::string> operator+(std::vector<std::string> a, const std::vector<std::string>& b);
// Copies of a committed clip in a fresh folder (its path, ending in a
// backslash, comes first, then the copies').
std::vector<std::string> clipFolder(const char* hint, const char* clip, int copies);

// The play list as building it before the show would give it: the order
// a show must play in.
std::vector<std::string> listOrder(const std::vector<std::string>& entries);

// Stands in for an unreachable share: from its making until its release,
// the search of any folder whose name ends in "hang" blocks in the system's
// folder listing, as a call to a share that takes a minute to fail does.
class HangingSearch {
public:
    HangingSearch();
    ~HangingSearch();  // releases
    void release();
    // A search is blocked in it now.
    bool holding() const;
    // A fresh scratch folder whose search hangs, ending in a backslash.
    static std::string folder();

private:
    HangingSearch(const HangingSearch&) = delete;
    HangingSearch& operator=(const HangingSearch&) = delete;
};

// Open handles (but the system's lock semaphores) and threads of this process.
struct Holdings {
    int handles;
    int threads;
};
Holdings holdings();

// The show and search messages an in-process show handled, each with the
// file it opened (empty when it opened none).
struct ShowEvent {
    UINT message;
    std::string opened;
    WPARAM parameter;
};

class ShowLog {
public:
    ShowLog() = default;
    ~ShowLog();
    // Hooks for inprocess::createSaver that fill the log; then calls
    // react (when set) after each logged message.
    inprocess::SaverHooks hooks();
    std::vector<std::string> played() const;
    // Position in events of the first message of this kind, or -1.
    int first(UINT message) const;
    // Position in events of the n-th file's opening (from 0), or -1.
    int opening(size_t n) const;
    int count(UINT message) const;

    std::vector<ShowEvent> events;
    std::function<void()> react;

private:
    ShowLog(const ShowLog&) = delete;
    ShowLog& operator=(const ShowLog&) = delete;

    std::vector<mcicalls::Call> calls;
    size_t callsSeen = 0;
};

}  // namespace search
