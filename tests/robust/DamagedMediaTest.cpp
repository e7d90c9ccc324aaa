// Shows of damaged media, run as the real program: random bytes and cut
// clips under the names of playable files, an empty file, files of other
// kinds that a user may choose through the picker's filter for all files,
// and a clip that is deleted or replaced by a folder after the show started.
// When the bad file's turn comes the show must end by itself with exit code
// 0, leave the stored resume point as it was, and leave nothing running. A
// file that the platform can play in spite of the damage may instead play
// on: the show must then reach the blue clip after it (a damaged file may
// draw nothing, so only the next clip tells that the show moved on), and
// still end on a key press with exit code 0 and leave nothing running. No
// file may hold the show: one on which the player stops without reporting an
// end counts as ended once its position has stood still for a while. Files
// that no system plays (a text, random bytes under a name no driver claims)
// must end the show.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "RobustReport.h"
#include "support/MessagePump.h"
#include "support/ProgramCopy.h"
#include "support/RunningProgram.h"
#include "support/ScreenPicture.h"
#include "support/TestFiles.h"
#include "support/TestRandom.h"
#include "support/TestPaths.h"

namespace {

const unsigned mediaSeed = 7;
const char earlierName[] = "C:\\earlier\\clip.avi";
const char earlierTime[] = "3,7";

std::string media(const char* name) {
    return testfiles::readBytes(testpaths::clip(name));
}

std::string half(const std::string& bytes) {
    return bytes.substr(0, bytes.size() / 2);
}

enum Place { badFirst, badSecond };
enum Action { none, deleteIt, replaceByFolder };

struct Case {
    const char* what;
    const char* fileName;
    std::function<std::string()> bytes;
    Place place;
    Action action;
    bool mustEnd = false;  // no system plays it
};

enum Outcome { ended, playedOn, held };

// Watches the show until it ends or the blue clip after the bad file shows.
// The bad file plays for two seconds at most, and one on which the player
// stops counts as ended once its position has stood still for five; a show
// that has done neither by the usual deadline is held on it.
Outcome watch(const RunningProgram& show) {
    Outcome outcome = held;
    pump::until([&] {
        if (show.ended()) {
            outcome = ended;
            return true;
        }
        if (screen::colourOf(screen::centre()) == screen::blue) {
            outcome = playedOn;
            return true;
        }
        return false;
    });
    return outcome;
}

bool waitForRed(const RunningProgram& show) {
    bool red = false;
    pump::until([&] { return (red = screen::colourOf(screen::centre()) == screen::red) || show.ended(); });
    return red;
}

// Runs one case; returns what went wrong, or empty when it passed.
std::string runCase(const Case& c, std::string& told) {
    const std::string before = testpaths::clip("red.avi");
    const std::string after = testpaths::clip("blue.avi");
    ProgramCopy copy("damaged");
    const std::string bad = copy.folder + c.fileName;
    if (!testfiles::writeBytes(bad, c.bytes())) return "cannot write " + bad;
    std::vector<std::string> files = c.place == badFirst ? std::vector<std::string>{bad, after}
                                                         : std::vector<std::string>{before, bad, after};
    copy.setOptions(0, 1, 1);
    copy.setEntries(files);
    copy.setResume(earlierName, earlierTime);

    RunningProgram show;
    if (!show.start(copy.program, "/s")) return "cannot start the program";
    if (c.action != none) {
        // Once the first clip shows, the play list has been built; the file
        // goes while that clip plays.
        if (!show.waitForSaver()) return "no window";
        if (!waitForRed(show)) return "the first clip did not show";
        if (!DeleteFileA(bad.c_str())) return "cannot delete " + bad;
        if (c.action == replaceByFolder && !CreateDirectoryA(bad.c_str(), nullptr)) return "cannot make the folder";
    }

    Outcome outcome = watch(show);
    std::string problems;
    if (outcome == held) problems += " held the show";
    if (outcome == playedOn && c.mustEnd) problems += " played on";
    if (outcome != ended) {
        told = outcome == playedOn ? "played on" : "held";
        if (show.endShowWithKey() == RunningProgram::TIMED_OUT) return "did not end on a key press";
    } else {
        told = "ended";
        const std::string name = copy.iniValue("Resume", "Name", "(none)");
        const std::string time = copy.iniValue("Resume", "Time", "(none)");
        if (name != earlierName || time != earlierTime) problems += " resume point changed to " + name + " " + time;
    }
    if (show.exitCode() != 0) problems += " exit code " + std::to_string(show.exitCode());
    if (!show.nothingLeft()) problems += " something left running";
    return problems;
}

}  // namespace

