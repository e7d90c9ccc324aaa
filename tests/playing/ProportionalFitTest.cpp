// The rectangle of a picture that keeps its proportions, over clip sizes and
// monitor layouts.
#include <gtest/gtest.h>

#include <windows.h>

#include "playback/show/ProportionalFit.h"

namespace {

std::string text(const Bounds& b) {
    return std::to_string(b.left) + "," + std::to_string(b.top) + " " + std::to_string(b.width) + "x" +
           std::to_string(b.height);
}

struct FitRow {
    int line;
    const char* what;
    Bounds source;
    Bounds area;
    Bounds expected;
};

struct LayoutRow {
    int line;
    const char* what;
    RECT monitor;       // the primary monitor on the screen
    POINT clientOrigin; // the window's client area on the screen
    Bounds client;
    Bounds expected;
};

}  // namespace

TEST(ProportionalFit, LargestRectangleOfTheSourcesProportionsCentredInTheArea) {
    const FitRow rows[] = {
        {__LINE__, "wide clip on a 4:3 monitor", {0, 0, 1920, 1080}, {0, 0, 1024, 768}, {0, 96, 1024, 576}},
        {__LINE__, "4:3 clip on a wide monitor", {0, 0, 640, 480}, {0, 0, 1920, 1080}, {240, 0, 1440, 1080}},
        {__LINE__, "upright phone clip", {0, 0, 1080, 1920}, {0, 0, 1920, 1080}, {656, 0, 608, 1080}},
        {__LINE__, "square clip", {0, 0, 100, 100}, {0, 0, 1280, 1024}, {128, 0, 1024, 1024}},
        {__LINE__, "same proportions as the area", {0, 0, 64, 48}, {0, 0, 1024, 768}, {0, 0, 1024, 768}},
        {__LINE__, "small clip grows", {0, 0, 32, 24}, {0, 0, 1024, 576}, {128, 0, 768, 576}},
        {__LINE__, "top-down picture: negative height", {0, 0, 64, -48}, {0, 0, 1024, 576}, {128, 0, 768, 576}},
        {__LINE__, "area away from the origin", {0, 0, 640, 480}, {1280, 0, 1920, 1080}, {1520, 0, 1440, 1080}},
        {__LINE__, "area below the origin", {0, 0, 1920, 1080}, {0, 1024, 1280, 1024}, {0, 1176, 1280, 720}},
        {__LINE__, "odd sizes round to the nearest pixel", {0, 0, 3, 2}, {0, 0, 100, 100}, {0, 16, 100, 67}},
        {__LINE__, "source offset does not matter", {10, 20, 160, 120}, {0, 0, 800, 800}, {0, 100, 800, 600}},
        {__LINE__, "huge sizes do not overflow", {0, 0, 60000, 40000}, {0, 0, 60000, 60000}, {0, 10000, 60000, 40000}},
        {__LINE__, "clip that reports no size", {0, 0, 0, 0}, {0, 0, 1024, 768}, {0, 0, 1024, 768}},
        {__LINE__, "clip that reports no height", {0, 0, 640, 0}, {100, 0, 1024, 768}, {100, 0, 1024, 768}},
        {__LINE__, "empty area", {0, 0, 640, 480}, {0, 0, 0, 0}, {0, 0, 0, 0}},
    };
    for (const FitRow& row : rows) {
        SCOPED_TRACE(testing::Message() << "row at line " << row.line << ": " << row.what);
        EXPECT_EQ(text(row.expected), text(fitKeepingProportions(row.source, row.area)));
    }
}

TEST(ProportionalFit, MonitorAreaInsideTheSaverWindow) {
    const LayoutRow rows[] = {
        {__LINE__, "one monitor", {0, 0, 1024, 768}, {0, 0}, {0, 0, 1024, 768}, {0, 0, 1024, 768}},
        {__LINE__, "second monitor left of the primary", {0, 0, 1920, 1080}, {-1280, 0}, {0, 0, 3200, 1080},
         {1280, 0, 1920, 1080}},
        {__LINE__, "second monitor above the primary", {0, 0, 1920, 1080}, {0, -1024}, {0, 0, 1920, 2104},
         {0, 1024, 1920, 1080}},
        {__LINE__, "second monitor right of the primary", {0, 0, 1024, 768}, {0, 0}, {0, 0, 2304, 1024},
         {0, 0, 1024, 768}},
        {__LINE__, "window smaller than the monitor", {0, 0, 1024, 768}, {0, 0}, {0, 0, 1024, 576},
         {0, 0, 1024, 576}},
        {__LINE__, "window inside the monitor", {0, 0, 1024, 768}, {100, 100}, {0, 0, 152, 112}, {0, 0, 152, 112}},
        {__LINE__, "window off the monitor", {0, 0, 1024, 768}, {2000, 0}, {0, 0, 800, 600}, {0, 0, 800, 600}},
    };
    for (const LayoutRow& row : rows) {
        SCOPED_TRACE(testing::Message() << "row at line " << row.line << ": " << row.what);
        EXPECT_EQ(text(row.expected), text(monitorAreaInClient(row.monitor, row.clientOrigin, row.client)));
    }
}

TEST(ProportionalFit, FourToThreeClipOnAPrimaryMonitorRightOfAnother) {
    // A 1280x1024 monitor left of a 1920x1080 primary one: the saver window
    // starts at the left monitor, and the clip belongs on the primary only.
    const RECT primary = {0, 0, 1920, 1080};
    const Bounds area = monitorAreaInClient(primary, POINT{-1280, 0}, Bounds(0, 0, 3200, 1080));
    EXPECT_EQ("1520,0 1440x1080", text(fitKeepingProportions(Bounds(0, 0, 320, 240), area)));
}
