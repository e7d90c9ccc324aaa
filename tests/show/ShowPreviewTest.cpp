// The preview inside a window of the test, as the display settings show it:
// the still picture, nothing played, nothing stored. Wine does not draw a
// child window of another process, so the picture is checked with the host's
// runSaver in a process of its own, and cinevane.scr /p for the rest.
#include <gtest/gtest.h>

#include <vector>

#include "support/InProcessShow.h"
#include "ShowDriver.h"
#include "support/PreviewHost.h"
#include "support/ScreenPicture.h"

using namespace showdriver;

namespace {

const COLORREF kCaptionBlue = RGB(0, 0, 255);
const int kIconWidth = 32;

bool hasCaption(const screen::Picture& picture) {
    for (COLORREF p : picture.pixels)
        if (p == kCaptionBlue) return true;
    return false;
}

}  // namespace

TEST(ShowPreview, ProgramPreviewPlaysNothingStoresNothingAndEndsWithItsParent) {
    ProgramCopy folder("preview");
    folder.setOptions(0, 1, 1);
    folder.setEntries({clip("red.avi")});
    folder.setResume(clip("red.avi"), "0,9");
    HWND parent = previewhost::create(100, 100, 240, 180);
    ASSERT_NE(nullptr, parent);

    RunningProgram preview;
    std::string arguments = "/p " + std::to_string(reinterpret_cast<UINT_PTR>(parent));
    ASSERT_TRUE(preview.start(folder.program, arguments));
    HWND window = nullptr;
    pump::until([&] {
        window = FindWindowExA(parent, nullptr, "WindowsScreenSaverClass", "Preview");
        return window || !preview.running();
    });
    ASSERT_NE(nullptr, window) << "no preview window in the parent";
    RECT client;
    GetClientRect(window, &client);
    EXPECT_EQ(240, client.right);
    EXPECT_EQ(180, client.bottom);
    // The video view would have been made while the window was created.
    EXPECT_EQ(nullptr, FindWindowExA(window, nullptr, "CinevaneView", nullptr));

    // The display settings close the preview by destroying their window.
    DestroyWindow(parent);
    ASSERT_TRUE(preview.waitForExit(kDeadline));
    EXPECT_EQ(0u, preview.exitCode());
    EXPECT_EQ(clip("red.avi"), folder.resumeName());
    EXPECT_EQ("0,9", folder.resumeTime());
}

TEST(ShowPreview, StillPictureBlackWithIconAndBlueCaption) {
    for (const char* name : {"PreviewInASmallArea", "PreviewInAnAreaAsHighAsTheScreen"}) {
        SCOPED_TRACE(name);
        ProgramCopy folder = inprocess::copyOfThisProgram("preview-picture");
        folder.setOptions(0, 1, 1);
        folder.setEntries({clip("red.avi")});
        folder.setResume(clip("red.avi"), "0,9");
        inprocess::runCase(folder, std::string("ShowInProcessPreview.") + name);
        EXPECT_EQ(clip("red.avi"), folder.resumeName());
        EXPECT_EQ("0,9", folder.resumeTime());
    }
}

class ShowInProcessPreview : public inprocess::Case {
protected:
    void expectStillPicture(int left, int top, int width, int height);
};

void ShowInProcessPreview::expectStillPicture(int left, int top, int width, int height) {
    HWND parent = previewhost::create(left, top, width, height);
    ASSERT_NE(nullptr, parent);
    // The picture as it was once the caption was there.
    screen::Picture seen;
    ASSERT_EQ(0, previewhost::run(parent, [&] { return hasCaption(seen = screen::capture(parent)); }));
    ASSERT_TRUE(hasCaption(seen)) << "no caption drawn";
    ASSERT_EQ(width, seen.width);

    // The icon's yellow play arrow lies inside its 32 by 32 cell.
    bool iconDrawn = false;
    for (int y = 0; y < kIconWidth; ++y)
        for (int x = 0; x < kIconWidth; ++x)
            if (seen.at(x, y) == RGB(255, 255, 0)) iconDrawn = true;
    EXPECT_TRUE(iconDrawn);

    // The caption starts right of the icon's width, at the top edge.
    int captionLeft = seen.width, captionTop = seen.height, captionBottom = -1, captionRight = -1;
    for (int y = 0; y < seen.height; ++y)
        for (int x = 0; x < seen.width; ++x)
            if (seen.at(x, y) == kCaptionBlue) {
                captionLeft = std::min(captionLeft, x);
                captionRight = std::max(captionRight, x);
                captionTop = std::min(captionTop, y);
                captionBottom = std::max(captionBottom, y);
            }
    EXPECT_GE(captionLeft, kIconWidth);
    EXPECT_LE(captionLeft, kIconWidth + 4);
    EXPECT_LE(captionTop, 6);
    EXPECT_LT(captionBottom, 24);

    // Black everywhere else (the caption's smoothed edge aside): no video,
    // none of the parent's white.
    int notBlack = 0;
    std::string where;
    for (int y = 0; y < seen.height; ++y)
        for (int x = 0; x < seen.width; ++x)
            if ((y >= kIconWidth || x > captionRight + 2) && seen.at(x, y) != RGB(0, 0, 0)) {
                if (++notBlack <= 5) where += " " + std::to_string(x) + "," + std::to_string(y);
            }
    EXPECT_EQ(0, notBlack) << "at" << where;
}

TEST_F(ShowInProcessPreview, PreviewInASmallArea) { expectStillPicture(100, 100, 240, 180); }

// As high as the screen: only the run mode tells a preview from a show.
TEST_F(ShowInProcessPreview, PreviewInAnAreaAsHighAsTheScreen) {
    int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    expectStillPicture(width - 300, 0, 300, height);
}
