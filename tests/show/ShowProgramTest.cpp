// The full-screen show and the preview of cinevane.scr itself, watched from
// outside: which clip fills the screen, what the INI file holds afterwards.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>

#include "ShowDriver.h"

using namespace showdriver;

namespace {

// One show in a folder of its own; the test ends it.
struct Show {
    explicit Show(const char* hint) : folder(hint) {}

    ::testing::AssertionResult start(RunningProgram& process, const char* arguments = "/s") {
        if (process.start(folder.program, arguments)) return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "CreateProcessA failed with " << GetLastError();
    }
    ::testing::AssertionResult start() { return start(running); }

    ProgramCopy folder;
    RunningProgram running;
};

// Whole minutes and seconds from a stored "Time" value.
bool parseTime(const std::string& text, int& minutes, int& seconds) {
    return sscanf(text.c_str(), "%d,%d", &minutes, &seconds) == 2;
}

// The stored point names the file, at whole minutes and seconds within
// the bounds.
void expectPoint(const ProgramCopy& folder, const std::string& name, int minutes, int lowest, int highest) {
    EXPECT_EQ(name, folder.resumeName());
    int storedMinutes = -1, seconds = -1;
    ASSERT_TRUE(parseTime(folder.resumeTime(), storedMinutes, seconds)) << folder.resumeTime();
    EXPECT_EQ(minutes, storedMinutes);
    EXPECT_GE(seconds, lowest);
    EXPECT_LE(seconds, highest);
}

bool waitForClip(const RunningProgram& process, Screen wanted) {
    std::vector<Screen> seen = watchClipsUntil(process, wanted);
    return !seen.empty() && seen.back() == wanted;
}

}  // namespace

TEST(ShowProgram, SequentialListPlaysInListOrderAndWrapsToTheFirst) {
    Show show("sequential");
    show.folder.setOptions(0, 1, 1);
    show.folder.setEntries({clip("red.avi"), clip("lime.avi"), clip("blue.avi")});
    ASSERT_TRUE(show.start());

    std::vector<Screen> seen = watchClips(show.running, 4);
    ASSERT_EQ(describe({Screen::Red, Screen::Lime, Screen::Blue, Screen::Red}), describe(seen));
    ASSERT_EQ(0u, show.running.endShowWithKey());
    EXPECT_EQ(clip("red.avi"), show.folder.resumeName());
    EXPECT_EQ("0,0", show.folder.resumeTime());
}

TEST(ShowProgram, OneFileListPlaysItAgainAndAgain) {
    Show show("one-file");
    show.folder.setOptions(0, 1, 1);
    show.folder.setEntries({clip("redblue.avi")});
    ASSERT_TRUE(show.start());

    // Red after blue: the clip started again from its beginning.
    std::vector<Screen> seen = watchClips(show.running, 5);
    ASSERT_EQ(describe({Screen::Red, Screen::Blue, Screen::Red, Screen::Blue, Screen::Red}),
              describe(seen));
    ASSERT_EQ(0u, show.running.endShowWithKey());
    EXPECT_EQ(clip("redblue.avi"), show.folder.resumeName());
}

TEST(ShowProgram, EndingStoresThePositionAndTheNextShowGoesOnFromThere) {
    Show show("resume");
    show.folder.setOptions(0, 1, 1);
    show.folder.setEntries({clip("red.avi"), clip("long.avi"), clip("blue.avi")});
    show.folder.setResume(clip("long.avi"), "1,0");
    ASSERT_TRUE(show.start());

    // long.avi comes first, from 1:00 rather than from its start, and the key
    // ends the show before its end at 1:05 however slowly the machine draws:
    // the show posts its start before it takes the front and handles posted
    // messages before input, so a key given once it is in front comes right
    // after long.avi has started.
    HWND saver = show.running.waitForSaver();
    ASSERT_NE(nullptr, saver);
    ASSERT_TRUE(pump::until([&] { return GetForegroundWindow() == saver; }));
    ASSERT_EQ(0u, show.running.endShowWithKey());
    expectPoint(show.folder, clip("long.avi"), 1, 0, 5);

    // The next show picks up there (its last seconds may pass before their
    // bars are seen), and after long.avi comes blue.avi, not red.avi.
    RunningProgram next;
    ASSERT_TRUE(show.start(next));
    std::vector<Screen> seen = watchClipsUntil(next, Screen::Blue);
    if (!seen.empty() && seen.front() == Screen::Bars) seen.erase(seen.begin());
    ASSERT_EQ(describe({Screen::Blue}), describe(seen));
    ASSERT_EQ(0u, next.endShowWithKey());
    EXPECT_EQ(clip("blue.avi"), show.folder.resumeName());
    EXPECT_EQ("0,0", show.folder.resumeTime());
}

