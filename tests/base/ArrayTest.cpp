#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

#include "base/AllocationFaults.h"
#include "base/Exception.h"
#include "support/TestErrors.h"
#include "base/PointerArray.h"
#include "base/StringArray.h"

using testerrors::thrownCode;

namespace {

const DWORD sentinel = 0xdeadbeef;

int* cell(int value) {
    return new int(value);
}

int valueAt(const PointerArray& a, int index) {
    return *static_cast<int*>(a.at(index));
}

// Counts the objects alive, so that tests can see the deleter run.
struct Tracked {
    static int alive;
    Tracked() { ++alive; }
    virtual ~Tracked() { --alive; }
};
int Tracked::alive = 0;

void deleteTracked(void* item) {
    delete static_cast<Tracked*>(item);
}


}  // namespace

TEST(PointerArray, InsertGrowsAndPlaces) {
    PointerArray a;
    struct Step {
        int index;
        int value;
    } steps[] = {{0, 1}, {-1, 3}, {1, 2}, {3, 4}, {100, 5}, {0, 0}};
    for (const Step& s : steps) {
        SetLastError(sentinel);
        ASSERT_TRUE(a.insert(s.index, cell(s.value)));
        EXPECT_EQ(sentinel, GetLastError());
    }
    ASSERT_EQ(6, a.count());
    for (int i = 0; i < 6; ++i) EXPECT_EQ(i, valueAt(a, i));
}

TEST(PointerArray, BadArgumentsSetLastError87AndChangeNothing) {
    PointerArray a;
    ASSERT_TRUE(a.append(cell(10)));
    ASSERT_TRUE(a.append(cell(11)));
    SetLastError(sentinel);
    EXPECT_FALSE(a.insert(0, nullptr));
    EXPECT_EQ(87u, GetLastError());
    SetLastError(sentinel);
    EXPECT_FALSE(a.append(nullptr));
    EXPECT_EQ(87u, GetLastError());
    for (int index : {-1, 2, 1000}) {
        SetLastError(sentinel);
        EXPECT_EQ(nullptr, a.at(index)) << index;
        EXPECT_EQ(87u, GetLastError()) << index;
    }
    const int badPairs[][2] = {{-1, 0}, {0, 2}, {2, 2}, {0, -1}};
    for (const auto& p : badPairs) {
        SetLastError(sentinel);
        EXPECT_FALSE(a.swap(p[0], p[1])) << p[0] << "," << p[1];
        EXPECT_EQ(87u, GetLastError());
    }
    EXPECT_EQ(2, a.count());
    EXPECT_EQ(10, valueAt(a, 0));
    EXPECT_EQ(11, valueAt(a, 1));
}

TEST(PointerArray, Swap) {
    PointerArray a;
    for (int i = 0; i < 3; ++i) a.append(cell(i));
    SetLastError(sentinel);
    EXPECT_TRUE(a.swap(1, 1));
    EXPECT_EQ(sentinel, GetLastError());
    EXPECT_EQ(1, valueAt(a, 1));
    EXPECT_TRUE(a.swap(0, 2));
    EXPECT_EQ(2, valueAt(a, 0));
    EXPECT_EQ(0, valueAt(a, 2));
}

TEST(PointerArray, ClearEmptiesAndCanRefill) {
    PointerArray a;
    for (int i = 0; i < 5; ++i) a.append(cell(i));
    a.clear();
    EXPECT_EQ(0, a.count());
    SetLastError(sentinel);
    EXPECT_EQ(nullptr, a.at(0));
    EXPECT_EQ(87u, GetLastError());
    a.append(cell(7));
    EXPECT_EQ(7, valueAt(a, 0));
}

