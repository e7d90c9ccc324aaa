#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "base/AllocationFaults.h"
#include "base/Exception.h"
#include "playback/playlist/Playlist.h"
#include "support/RuntimeRandom.h"
#include "support/TestErrors.h"

using testerrors::thrownCode;

namespace {

std::string name(int i) {
    return "C:\\v\\" + std::to_string(i) + ".avi";
}

void fill(Playlist& list, int n) {
    for (int i = 0; i < n; ++i) list.add(name(i).c_str());
}

}  // namespace

TEST(Playlist, RuntimeGeneratorIsTheOneAssumed) {
    srand(1);
    EXPECT_EQ(41, rand());
    RuntimeRandom reference(77);
    srand(77);
    for (int i = 0; i < 100; ++i) ASSERT_EQ(reference.next(), rand()) << i;
}

// Every place of a list of any size is drawn about equally often: rand()
// alone gives 15 bits, and a list longer than 32,768 files needs more.
TEST(Playlist, EveryPlaceIsEquallyLikelyAtAnySize) {
    srand(2024);
    for (int n : {4, 1000, 32772, 100000, 1 << 30}) {
        SCOPED_TRACE(n);
        const int draws = 40000;
        int quarters[4] = {};
        int highest = 0;
        for (int i = 0; i < draws; ++i) {
            const int place = Playlist::drawPlace(n);
            ASSERT_GE(place, 0);
            ASSERT_LT(place, n);
            highest = std::max(highest, place);
            ++quarters[static_cast<int>(static_cast<long long>(place) * 4 / n)];
        }
        EXPECT_GE(highest, n - 1 - n / 100) << "the top of the list is never reached";
        for (int quarter : quarters) {
            EXPECT_GT(quarter, draws / 4 - draws / 40);
            EXPECT_LT(quarter, draws / 4 + draws / 40);
        }
    }
    RuntimeRandom reference(31);
    srand(31);
    for (int n : {7, 32768, 40000, 5000000}) EXPECT_EQ(reference.place(n), Playlist::drawPlace(n)) << n;
}

TEST(Playlist, SequentialOrderWrapsToFirst) {
    Playlist list;
    fill(list, 3);
    ASSERT_EQ(3, list.count());
    const int expected[] = {0, 1, 2, 0, 1, 2, 0};
    for (int i : expected) {
        EXPECT_STREQ(name(i).c_str(), list.next(false).c_str());
        EXPECT_STREQ(name(i).c_str(), list.current().c_str());
    }
}

TEST(Playlist, OneFilePlaysAgainAndAgain) {
    Playlist list;
    fill(list, 1);
    for (int i = 0; i < 3; ++i) EXPECT_STREQ(name(0).c_str(), list.next(true).c_str());
}

TEST(Playlist, RandomOrderIsDrawnAtEveryPass) {
    const int n = 7;
    Playlist list;
    fill(list, n);
    srand(4242);
    RuntimeRandom reference(4242);
    std::vector<int> order = {0, 1, 2, 3, 4, 5, 6};
    for (int pass = 0; pass < 3; ++pass) {
        SCOPED_TRACE(pass);
        reference.shuffle(order);
        std::vector<bool> seen(n, false);
        for (int place = 0; place < n; ++place) {
            CountedString path = list.next(true);
            EXPECT_STREQ(name(order[place]).c_str(), path.c_str()) << place;
            seen[order[place]] = true;
        }
        for (int i = 0; i < n; ++i) EXPECT_TRUE(seen[i]) << i;
    }
}

TEST(Playlist, FindIsExactAndGivesPlaceInPlayOrder) {
    Playlist list;
    fill(list, 5);
    srand(9);
    list.shuffle();
    const std::vector<int> order = RuntimeRandom::shuffledOrder(9, 5);
    const int wanted = 3;
    int place = 0;
    while (order[place] != wanted) ++place;
    EXPECT_EQ(place, list.find(name(wanted).c_str()));
    EXPECT_STREQ(name(wanted).c_str(), list.current().c_str());
    EXPECT_STREQ(name(order[(place + 1) % 5]).c_str(), list.next(false).c_str());

    // A case difference is no match and leaves the position alone.
    CountedString before = list.current();
    EXPECT_EQ(-1, list.find("c:\\V\\3.AVI"));
    EXPECT_EQ(-1, list.find(""));
    EXPECT_STREQ(before.c_str(), list.current().c_str());
}

TEST(Playlist, EmptyOrUnchosenThrowsCode1) {
    Playlist list;
    EXPECT_EQ(1u, thrownCode([&] { list.current(); }));
    EXPECT_EQ(1u, thrownCode([&] { list.next(false); }));
    EXPECT_EQ(1u, thrownCode([&] { list.next(true); }));
    EXPECT_EQ(-1, list.find("C:\\v\\0.avi"));
    list.shuffle();
    fill(list, 2);
    EXPECT_EQ(1u, thrownCode([&] { list.current(); }));
    list.next(false);
    EXPECT_EQ(0u, thrownCode([&] { list.current(); }));
}

TEST(Playlist, DuplicatesPlayTwicePerPass) {
    Playlist list;
    list.add("C:\\a.avi");
    list.add("C:\\a.avi");
    EXPECT_EQ(2, list.count());
    EXPECT_STREQ("C:\\a.avi", list.next(false).c_str());
    EXPECT_STREQ("C:\\a.avi", list.next(false).c_str());
    EXPECT_EQ(0, list.find("C:\\a.avi"));
}

TEST(Playlist, FailedAddRollsBack) {
    // Allocations of one add: index cell, string element, files block, order block.
    for (int failing = 1; failing <= 4; ++failing) {
        SCOPED_TRACE(failing);
        Playlist list;
        fill(list, 2);
        allocationFaults::failNth(failing);
        EXPECT_TRUE(testerrors::throwsStaticOutOfMemory([&] { list.add("C:\\new.avi"); }));
        allocationFaults::reset();
        ASSERT_EQ(2, list.count());
        EXPECT_EQ(-1, list.find("C:\\new.avi"));
        EXPECT_STREQ(name(0).c_str(), list.next(false).c_str());
        EXPECT_STREQ(name(1).c_str(), list.next(false).c_str());
        EXPECT_STREQ(name(0).c_str(), list.next(false).c_str());
        // The next add takes the next index and lines up with its file.
        list.add("C:\\new.avi");
        EXPECT_EQ(2, list.find("C:\\new.avi"));
        EXPECT_STREQ("C:\\new.avi", list.current().c_str());
    }
    EXPECT_EQ(8u, outOfMemoryException()->code);
}
