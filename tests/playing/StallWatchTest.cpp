// The stall watch's rules, fed looks at the position as a timer would take them.
#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

#include "playback/show/StallWatch.h"

namespace {

struct Look {
    DWORD tick;
    DWORD position;
};

// The index of the look after which the watch reports a stall, or -1.
int stallingLook(StallWatch& watch, const std::vector<Look>& looks) {
    for (size_t i = 0; i < looks.size(); ++i)
        if (watch.look(looks[i].position, looks[i].tick)) return static_cast<int>(i);
    return -1;
}

// Looks once a second from tick start on, reading the given positions.
std::vector<Look> everySecond(DWORD start, const std::vector<DWORD>& positions, DWORD step = 1000) {
    std::vector<Look> looks;
    for (size_t i = 0; i < positions.size(); ++i) looks.push_back({start + static_cast<DWORD>(i) * step, positions[i]});
    return looks;
}

struct Row {
    int line;
    const char* what;
    std::vector<Look> looks;
    int stallsAt;  // index of the reporting look, -1 for none
    DWORD from = 0;    // where the play started, in ms
    DWORD length = 0;  // of the file, in ms; 0 unknown
};

}  // namespace

TEST(StallWatch, ReportsAPositionThatStandsStillOrAFileThatOutlivesItsLength) {
    const Row rows[] = {
        {__LINE__, "moving", everySecond(0, {0, 1000, 2000, 3000, 4000, 5000, 6000, 7000, 8000}), -1},
        {__LINE__, "moving by whole frames of a clip of one frame a second",
         everySecond(0, {0, 0, 1000, 1000, 2000, 2000, 3000, 3000, 4000, 4000}, 600), -1},
        {__LINE__, "standing from the first look", everySecond(0, {3000, 3000, 3000, 3000, 3000, 3000, 3000}), 5},
        {__LINE__, "standing after moving", everySecond(0, {0, 900, 1900, 2000, 2000, 2000, 2000, 2000, 2000}), 8},
        {__LINE__, "a timer that comes a little early",
         everySecond(0, {500, 500, 500, 500, 500, 500}, 999), 5},
        {__LINE__, "four seconds standing, a move, then standing again",
         everySecond(0, {700, 700, 700, 700, 700, 800, 800, 800, 800, 800, 800}), 10},
        {__LINE__, "reading 0 ever since the start", everySecond(0, std::vector<DWORD>(20, 0)), -1},
        {__LINE__, "0 for a while, then moving, then standing",
         everySecond(0, {0, 0, 0, 0, 0, 0, 0, 400, 1400, 1400, 1400, 1400, 1400, 1400}), 13},
        {__LINE__, "back at 0 after moving", everySecond(0, {0, 800, 1800, 0, 0, 0, 0, 0, 0}), 8},
        {__LINE__, "resumed at a stored point that never moves, length unknown",
         everySecond(0, std::vector<DWORD>(20, 754000)), -1, 754000},
        {__LINE__, "resumed, eight seconds to seek, then moving",
         everySecond(0, {0, 754000, 754000, 754000, 754000, 754000, 754000, 754000, 754000, 755000, 756000, 757000}),
         -1, 754000, 900000},
        {__LINE__, "resumed at a stored point that never moves: its length and the margin",
         everySecond(0, std::vector<DWORD>(21, 754000)), 19, 754000, 760000},
        {__LINE__, "reading 0 throughout and never ending: its length and the margin",
         everySecond(0, std::vector<DWORD>(21, 0)), 19, 0, 6000},
        {__LINE__, "moving on past its length", everySecond(0, {0, 1000, 2000, 3000, 4000, 5000, 6000, 7000, 8000,
                                                                9000, 10000, 11000, 12000, 13000, 14000}), 13, 0, 3000},
        {__LINE__, "started past its end: the margin alone", everySecond(0, std::vector<DWORD>(12, 0)), 10, 9000, 3000},
        {__LINE__, "moving slower than real time, long past its length in time",
         everySecond(0, {0, 500, 1000, 1500, 2000, 2500, 3000, 3500, 4000, 4500, 5000, 5500, 6000}, 2000), -1, 0, 3000},
        {__LINE__, "the tick count wrapping round", everySecond(0xFFFFF000u, {9000, 9000, 9000, 9000, 9000, 9000}), 5},
        {__LINE__, "looks far apart", {{0, 100}, {2000, 100}, {7000, 100}}, 2},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "row at line " << row.line << ": " << row.what);
        StallWatch watch;
        watch.fileStarted(row.from, row.length, row.looks.front().tick);
        EXPECT_EQ(row.stallsAt, stallingLook(watch, row.looks));
        if (row.stallsAt >= 0) {
            EXPECT_FALSE(watch.look(row.looks.back().position, row.looks.back().tick + 60000)) << "reported twice";
        }
    }
}

