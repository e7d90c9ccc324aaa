#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/AllocationFaults.h"
#include "playback/playlist/PathBatch.h"

namespace {

std::vector<std::string> contents(const PathBatch& batch) {
    std::vector<std::string> paths;
    for (const char* path = batch.first(); path; path = batch.following(path)) paths.push_back(path);
    return paths;
}

}  // namespace

TEST(PathBatch, HandsItsPathsOverInOrder) {
    PathBatch filled;
    EXPECT_EQ(nullptr, filled.first());
    // Enough long paths to grow the block several times; an empty one too.
    std::vector<std::string> paths = {"C:\\first.avi", ""};
    for (int i = 0; i < 500; ++i) paths.push_back("C:\\videos\\" + std::string(200, 'x') + std::to_string(i));
    for (const std::string& path : paths) ASSERT_TRUE(filled.append(path.c_str()));
    EXPECT_EQ(static_cast<int>(paths.size()), filled.count());

    LPARAM block = filled.release();
    EXPECT_EQ(0, filled.count());
    PathBatch taken(block);
    EXPECT_EQ(static_cast<int>(paths.size()), taken.count());
    EXPECT_EQ(paths, contents(taken));
    EXPECT_EQ(0, PathBatch(0).count());
}

TEST(PathBatch, FailedGrowthLeavesTheBatchAsItWas) {
    PathBatch batch;
    ASSERT_TRUE(batch.append("C:\\one.avi"));
    allocationFaults::failNth(1);
    EXPECT_FALSE(batch.append(std::string(5000, 'y').c_str()));  // needs a larger block
    allocationFaults::reset();
    EXPECT_EQ(std::vector<std::string>{"C:\\one.avi"}, contents(batch));
}
