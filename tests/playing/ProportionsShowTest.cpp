// A 4:3 clip (AVI through MCI, MP4 through Media Foundation) in a saver
// window wider than 4:3: with the setting on the picture keeps its
// proportions and black bars fill the sides; with it off the picture fills
// the window. Read from the screen's pixels.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <vector>

#include "support/InProcessShow.h"
#include "ShowDriver.h"
#include "support/MessagePump.h"
#include "support/ScreenPicture.h"

using namespace showdriver;

namespace {

// One row of the screen as black, red, black: the widths of the three runs.
struct Row {
    int leftBlack = 0;
    int red = 0;
    int rightBlack = 0;
    bool wellFormed = false;  // nothing but those three runs, with some red
    bool operator==(const Row& other) const {
        return leftBlack == other.leftBlack && red == other.red && rightBlack == other.rightBlack &&
               wellFormed == other.wellFormed;
    }
};

Row readRow(int y, int width) {
    const screen::Picture line = screen::capture(RECT{0, y, width, y + 1});
    Row row;
    int x = 0;
    while (x < width && screen::colourOf(line.at(x, 0)) == screen::black) ++x, ++row.leftBlack;
    while (x < width && screen::colourOf(line.at(x, 0)) == screen::red) ++x, ++row.red;
    while (x < width && screen::colourOf(line.at(x, 0)) == screen::black) ++x, ++row.rightBlack;
    row.wellFormed = x == width && row.red > 0;
    return row;
}

class ShowInProcessProportions : public inprocess::Case {
protected:
    // Shows the red clip (64 by 48) in a window of the screen's width and 16:9,
    // and checks the bars at its sides on three rows: near the top, in the
    // middle and near the bottom.
    void expectBars(bool keepProportions) {
        const int width = GetSystemMetrics(SM_CXSCREEN);
        const int height = width * 9 / 16;
        ASSERT_LT(height, GetSystemMetrics(SM_CYSCREEN));
        HWND window = inprocess::createSaver(width, height, {});
        ASSERT_NE(nullptr, window);
        const int rows[3] = {2, height / 2, height - 3};
        Row seen[3];
        Row before;
        // The same picture twice in a row on all three lines: not one caught
        // in the middle of a file switch.
        const bool steady = pump::until([&] {
            for (int i = 0; i < 3; ++i) seen[i] = readRow(rows[i], width);
            const bool same = seen[0].wellFormed && seen[0] == seen[1] && seen[0] == seen[2] && seen[0] == before;
            before = seen[0];
            return same;
        }, kDeadline);
        const int bar = keepProportions ? (width - height * 4 / 3) / 2 : 0;
        std::printf("bars: window %dx%d, 4:3 clip, keep proportions %s: black %d px left, red %d px, black %d px "
                    "right (expected %d each side)\n",
                    width, height, keepProportions ? "on" : "off", seen[1].leftBlack, seen[1].red, seen[1].rightBlack, bar);
        std::fflush(stdout);
        ASSERT_TRUE(steady) << "no steady red picture between black bars";
        EXPECT_NEAR(bar, seen[1].leftBlack, 1);
        EXPECT_NEAR(bar, seen[1].rightBlack, 1);
        EXPECT_NEAR(width - 2 * bar, seen[1].red, 2);
        EXPECT_TRUE(inprocess::endWithKey(window));
    }
};

}  // namespace

// The MP4 clip's renderer keeps the proportions itself; under Wine it keeps
// them whatever it is asked, so only the bars are looked for there.
TEST(ShowProportions, AFourToThreeClipInAWiderWindow) {
    const struct {
        const char* clip;
        bool keep;
    } rows[] = {{"red.avi", true}, {"red.avi", false}, {"red.mp4", true}};
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << row.clip << (row.keep ? ", keep proportions" : ", fill the window"));
        ProgramCopy folder = inprocess::copyOfThisProgram("proportions");
        folder.setOptions(0, 1, 1, row.keep);
        folder.setEntries({clip(row.clip)});
        inprocess::runCase(folder,
                           row.keep ? "ShowInProcessProportions.BarsAtTheSides" : "ShowInProcessProportions.NoBars");
        // The show writes its resume point and nothing else.
        EXPECT_EQ(row.keep ? "1" : "0", folder.iniValue("Setting", "KeepAspect", "<missing>"));
        EXPECT_EQ(clip(row.clip), folder.resumeName());
    }
}

TEST_F(ShowInProcessProportions, BarsAtTheSides) { expectBars(true); }
TEST_F(ShowInProcessProportions, NoBars) { expectBars(false); }