TEST(StallWatch, WatchesOnlyWhileAFileIsMeantToPlay) {
    StallWatch watch;
    EXPECT_FALSE(watch.watching());
    EXPECT_EQ(-1, stallingLook(watch, everySecond(0, {2000, 2000, 2000, 2000, 2000, 2000, 2000})))
        << "no file started";

    watch.fileStarted(0, 0, 0);
    EXPECT_TRUE(watch.watching());
    EXPECT_EQ(-1, stallingLook(watch, everySecond(0, {2000, 2000, 2000})));
    watch.stop();
    EXPECT_FALSE(watch.watching());
    EXPECT_EQ(-1, stallingLook(watch, everySecond(3000, {2000, 2000, 2000, 2000, 2000, 2000})))
        << "stopped while the file closes";

    watch.fileStarted(0, 0, 0);
    EXPECT_EQ(-1, stallingLook(watch, everySecond(10000, {2000, 2000, 2000, 2000})))
        << "a new file starts with a clean slate";
    watch.fileEnded();
    EXPECT_FALSE(watch.watching());
}

TEST(StallWatch, EachFileIsJudgedByItsOwnLooks) {
    StallWatch watch;
    watch.fileStarted(0, 0, 0);
    ASSERT_EQ(-1, stallingLook(watch, everySecond(0, {100, 200, 300})));
    // The next file's driver reports 0 all along: what the last file read
    // does not count against it.
    watch.fileStarted(0, 0, 0);
    EXPECT_EQ(-1, stallingLook(watch, everySecond(3000, std::vector<DWORD>(10, 0))));
}

namespace {

// One event of a show: a file at place stalls, or the playing file ends.
struct Event {
    bool stalled;
    int place;
    bool passStalls;  // what wholePassStalled should answer; ignored for ends
};

struct PassRow {
    int line;
    const char* what;
    int count;
    std::vector<Event> events;
};

Event stall(int place, bool passStalls = false) { return {true, place, passStalls}; }
Event end() { return {false, 0, false}; }

}  // namespace

TEST(StallWatch, TellsAWholePassOfStalledFiles) {
    const PassRow rows[] = {
        {__LINE__, "one file", 1, {stall(0, true)}},
        {__LINE__, "three files from the first", 3, {stall(0), stall(1), stall(2, true)}},
        {__LINE__, "resumed in the middle", 3, {stall(1), stall(2), stall(0), stall(1), stall(2, true)}},
        {__LINE__, "an end breaks the run", 3,
         {stall(0), stall(1), end(), stall(0), end(), stall(2), stall(0), stall(1), stall(2, true)}},
        // Random order: the stalling file last in one pass and first in the next.
        {__LINE__, "one good file of two in random order", 2,
         {stall(1), stall(0), end(), stall(1), stall(0), end(), stall(0), end(), stall(1)}},
    };
    for (const PassRow& row : rows) {
        SCOPED_TRACE(testing::Message() << "row at line " << row.line << ": " << row.what);
        StallWatch watch;
        for (size_t i = 0; i < row.events.size(); ++i) {
            const Event& event = row.events[i];
            if (!event.stalled) {
                watch.fileEnded();
                continue;
            }
            EXPECT_EQ(event.passStalls, watch.wholePassStalled(event.place, row.count)) << "event " << i;
        }
    }
}
