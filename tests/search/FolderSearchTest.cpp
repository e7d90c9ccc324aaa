// The search thread on its own: a plain window takes what it posts.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "SearchHarness.h"
#include "base/AllocationFaults.h"
#include "base/Exception.h"
#include "playback/playlist/FolderSearch.h"
#include "playback/playlist/PathBatch.h"
#include "playback/playlist/SearchMessages.h"
#include "support/MessagePump.h"
#include "support/TestErrors.h"
#include "support/TestFiles.h"
#include "support/TestPaths.h"

using namespace search;

namespace {

// A message-only window that takes the search's files as the show does,
// a batch for each message (or leaves them untaken, as a show busy
// elsewhere would).
class Receiver {
public:
    Receiver() {
        WNDCLASSA type = {};
        type.lpfnWndProc = receive;
        type.hInstance = GetModuleHandleA(nullptr);
        type.lpszClassName = "CinevaneSearchReceiver";
        RegisterClassA(&type);
        window = CreateWindowExA(0, type.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                 type.hInstance, nullptr);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~Receiver() {
        search.stop();
        if (IsWindow(window)) DestroyWindow(window);
    }
    void start(const std::vector<std::string>& entries) {
        StringArray list;
        for (const std::string& entry : entries) list.add(entry.c_str());
        search.start(window, list);
    }
    void takeOne() {
        PathBatch batch;
        search.take(batch);
        if (batch.count()) {
            ++batchCount;
            batchesAfterTheEnd += ends;
            if (keepPaths) {
                batches.emplace_back();
                for (const char* path = batch.first(); path; path = batch.following(path))
                    batches.back().push_back(path);
            }
        }
        if (ends == 0 && search.allTaken(complete)) ++ends;
        else if (search.anyLeft()) PostMessageA(window, WM_SEARCH_FOUND, 0, 0);
    }
    size_t pathsTaken() const {
        size_t count = 0;
        for (const auto& batch : batches) count += batch.size();
        return count;
    }

    HWND window;
    FolderSearch search;
    bool keepPaths = true;
    bool takeBatches = true;
    std::vector<std::vector<std::string>> batches;
    int notices = 0;
    int batchCount = 0;
    int ends = 0;
    bool complete = false;
    int batchesAfterTheEnd = 0;

private:
    static LRESULT CALLBACK receive(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        Receiver* self = reinterpret_cast<Receiver*>(GetWindowLongPtrA(window, GWLP_USERDATA));
        if (self && (message == WM_SEARCH_FOUND || message == WM_SEARCH_DONE)) {
            ++self->notices;
            if (self->takeBatches) self->takeOne();
            return 0;
        }
        return DefWindowProcA(window, message, wParam, lParam);
    }
};

SIZE_T heapBytes() { return inprocess::measure().heapBytes; }

bool threadsEnd() {
    return pump::until([] { return FolderSearch::threadsRunning() == 0; }, kDeadline);
}

}  // namespace

TEST(FolderSearch, DeliversTheListInOrderInBatchesThenTheEnd) {
    std::vector<std::string> animals = clipFolder("animals", "red.avi", 0);
    for (const char* name : {"ant.avi", "bee.wmv", "cat.mpeg", "dog.mpg", "eel.txt"})
        ASSERT_TRUE(testfiles::touch(animals[0] + name));
    const std::string red = testpaths::sourcePath("tests\\media\\red.avi");
    const std::vector<std::string> entries = {red, animals[0], red + ".missing", bigFolder("clips"), red};

    Receiver receiver;
    receiver.start(entries);
    ASSERT_TRUE(pump::until([&] { return receiver.ends > 0; }, kDeadline));
    pump::drain(receiver.window);
    EXPECT_EQ(1, receiver.ends);
    EXPECT_TRUE(receiver.complete);
    EXPECT_EQ(0, receiver.batchesAfterTheEnd);
    EXPECT_TRUE(threadsEnd());

    std::vector<std::string> delivered;
    for (const auto& batch : receiver.batches) {
        EXPECT_LE(batch.size(), 2048u);
        delivered.insert(delivered.end(), batch.begin(), batch.end());
    }
    ASSERT_FALSE(receiver.batches.empty());
    EXPECT_EQ(1u, receiver.batches[0].size()) << "the first file comes at once, alone";
    EXPECT_EQ(listOrder(entries), delivered);
}

TEST(FolderSearch, StoppedInTheMiddleLeavesNoThreadHandleOrMemory) {
    Receiver receiver;
    receiver.keepPaths = false;
    const Holdings before = holdings();
    const SIZE_T heapBefore = heapBytes();
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        receiver.batchCount = 0;
        receiver.start(repeated(bigFolder("clips"), 10));
        ASSERT_TRUE(pump::until([&] { return receiver.batchCount >= 3; }, kDeadline));
        receiver.search.stop();
        EXPECT_EQ(0, FolderSearch::threadsRunning());
        EXPECT_FALSE(receiver.search.started());
        EXPECT_EQ(0, receiver.ends) << "the search had ended before the stop";

        const Holdings after = holdings();
        EXPECT_EQ(before.handles, after.handles);
        EXPECT_EQ(before.threads, after.threads);
        EXPECT_LE(heapBytes(), heapBefore + 4096);
    }
}

