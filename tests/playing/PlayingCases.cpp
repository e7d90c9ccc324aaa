#include "PlayingCases.h"

#include <gtest/gtest.h>

#include "support/TestPaths.h"

namespace playing {

std::string thisProgram() { return testpaths::programFolder() + "playing_tests.exe"; }

void runInProcess(const ProgramCopy& folder, const std::string& suiteAndName) {
    RunningProgram child;
    ASSERT_TRUE(child.start(folder.program, "--in-process --gtest_filter=" + suiteAndName));
    // The longest case waits for three stalls of five seconds and more.
    ASSERT_TRUE(child.waitForExit(8 * showdriver::kDeadline)) << suiteAndName << " did not finish";
    EXPECT_EQ(0u, child.exitCode()) << suiteAndName << " failed; its output is above";
}

}  // namespace playing
