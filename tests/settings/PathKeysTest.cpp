#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/AllocationFaults.h"
#include "base/Exception.h"
#include "settings/PathKeys.h"

TEST(PathKeys, ParsesPathAndACanonicalDecimalIndex) {
    static const struct {
        const char* name;
        bool valid;
        int index;
    } cases[] = {
        {"Path0", true, 0},          {"Path10", true, 10},     {"path7", true, 7},
        {"PATH3", true, 3},          {"pAtH42", true, 42},     {"Path2147483647", true, 2147483647},
        {"Path", false, 0},          {"Path01", false, 0},     {"Path00", false, 0},
        {"Path-1", false, 0},        {"Path+1", false, 0},     {"Path1x", false, 0},
        {"Path 1", false, 0},        {"Paths1", false, 0},     {"Pat1", false, 0},
        {"Path2147483648", false, 0}, {"Path99999999999", false, 0}, {"", false, 0},
        {"XPath1", false, 0},        {"Path\x95\x5C", false, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        int index = -5;
        EXPECT_EQ(c.valid, PathKeys::parse(c.name, &index));
        EXPECT_EQ(c.valid ? c.index : -5, index);
    }
}

template <size_t n>
static std::string bytes(const char (&literal)[n]) {
    return std::string(literal, n - 1);
}

static std::vector<int> collected(const std::string& names, int limit) {
    PathKeys keys;
    keys.collect(names.data(), static_cast<int>(names.size()), limit);
    std::vector<int> indices;
    for (int i = 0; i < keys.count(); ++i) indices.push_back(keys.at(i));
    return indices;
}

TEST(PathKeys, CollectsIndicesBelowTheLimitAscendingAndOnce) {
    std::string names = bytes("Count\0Path10\0path2\0Other\0Path0\0PATH2\0Path3\0Path11\0\0");
    EXPECT_EQ(std::vector<int>({0, 2, 3, 10}), collected(names, 11));
    EXPECT_EQ(std::vector<int>({0, 2}), collected(names, 3));
    EXPECT_EQ(std::vector<int>(), collected(names, 0));
    EXPECT_EQ(std::vector<int>(), collected(names, -4));
    EXPECT_EQ(std::vector<int>(), collected(bytes("\0\0"), 100));
    // A key without a name lists as an empty name; the list goes on after it.
    EXPECT_EQ(std::vector<int>({1, 2}), collected(bytes("Count\0\0Path2\0\0Path1\0\0"), 100));
}

TEST(PathKeys, StopsAtTheEndOfTheBytesGiven) {
    // The last name has no terminator inside the bytes: it is not taken.
    std::string names = bytes("Path1\0Path2");
    EXPECT_EQ(std::vector<int>({1}), collected(names, 100));
    PathKeys keys;
    keys.collect(names.data(), 3, 100);
    EXPECT_EQ(0, keys.count());
}

TEST(PathKeys, CollectingAgainReplacesTheIndices) {
    PathKeys keys;
    std::string first = bytes("Path4\0Path5\0\0");
    std::string second = bytes("Path1\0\0");
    keys.collect(first.data(), static_cast<int>(first.size()), 10);
    keys.collect(second.data(), static_cast<int>(second.size()), 10);
    ASSERT_EQ(1, keys.count());
    EXPECT_EQ(1, keys.at(0));
}

TEST(PathKeys, AFailedAllocationThrowsTheOutOfMemoryObjectAndLeavesItEmpty) {
    PathKeys keys;
    std::string first = bytes("Path4\0\0");
    keys.collect(first.data(), static_cast<int>(first.size()), 10);
    allocationFaults::failNth(1);
    try {
        keys.collect(first.data(), static_cast<int>(first.size()), 10);
        FAIL() << "nothing thrown";
    } catch (Exception* e) {
        EXPECT_EQ(outOfMemoryException(), e);
        dispose(e);
    }
    allocationFaults::reset();
    EXPECT_EQ(0, keys.count());
}
