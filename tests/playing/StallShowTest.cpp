// Files on which the driver stops without reporting an end, inside real
// shows: the show goes on to the next file as at an end, starts over after a
// pause when a whole pass of the play list stalls, moves on from a file that
// outlives its length, and leaves alone files that play on, however long,
// files whose position reads 0, and resumed files that are slow to begin. The stalls come from a
// stand-in for such drivers (StallingDriver); how long after each stall the
// next file began is printed.
#include <gtest/gtest.h>

#include <windows.h>

#include <mmsystem.h>

#include <cstdio>

#include "support/InProcessShow.h"
#include "ShowDriver.h"
#include "StallingDriver.h"
#include "support/MessagePump.h"

using namespace showdriver;

namespace {

// Where the stand-in stops the stalling clips: three seconds in, so that the
// show's looks, one a second, see the position move before it stands still.
const DWORD stallAt = 3000;
const char stallTime[] = "0,3";  // the same point as the show stores it
const char earlierName[] = "C:\\earlier\\clip.avi";
const char earlierTime[] = "3,7";

class ShowInProcessStall : public inprocess::Case {
protected:
    void SetUp() override {
        inprocess::Case::SetUp();
        if (IsSkipped()) return;
        ASSERT_TRUE(driver.install());
        window = inprocess::createSaver();
        ASSERT_NE(nullptr, window);
    }

    // Handles messages, looking at the stalling file, until done or the time is up.
    bool until(const std::function<bool()>& done, DWORD deadline) {
        return pump::until([&] {
            driver.look();
            return done();
        }, deadline);
    }
    bool ended() const { return !IsWindow(window); }
    // The first stalling file of the show, and red.avi played after it.
    void expectMovedOnToRed() {
        ASSERT_TRUE(until([this] { return ended() || driver.nextPlayed(0, "red.avi"); }, 2 * kDeadline))
            << "the show never went on to red.avi";
        const StallingDriver::File& stalled = driver.files().at(0);
        const StallingDriver::File* next = driver.nextPlayed(0, "red.avi");
        ASSERT_TRUE(isStallingFile(stalled.path)) << stalled.path;
        ASSERT_NE(nullptr, next) << "the show ended instead";
        ASSERT_NE(0u, stalled.stalledAt) << "the file never stalled";
        EXPECT_GE(next->playedAt, stalled.stalledAt) << "cut before it stalled";
        EXPECT_EQ(static_cast<DWORD>(MCI_MODE_STOP), stalled.modeAtStop);
        std::printf("stall figure: %s stalled; the show closed it %lu ms later and the next file began %lu ms "
                    "after the stall\n",
                    stalled.path.substr(stalled.path.find_last_of('\\') + 1).c_str(),
                    static_cast<unsigned long>(stalled.stoppedAt - stalled.stalledAt),
                    static_cast<unsigned long>(next->playedAt - stalled.stalledAt));
        std::fflush(stdout);
        EXPECT_TRUE(inprocess::endWithKey(window));
    }

    StallingDriver driver{stallAt};
    HWND window = nullptr;
};

ProgramCopy stallFolder(const char* hint, const std::vector<std::pair<const char*, const char*>>& copies) {
    ProgramCopy folder = inprocess::copyOfThisProgram(hint);
    std::vector<std::string> entries;
    for (const auto& copy : copies)
        entries.push_back(copy.second ? folder.copyHere(clip(copy.first), copy.second) : clip(copy.first));
    folder.setOptions(0, 1, 1);
    folder.setEntries(entries);
    folder.setResume(earlierName, earlierTime);
    return folder;
}

}  // namespace

// --- A stalled file moves on ----------------------------------------------

TEST(ShowStall, AStalledFileMovesOnToTheNextFile) {
    const std::pair<const char*, const char*> clips[] = {
        {"long.avi", "stall.avi"}, {"eight-seconds.mpg", "stall.mpg"}, {"eight-seconds.wmv", "stall.wmv"}};
    for (const auto& clipAndName : clips) {
        const std::string source = clipAndName.first;
        const std::string name = clipAndName.second;
        SCOPED_TRACE(name);
        ProgramCopy folder = stallFolder("stall", {{source.c_str(), name.c_str()}, {"red.avi", nullptr}});
        inprocess::runCase(folder, "ShowInProcessStall.StalledFileMovesOn");
    }
}