TEST(PointerArray, FailedGrowthSetsLastError8AndKeepsElements) {
    PointerArray a;
    ASSERT_TRUE(a.append(cell(1)));
    allocationFaults::failNth(1);
    int* extra = cell(2);
    SetLastError(sentinel);
    EXPECT_FALSE(a.insert(0, extra));
    EXPECT_EQ(8u, GetLastError());
    allocationFaults::reset();
    ASSERT_EQ(1, a.count());
    EXPECT_EQ(1, valueAt(a, 0));
    delete extra;

    PointerArray empty;
    allocationFaults::failNth(1);
    int* first = cell(3);
    EXPECT_FALSE(empty.append(first));
    allocationFaults::reset();
    EXPECT_EQ(0, empty.count());
    delete first;
}

TEST(ObjectArray, DeletesThroughDeleterOnRemoveClearAndDestruction) {
    {
        ObjectArray a(deleteTracked);
        for (int i = 0; i < 4; ++i) a.append(new Tracked);
        EXPECT_EQ(4, Tracked::alive);
        EXPECT_TRUE(a.removeAt(1));
        EXPECT_EQ(3, Tracked::alive);
        EXPECT_EQ(3, a.count());
        a.clear();
        EXPECT_EQ(0, Tracked::alive);
        a.append(new Tracked);
        a.append(new Tracked);
    }
    EXPECT_EQ(0, Tracked::alive);
    {
        ObjectArray notOwning(deleteTracked, FALSE);
        Tracked kept;
        notOwning.append(&kept);
        notOwning.removeAt(0);
        EXPECT_EQ(1, Tracked::alive);
    }
    EXPECT_EQ(0, Tracked::alive);
}

TEST(ObjectArray, RemoveAtMovesLaterElementsDown) {
    ObjectArray a(deleteTracked);
    Tracked* items[4];
    for (Tracked*& t : items) a.append(t = new Tracked);
    struct Step {
        int index;
        bool ok;
        int countAfter;
    } steps[] = {{-1, false, 4}, {4, false, 4}, {0, true, 3}, {2, true, 2}, {1, true, 1}, {0, true, 0},
                 {0, false, 0}};
    for (const Step& s : steps) {
        SetLastError(sentinel);
        EXPECT_EQ(s.ok, a.removeAt(s.index) != FALSE) << s.index;
        EXPECT_EQ(s.ok ? sentinel : 87u, GetLastError()) << s.index;
        EXPECT_EQ(s.countAfter, a.count());
        if (s.index == 0 && s.ok && s.countAfter == 3) {
            EXPECT_EQ(items[1], a.at(0));
            EXPECT_EQ(items[3], a.at(2));
        }
    }
    EXPECT_EQ(0, Tracked::alive);
}

TEST(ObjectArray, FailedShrinkKeepsBlockButRemoves) {
    ObjectArray a(deleteTracked);
    for (int i = 0; i < 5; ++i) a.append(new Tracked);
    Tracked* last = static_cast<Tracked*>(a.at(4));
    for (int i = 0; i < 2; ++i) EXPECT_TRUE(a.removeAt(0));
    // Down to a quarter of the block: this removal tries to shrink it.
    allocationFaults::failNth(1);
    SetLastError(sentinel);
    EXPECT_TRUE(a.removeAt(0));
    EXPECT_EQ(1, allocationFaults::seen());
    allocationFaults::reset();
    EXPECT_EQ(sentinel, GetLastError());
    EXPECT_EQ(2, a.count());
    EXPECT_EQ(last, a.at(1));
    EXPECT_EQ(2, Tracked::alive);
    EXPECT_TRUE(a.append(new Tracked));
    EXPECT_EQ(3, a.count());
}