// The window went without stopping the search: the thread notices and ends
// by itself; what it found and nobody took goes with the search.
TEST(FolderSearch, GoneWindowEndsTheSearchAndWhatItFoundIsFreed) {
    Receiver receiver;
    receiver.keepPaths = false;
    receiver.takeBatches = false;
    const Holdings before = holdings();
    const SIZE_T heapBefore = heapBytes();
    receiver.start(repeated(bigFolder("clips"), 10));
    ASSERT_TRUE(pump::until([&] { return receiver.notices == 1; }, kDeadline));
    // The first file taken, the thread goes on; nothing more is taken.
    receiver.takeOne();
    ASSERT_TRUE(pump::until([&] { return receiver.search.anyLeft(); }, kDeadline));
    DestroyWindow(receiver.window);
    EXPECT_TRUE(threadsEnd());
    receiver.search.stop();
    EXPECT_LE(heapBytes(), heapBefore + 4096);
    EXPECT_EQ(before.handles, holdings().handles);
}

// Files found wait for nothing that the search does next: a folder whose
// listing hangs, as an unreachable share's does, holds back only itself.
TEST(FolderSearch, FilesFoundReachTheWindowWhileTheSearchHangs) {
    const std::vector<std::string> three = clipFolder("three", "red.avi", 3);
    const std::vector<std::string> entries = {three[0], HangingSearch::folder(), three[1]};
    HangingSearch hanging;
    Receiver receiver;
    receiver.start(entries);
    ASSERT_TRUE(pump::until([&] { return (receiver.pathsTaken() == 3 && hanging.holding()) || receiver.ends; },
                            kDeadline));
    EXPECT_EQ(0, receiver.ends);
    hanging.release();
    ASSERT_TRUE(pump::until([&] { return receiver.ends > 0; }, kDeadline));
    EXPECT_TRUE(receiver.complete);
    EXPECT_EQ(4u, receiver.pathsTaken());
}

// Memory running out part-way ends the search early: the window takes
// what was found, and learns that it is not the whole list.
TEST(FolderSearch, SearchCutShortByMemoryIsNotTakenAsComplete) {
    const std::vector<std::string> entries = repeated(bigFolder("clips"), 3);
    Receiver receiver;
    receiver.keepPaths = false;
    receiver.takeBatches = false;
    receiver.start(entries);
    ASSERT_TRUE(pump::until([&] { return receiver.notices == 1; }, kDeadline));
    // The search's own allocation fails, never one of this thread's taking.
    allocationFaults::failNthElsewhere(1000);
    receiver.takeBatches = true;
    receiver.takeOne();
    ASSERT_TRUE(pump::until([&] { return receiver.ends > 0; }, kDeadline));
    EXPECT_GE(allocationFaults::seen(), 1000) << "the search ended before the fault";
    allocationFaults::reset();
    EXPECT_FALSE(receiver.complete);
    EXPECT_EQ(0, FolderSearch::threadsRunning());
}

TEST(FolderSearch, EntryThatCannotBeMadeAbsoluteStartsNothing) {
    Receiver receiver;
    EXPECT_EQ(static_cast<DWORD>(ERROR_FILENAME_EXCED_RANGE),
              testerrors::thrownCode([&] { receiver.start({"C:\\" + std::string(300, 'x')}); }));
    EXPECT_FALSE(receiver.search.started());
    EXPECT_EQ(0, FolderSearch::threadsRunning());
}