// Blue shows once the MPEG clip has played five seconds. Whatever its driver
// does while it stops, the key ends the show within the deadline, and the
// point stored is where the clip had got to.
TEST(ShowProgram, KeyDuringAnMpegClipEndsTheShowAndStoresWhereItGot) {
    Show show("mpeg-key");
    show.folder.setOptions(0, 1, 1);
    show.folder.setEntries({clip("ten-seconds.mpg")});
    ASSERT_TRUE(show.start());
    ASSERT_TRUE(waitForClip(show.running, Screen::Blue)) << "the clip's blue half never showed";
    ASSERT_EQ(0u, show.running.endShowWithKey());
    expectPoint(show.folder, clip("ten-seconds.mpg"), 0, 5, 9);
}

// A driver that never returns from opening the file holds the show's thread:
// a key still ends the show at once, and without one the show gives up on
// the file as on one that cannot be played.
TEST(ShowProgram, ADriverThatHoldsTheShowNeverKeepsItOnScreen) {
    // Windows loads a driver beside the program before its own; Wine keeps
    // to its own build unless its settings for the program say otherwise.
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Wine\\AppDefaults\\held-driver.scr\\DllOverrides",
                                             0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr));
    RegSetValueExA(key, "mciqtz32", 0, REG_SZ, reinterpret_cast<const BYTE*>("native"), 7);
    RegCloseKey(key);
    for (const bool pressKey : {true, false}) {
        SCOPED_TRACE(pressKey ? "a key" : "no key");
        ProgramCopy copy("held-driver", ProgramCopy::builtProgram(), "held-driver.scr");
        copy.copyHere(testpaths::binaryPath("tests\\show\\fake-mciqtz32.dll"), "mciqtz32.dll");
        copy.setOptions(0, 0, 1);
        copy.setEntries({clip("pattern.mpg")});
        RunningProgram show;
        ASSERT_TRUE(show.start(copy.program, "/s"));
        const HWND saver = show.waitForSaver();
        ASSERT_NE(nullptr, saver);
        ASSERT_TRUE(pump::until([saver] {
            DWORD_PTR answer = 0;
            return !SendMessageTimeoutA(saver, WM_NULL, 0, 0, SMTO_BLOCK, 500, &answer);
        })) << "the show's thread was never held";
        if (pressKey) {
            ASSERT_EQ(0u, show.endShowWithKey());
        } else {
            ASSERT_TRUE(show.waitForExit(kDeadline)) << "the held show stayed";
            EXPECT_EQ(0u, show.exitCode());
        }
    }
}

TEST(ShowProgram, StoredNameNotInTheListStartsAtTheFirstFile) {
    std::string otherCase = clip("lime.avi");
    std::transform(otherCase.begin(), otherCase.end(), otherCase.begin(),
                   [](char c) { return static_cast<char>(toupper(static_cast<unsigned char>(c))); });
    const struct {
        const char* what;
        std::string storedName;
    } cases[] = {
        {"a file no longer listed", clip("gone.avi")},
        {"a listed file in other letter case", otherCase},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Show show("not-listed");
        show.folder.setOptions(0, 1, 1);
        show.folder.setEntries({clip("red.avi"), clip("lime.avi"), clip("blue.avi")});
        show.folder.setResume(c.storedName, "0,0");
        ASSERT_TRUE(show.start());
        std::vector<Screen> seen = watchClips(show.running, 1);
        ASSERT_EQ(describe({Screen::Red}), describe(seen));
        ASSERT_EQ(0u, show.running.endShowWithKey());
        EXPECT_EQ(clip("red.avi"), show.folder.resumeName());
    }
}

TEST(ShowProgram, ResumeOffRemovesTheStoredPoint) {
    Show show("resume-off");
    show.folder.setOptions(0, 0, 1);
    show.folder.setEntries({clip("red.avi"), clip("lime.avi")});
    show.folder.setResume(clip("lime.avi"), "0,5");
    ASSERT_TRUE(show.start());

    // The stored file is not looked up either: the first file plays.
    std::vector<Screen> seen = watchClips(show.running, 1);
    ASSERT_EQ(describe({Screen::Red}), describe(seen));
    ASSERT_EQ(0u, show.running.endShowWithKey());
    EXPECT_FALSE(show.folder.hasResumeSection());
}

TEST(ShowProgram, NothingToPlayRefusesTheWindowAndEnds) {
    enum Kind { NoEntries, MissingPaths, FolderWithoutVideo };
    const struct {
        const char* what;
        Kind kind;
    } cases[] = {
        {"no entries", NoEntries},
        {"only missing paths", MissingPaths},
        {"only a folder without video files", FolderWithoutVideo},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Show show("nothing");
        // With resume off a show that ran would remove the stored point.
        show.folder.setOptions(0, 0, 1);
        show.folder.setResume(clip("red.avi"), "0,5");
        std::vector<std::string> entries;
        if (c.kind == MissingPaths) {
            entries = {clip("missing.avi"), show.folder.folder + "no-such-folder\\"};
        } else if (c.kind == FolderWithoutVideo) {
            // Sub-folders are not searched, and other extensions do not count.
            std::string videos = show.folder.folder + "videos\\";
            CreateDirectoryA(videos.c_str(), nullptr);
            CreateDirectoryA((videos + "deeper").c_str(), nullptr);
            CopyFileA(clip("red.avi").c_str(), (videos + "deeper\\red.avi").c_str(), FALSE);
            CopyFileA(clip("tone.wav").c_str(), (videos + "tone.wav").c_str(), FALSE);
            entries = {videos};
        }
        show.folder.setEntries(entries);
        ASSERT_TRUE(show.start());

        ASSERT_TRUE(show.running.waitForExit(kDeadline)) << "the show did not end by itself";
        EXPECT_EQ(0u, show.running.exitCode());
        EXPECT_EQ(clip("red.avi"), show.folder.resumeName());
        EXPECT_EQ("0,5", show.folder.resumeTime());
    }
}