TEST(PointerArray, ManyInsertsAndRemovalsKeepOrder) {
    ObjectArray a(nullptr, FALSE);  // holds plain numbers, owns nothing
    const int n = 1000;
    for (int i = 0; i < n; i += 2) a.append(reinterpret_cast<void*>(static_cast<INT_PTR>(i + 1)));
    for (int i = 1; i < n; i += 2) a.insert(i, reinterpret_cast<void*>(static_cast<INT_PTR>(i + 1)));
    ASSERT_EQ(n, a.count());
    for (int i = 0; i < n; ++i) ASSERT_EQ(i + 1, reinterpret_cast<INT_PTR>(a.at(i))) << i;
    while (a.count() > 1) ASSERT_TRUE(a.removeAt(0));
    EXPECT_EQ(n, reinterpret_cast<INT_PTR>(a.at(0)));
    EXPECT_TRUE(a.removeAt(0));
    EXPECT_EQ(0, a.count());
    EXPECT_TRUE(HeapValidate(GetProcessHeap(), 0, nullptr));
}

TEST(StringArray, AddAtRemove) {
    StringArray a;
    CountedString text("shared");
    a.add(text);
    EXPECT_EQ(2, text.shareCount());
    EXPECT_EQ(text.c_str(), a.at(0).c_str());
    a.add("second");
    ASSERT_EQ(2, a.count());
    a.removeAt(0);
    EXPECT_EQ(1, text.shareCount());
    EXPECT_STREQ("second", a.at(0).c_str());
    a.clear();
    EXPECT_EQ(0, a.count());
}

TEST(StringArray, BadIndexThrows87) {
    StringArray a;
    a.add("only");
    for (int index : {-1, 1, 5}) {
        EXPECT_EQ(87u, thrownCode([&] { a.at(index); })) << index;
        EXPECT_EQ(87u, thrownCode([&] { a.removeAt(index); })) << index;
    }
    EXPECT_EQ(1, a.count());
}

TEST(StringArray, Split) {
    struct Case {
        const char* text;
        const char* separator;
        std::vector<const char*> pieces;
    } cases[] = {
        {"wmv/avi/mpg/mpeg", "/", {"wmv", "avi", "mpg", "mpeg"}},
        {"", "/", {""}},
        {"/a//b/", "/", {"", "a", "", "b", ""}},
        {"12,34", ",", {"12", "34"}},
        {"abc", "", {"abc"}},
        {"a::b", "::", {"a", "b"}},
        {"\x95\x5c\\x", "\\", {"\x95\x5c", "x"}},  // 表 keeps its trail byte
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        StringArray a;
        a.add("old");
        a.split(c.text, c.separator);
        ASSERT_EQ(static_cast<int>(c.pieces.size()), a.count());
        for (int i = 0; i < a.count(); ++i) EXPECT_STREQ(c.pieces[i], a.at(i).c_str()) << i;
    }
}

TEST(StringArray, SplitOfOwnElementAndNullSeparator) {
    StringArray a;
    a.add("x,y");
    a.split(a.at(0), ",");
    ASSERT_EQ(2, a.count());
    EXPECT_STREQ("y", a.at(1).c_str());
    EXPECT_EQ(87u, thrownCode([&] { a.split("a,b", nullptr); }));
    EXPECT_EQ(2, a.count());
}

TEST(StringArray, OutOfMemoryThrowsStaticObjectAndKeepsContents) {
    StringArray a;
    a.add("one");
    for (int failing : {1, 2}) {  // the element, then the grown block
        SCOPED_TRACE(failing);
        allocationFaults::failNth(failing);
        Exception* thrown = nullptr;
        try {
            a.add("two");
        } catch (Exception* e) {
            thrown = e;
            dispose(e);
        }
        allocationFaults::reset();
        EXPECT_EQ(outOfMemoryException(), thrown);
        EXPECT_EQ(1, a.count());
        EXPECT_STREQ("one", a.at(0).c_str());
    }
    // A split that runs out of memory half way leaves the old contents.
    allocationFaults::failNth(6);
    EXPECT_EQ(8u, thrownCode([&] { a.split("p/q/r/s", "/"); }));
    allocationFaults::reset();
    ASSERT_EQ(1, a.count());
    EXPECT_STREQ("one", a.at(0).c_str());
    EXPECT_EQ(8u, outOfMemoryException()->code);
    EXPECT_FALSE(outOfMemoryException()->autoDelete);
}