TEST_F(ShowInProcessStall, StalledFileMovesOn) { expectMovedOnToRed(); }

// --- A show resumed at the point where a file stalled ---------------------

// Resumed at the point where it stands still, the file never moves again:
// its length and the margin decide.
TEST(ShowStall, AShowResumedAtTheStallPointMovesOn) {
    ProgramCopy folder = stallFolder("stall-resume", {{"twelve-seconds.avi", "stall.avi"}, {"red.avi", nullptr}});
    // A first show ends on a key while the file stands still, and stores
    // the stall point.
    inprocess::runCase(folder, "ShowInProcessStall.KeyWhileStalled");
    ASSERT_EQ(folder.folder + "stall.avi", folder.resumeName());
    ASSERT_EQ(stallTime, folder.resumeTime());
    inprocess::runCase(folder, "ShowInProcessStall.ResumedAtTheStallPointMovesOn");
}

TEST_F(ShowInProcessStall, KeyWhileStalled) {
    ASSERT_TRUE(until([this] { return driver.stalls() > 0 || ended(); }, kDeadline));
    EXPECT_TRUE(inprocess::endWithKey(window));
    EXPECT_EQ(1u, driver.files().size());
}

TEST_F(ShowInProcessStall, ResumedAtTheStallPointMovesOn) { expectMovedOnToRed(); }

// --- An end reported at the moment the show gives up -----------------------

// The driver's word of the end of the stalled file comes after the show has
// already gone on: it must not count as the end of the next file.
TEST(ShowStall, AnEndReportedAsTheShowGivesUpDoesNotCutTheNextFile) {
    ProgramCopy folder =
        stallFolder("stall-late", {{"long.avi", "stall-late.avi"}, {"red.avi", nullptr}, {"blue.avi", nullptr}});
    inprocess::runCase(folder, "ShowInProcessStall.LateEndLeavesTheNextFilePlaying");
}

TEST_F(ShowInProcessStall, LateEndLeavesTheNextFilePlaying) {
    ASSERT_TRUE(until([this] { return ended() || driver.nextPlayed(0, "blue.avi"); }, 2 * kDeadline))
        << "the show never went on to blue.avi";
    ASSERT_FALSE(ended());
    const StallingDriver::File* red = driver.nextPlayed(0, "red.avi");
    ASSERT_NE(nullptr, red) << "red.avi was skipped";
    // One second at ten frames a second: the AVI driver keeps the position at its last frame.
    EXPECT_GE(red->positionAtStop, 900u) << "red.avi was cut while it played";
    EXPECT_TRUE(inprocess::endWithKey(window));
}

// --- A whole pass of stalled files starts over ----------------------------

// A stall never ends the show by itself (a hiccup of a network drive would
// close it, and on 9x raise the password box with nobody there).
TEST(ShowStall, EveryFileStallingStartsOverAfterAPause) {
    ProgramCopy folder = stallFolder("stall-all", {{"long.avi", "stall-one.avi"}, {"eight-seconds.wmv", "stall-two.wmv"}});
    inprocess::runCase(folder, "ShowInProcessStall.EveryFileStalls");
    // Ended by the key while the first file stood still again.
    EXPECT_EQ(folder.folder + "stall-one.avi", folder.resumeName());
    EXPECT_EQ(stallTime, folder.resumeTime());
}

TEST_F(ShowInProcessStall, EveryFileStalls) {
    ASSERT_TRUE(until([this] { return ended() || driver.stalls() >= 3; }, 4 * kDeadline));
    ASSERT_FALSE(ended()) << "the show ended after " << driver.stalls() << " stalls";
    ASSERT_GE(driver.files().size(), 3u) << "the show did not go round again";
    EXPECT_TRUE(isStallingFile(driver.files()[2].path));
    EXPECT_TRUE(inprocess::endWithKey(window));
}

TEST(ShowStall, InRandomOrderOneFileThatPlaysKeepsTheShowGoing) {
    // Random order may put the stalling file last in one pass and first in the
    // next: two stalls in a row that are not a whole pass.
    ProgramCopy folder = stallFolder("stall-random", {{"red.avi", nullptr}, {"long.avi", "stall.avi"}});
    folder.setOptions(1, 1, 1);
    inprocess::runCase(folder, "ShowInProcessStall.OneFilePlays");
}