TEST(ShowProgram, FileThatCannotBeOpenedEndsTheShowAndKeepsTheEarlierPoint) {
    for (const char* bad : {"damaged.avi", "garbage.avi"}) {
        SCOPED_TRACE(bad);
        Show show("unplayable");
        show.folder.setOptions(0, 1, 1);
        show.folder.setEntries({clip("red.avi"), clip(bad), clip("blue.avi")});
        std::string earlier = show.folder.folder + "earlier.avi";
        show.folder.setResume(earlier, "3,7");
        ASSERT_TRUE(show.start());

        std::vector<Screen> seen = watchClips(show.running, 1);
        ASSERT_EQ(describe({Screen::Red}), describe(seen));
        ASSERT_TRUE(show.running.waitForExit(kDeadline)) << "the show went on";
        EXPECT_EQ(0u, show.running.exitCode());
        EXPECT_EQ(earlier, show.folder.resumeName());
        EXPECT_EQ("3,7", show.folder.resumeTime());
    }
}

// A driver that refuses the position ends the show at once; Wine's drivers
// accept it and report the file's end at once. Either way the show neither
// sticks on that file nor plays it from its start.
TEST(ShowProgram, StoredPositionBeyondTheEndOfTheFileIsNotPlayed) {
    Show show("beyond-end");
    show.folder.setOptions(0, 1, 1);
    show.folder.setEntries({clip("red.avi"), clip("long.avi"), clip("blue.avi")});
    show.folder.setResume(clip("long.avi"), "2,0");
    ASSERT_TRUE(show.start());

    bool blue = waitForClip(show.running, Screen::Blue);
    if (!blue) {
        ASSERT_FALSE(show.running.running()) << "neither ended nor went on to blue.avi";
        std::cout << "the show ended at once\n";
        EXPECT_EQ(0u, show.running.exitCode());
        return;
    }
    std::cout << "long.avi ended at once; the show went on with blue.avi\n";
    ASSERT_EQ(0u, show.running.endShowWithKey());
    EXPECT_EQ(clip("blue.avi"), show.folder.resumeName());
}

// Closing a device of the DirectShow driver hands activation to the video
// window and back: the loss of activation while the ended file closes must
// not end the show.
TEST(ShowProgram, ActivationLostWhileTheEndedFileClosesKeepsTheShow) {
    Show show("activation");
    show.folder.setOptions(0, 1, 1);
    show.folder.setEntries({clip("pattern.mpg"), clip("red.avi")});
    ASSERT_TRUE(show.start());

    ASSERT_TRUE(waitForClip(show.running, Screen::Red)) << "the show did not reach red.avi";
    ASSERT_EQ(0u, show.running.endShowWithKey());
    EXPECT_EQ(clip("red.avi"), show.folder.resumeName());
}

namespace {

// The window the driver draws its video in, inside the show's view, once it
// exists; mpg and wmv are drawn that way.
HWND driverVideoWindow() {
    HWND saver = FindWindowA("WindowsScreenSaverClass", "Screen Saver");
    HWND view = saver ? FindWindowExA(saver, nullptr, "CinevaneView", nullptr) : nullptr;
    return view ? GetWindow(view, GW_CHILD) : nullptr;
}

}  // namespace

TEST(ShowProgram, MouseOverTheDriversOwnVideoWindowEndsTheShow) {
    for (const char* name : {"pattern.mpg", "pattern.wmv"}) {
        SCOPED_TRACE(name);
        Show show("mouse-over-video");
        show.folder.setOptions(0, 0, 0);
        show.folder.setEntries({clip(name)});
        ASSERT_TRUE(show.start());

        HWND video = nullptr;
        pump::until([&] { return (video = driverVideoWindow()) || !show.running.running(); });
        ASSERT_NE(nullptr, video) << "the driver made no window of its own in the view";

        POINT cursor;
        GetCursorPos(&cursor);
        userinput::moveMouse(cursor.x > 100 ? -40 : 40, cursor.y > 100 ? -40 : 40);
        ASSERT_TRUE(show.running.waitForExit(kDeadline)) << "the show went on after the mouse moved";
        EXPECT_EQ(0u, show.running.exitCode());
    }
}