TEST(RobustMedia, DamagedFilesEndTheShowCleanly) {
    const std::vector<Case> cases = {
        {"random bytes", "noise.avi", [] { return TestRandom(mediaSeed).bytes(8192); }, badSecond, none},
        {"random bytes", "noise.mpg", [] { return TestRandom(mediaSeed + 1).bytes(8192); }, badSecond, none},
        {"random bytes", "noise.wmv", [] { return TestRandom(mediaSeed + 2).bytes(8192); }, badSecond, none},
        {"random bytes", "noise.avi", [] { return TestRandom(mediaSeed + 3).bytes(8192); }, badFirst, none},
        {"random bytes", "noise.mpg", [] { return TestRandom(mediaSeed + 4).bytes(8192); }, badFirst, none},
        {"random bytes", "noise.wmv", [] { return TestRandom(mediaSeed + 5).bytes(8192); }, badFirst, none},
        {"an AVI header, then random bytes", "header.avi",
         [] { return media("pattern.avi").substr(0, 64) + TestRandom(mediaSeed + 6).bytes(8192); }, badSecond, none},
        {"the head of a clip", "head.avi", [] { return media("damaged.avi"); }, badSecond, none},
        {"half a clip", "half.avi", [] { return half(media("uncompressed.avi")); }, badSecond, none},
        {"half a clip", "half.mpg", [] { return half(media("pattern.mpg")); }, badSecond, none},
        {"half a clip", "half.wmv", [] { return half(media("pattern.wmv")); }, badSecond, none},
        {"the head of a clip", "head.wmv", [] { return media("pattern.wmv").substr(0, 600); }, badFirst, none},
        {"zero bytes", "empty.avi", [] { return std::string(); }, badSecond, none},
        {"zero bytes", "empty.mpg", [] { return std::string(); }, badFirst, none},
        {"zero bytes", "empty.wmv", [] { return std::string(); }, badSecond, none},
        {"deleted after the start", "gone.avi", [] { return media("lime.avi"); }, badSecond, deleteIt},
        {"replaced by a folder after the start", "folder.avi", [] { return media("lime.avi"); }, badSecond,
         replaceByFolder},
        {"a text file", "notes.txt", [] { return std::string("Shopping list\r\nmilk\r\n"); }, badSecond, none, true},
        {"a text file", "notes.txt", [] { return std::string("Shopping list\r\nmilk\r\n"); }, badFirst, none, true},
        {"random bytes", "noise.mp4", [] { return TestRandom(mediaSeed + 7).bytes(8192); }, badSecond, none, true},
        {"random bytes", "noise.mkv", [] { return TestRandom(mediaSeed + 8).bytes(8192); }, badSecond, none, true},
    };

    robust::Tally tally("damaged media shows");
    int playedOn = 0;
    int held = 0;
    for (size_t i = 0; i < cases.size(); ++i) {
        const Case& c = cases[i];
        robust::currentCase = static_cast<int>(i);
        std::string told;
        std::string problems = runCase(c, told);
        bool passed = problems.empty();
        tally.record(passed);
        if (told == "played on") ++playedOn;
        if (told == "held") ++held;
        std::printf("media %2u %-38s %-10s %-6s: %s%s%s\n", static_cast<unsigned>(i), c.what, c.fileName,
                    c.place == badFirst ? "first" : "second", told.c_str(), passed ? "" : "  FAILED:",
                    problems.c_str());
        std::fflush(stdout);
        EXPECT_TRUE(passed) << c.what << " " << c.fileName << ": " << problems;
    }
    robust::currentCase = -1;
    std::printf("damaged files the platform played on: %d; held the show on: %d\n", playedOn, held);
    tally.print();
    EXPECT_EQ(0, held) << "a file held the show";
}