TEST_F(ShowInProcessStall, OneFilePlays) {
    const int stalls = 3;
    ASSERT_TRUE(until([this] { return ended() || driver.stalls() >= stalls; }, 5 * kDeadline));
    EXPECT_FALSE(ended()) << "the show ended after " << driver.stalls() << " stalls";
    EXPECT_GE(driver.stalls(), stalls);
    if (!ended()) {
        EXPECT_TRUE(inprocess::endWithKey(window));
    }
}

// --- A file that neither moves nor ends -----------------------------------

// Its driver reads 0 at every look and never reports the end: the commonest
// damaged clip. Its length and the margin decide.
TEST(ShowStall, AFileThatReadsZeroAndNeverEndsMovesOnAfterItsLength) {
    ProgramCopy folder = stallFolder("noend", {{"blue.avi", "zero-noend.avi"}, {"red.avi", nullptr}});
    inprocess::runCase(folder, "ShowInProcessStall.NeverEndingFileMovesOn");
}

TEST_F(ShowInProcessStall, NeverEndingFileMovesOn) {
    ASSERT_TRUE(until([this] { return ended() || driver.nextPlayed(0, "red.avi"); }, 2 * kDeadline))
        << "the show stayed on the file";
    ASSERT_FALSE(ended());
    EXPECT_TRUE(inprocess::endWithKey(window));
}

// --- Files that play on are never cut -------------------------------------

// Resumed at its stored point, the file takes longer than a stall to begin
// (a seek over a network), then plays on to its end.
TEST(ShowStall, AResumedFileSlowToBeginIsNotCut) {
    ProgramCopy folder = stallFolder("slow", {{"twelve-seconds.avi", "slow.avi"}, {"red.avi", nullptr}});
    folder.setResume(folder.folder + "slow.avi", "0,3");
    inprocess::runCase(folder, "ShowInProcessStall.LongClipPlaysToItsEnd");
}

// Twelve seconds: more than twice as long as a position may stand still.
TEST(ShowStall, ALongClipThatPlaysIsNeverCut) {
    ProgramCopy folder = stallFolder("long", {{"twelve-seconds.avi", nullptr}, {"red.avi", nullptr}});
    inprocess::runCase(folder, "ShowInProcessStall.LongClipPlaysToItsEnd");
}

TEST(ShowStall, AnMpegClipWhosePositionReadsZeroIsNeverCut) {
    // Once as the driver reports its position, once as a driver that always
    // reports 0 would.
    for (const char* name : {"eight.mpg", "zero.mpg"}) {
        SCOPED_TRACE(name);
        ProgramCopy folder = stallFolder("zero", {{"eight-seconds.mpg", name}, {"red.avi", nullptr}});
        inprocess::runCase(folder, "ShowInProcessStall.LongClipPlaysToItsEnd");
    }
}

// The first file plays until its driver stops it at its end; only then does
// the show go on.
TEST_F(ShowInProcessStall, LongClipPlaysToItsEnd) {
    ASSERT_TRUE(until([this] { return ended() || driver.nextPlayed(0, "red.avi"); }, 4 * kDeadline));
    ASSERT_FALSE(ended());
    const StallingDriver::File& first = driver.files().at(0);
    const StallingDriver::File* next = driver.nextPlayed(0, "red.avi");
    // Not its mode: the DirectShow driver may still read "playing" for a
    // moment after its word of the end.
    EXPECT_TRUE(first.stoppedAtItsEnd) << "cut while it still played, in mode " << first.modeAtStop;
    // The AVI driver keeps the position at the end; the DirectShow one reads 0 once stopped.
    if (first.path.compare(first.path.size() - 4, 4, ".avi") == 0) {
        EXPECT_GE(first.positionAtStop, 11000u);
    }
    std::printf("%s played %lu ms, stopped at %lu ms, mode %lu\n", first.path.c_str(),
                static_cast<unsigned long>(next->playedAt - first.playedAt),
                static_cast<unsigned long>(first.positionAtStop), static_cast<unsigned long>(first.modeAtStop));
    std::fflush(stdout);
    EXPECT_TRUE(inprocess::endWithKey(window));
}
