// cinevane.scr itself while its folders are searched, watched from outside.
#include <gtest/gtest.h>

#include "../show/ShowDriver.h"
#include "SearchHarness.h"

using namespace search;
using namespace showdriver;

TEST(SearchProgram, KeyDuringALongSearchEndsTheShowAndStoresThePoint) {
    ProgramCopy folder("long-search");
    folder.setOptions(0, 1, 1);
    folder.setEntries(repeated(bigFolder("clips"), 10));
    RunningProgram show;
    ASSERT_TRUE(show.start(folder.program, "/s"));
    ASSERT_EQ(describe({Screen::Red}), describe(watchClips(show, 1)));
    ASSERT_EQ(0u, show.endShowWithKey());
    EXPECT_EQ(0u, folder.resumeName().find(bigFolder("clips"))) << folder.resumeName();
    EXPECT_EQ("0,0", folder.resumeTime());
}

TEST(SearchProgram, EmptySearchEndsTheShowByItselfWritingNothing) {
    // Whatever the resume option, the point an earlier show stored stays.
    for (int resume : {1, 0}) {
        SCOPED_TRACE(resume ? "resume on" : "resume off");
        ProgramCopy folder("empty-search");
        folder.setOptions(0, resume, 1);
        folder.setEntries(repeated(bigFolder("notes"), 3) + std::vector<std::string>{clip("missing.avi")});
        folder.setResume(clip("long.avi"), "0,5");
        RunningProgram show;
        ASSERT_TRUE(show.start(folder.program, "/s"));
        ASSERT_TRUE(show.waitForExit(kDeadline)) << "the show did not end by itself";
        EXPECT_EQ(0u, show.exitCode());
        EXPECT_EQ(clip("long.avi"), folder.resumeName());
        EXPECT_EQ("0,5", folder.resumeTime());
    }
}
