#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "SaverDriver.h"

using namespace driver;

// The preview runs as a child of a window of the driver, as it would inside
// the display settings.
class Preview : public ::testing::Test {
protected:
    void SetUp() override {
        copy = makeCopy("preview");
        parent = createTestWindow(300, 200);
        process.start(copy.program, "/p " + std::to_string(reinterpret_cast<UINT_PTR>(parent->handle)));
        pump::until([&] {
            return (preview = FindWindowExA(parent->handle, nullptr, "WindowsScreenSaverClass", nullptr)) ||
                   !process.running();
        });
        // Found during its creation; wait until it is shown.
        pump::until([&] { return !preview || (GetWindowLongA(preview, GWL_STYLE) & WS_VISIBLE); });
    }
    void TearDown() override {
        process.kill();
        destroyTestWindow(parent);
    }
    ProgramCopy copy;
    TestWindow* parent = nullptr;
    RunningProgram process;
    HWND preview = nullptr;
};

TEST_F(Preview, ChildFillsTheParentAndEndsWithIt) {
    ASSERT_NE(nullptr, preview);
    char title[32] = {};
    GetWindowTextA(preview, title, sizeof title);
    EXPECT_STREQ("Preview", title);
    EXPECT_EQ(static_cast<LONG>(WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN), GetWindowLongA(preview, GWL_STYLE));
    EXPECT_EQ(0, GetWindowLongA(preview, GWL_EXSTYLE) & WS_EX_TOPMOST);
    RECT client, child;
    GetClientRect(parent->handle, &client);
    GetWindowRect(preview, &child);
    MapWindowPoints(nullptr, parent->handle, reinterpret_cast<POINT*>(&child), 2);
    EXPECT_EQ(0, child.left);
    EXPECT_EQ(0, child.top);
    EXPECT_EQ(client.right, child.right);
    EXPECT_EQ(client.bottom, child.bottom);

    DestroyWindow(parent->handle);
    EXPECT_EQ(0u, process.finish());
}

TEST_F(Preview, InputDoesNotEndIt) {
    ASSERT_NE(nullptr, preview);
    RECT area;
    GetWindowRect(preview, &area);
    placeCursor((area.left + area.right) / 2, (area.top + area.bottom) / 2);
    moveMouse(10, 10);
    moveMouse(-20, 0);
    clickButton(MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
    clickButton(MOUSEEVENTF_MIDDLEDOWN, MOUSEEVENTF_MIDDLEUP);
    // Keys reach the preview only through the display settings' own focus.
    PostMessageA(preview, WM_KEYDOWN, 'A', 0);
    PostMessageA(preview, WM_SYSKEYDOWN, 'F', 1 << 29);
    PostMessageA(preview, WM_ACTIVATEAPP, FALSE, 0);
    PostMessageA(preview, WM_POWERBROADCAST, 4, 0);
    EXPECT_TRUE(RunningProgram::settle(preview));
    // The right button's context menu request reaches the parent: proof that
    // everything before it was handled.
    clickButton(MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP);
    EXPECT_TRUE(pump::until([&] { return parent->contextMenuCount > 0; }));
    EXPECT_TRUE(IsWindow(preview));
    EXPECT_FALSE(process.ended());
    DestroyWindow(parent->handle);
    EXPECT_EQ(0u, process.finish());
}

TEST_F(Preview, HelpAndContextMenuGoToTheParent) {
    ASSERT_NE(nullptr, preview);
    EXPECT_EQ(1, SendMessageA(preview, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(preview), MAKELPARAM(12, 34)));
    ASSERT_TRUE(pump::until([&] { return parent->contextMenuCount == 1; }));
    EXPECT_EQ(reinterpret_cast<WPARAM>(parent->handle), parent->lastWParam);
    EXPECT_EQ(MAKELPARAM(12, 34), parent->lastLParam);

    HELPINFO help = {};
    help.cbSize = sizeof help;
    help.iContextType = HELPINFO_WINDOW;
    help.hItemHandle = preview;
    EXPECT_EQ(1, SendMessageA(preview, WM_HELP, 0, reinterpret_cast<LPARAM>(&help)));
    ASSERT_TRUE(pump::until([&] { return parent->helpCount == 1; }));
    EXPECT_EQ(reinterpret_cast<WPARAM>(parent->handle), parent->lastWParam);
    EXPECT_EQ(preview, parent->helpItem);  // the parent could read the help request
    EXPECT_TRUE(RunningProgram::settle(preview));
}

// The commands that a full-screen show ignores go on to the default
// procedure in the preview, which answers them with 0.
TEST_F(Preview, SystemCommandsAndTitleChanges) {
    ASSERT_NE(nullptr, preview);
    static const WPARAM commands[] = {SC_NEXTWINDOW, SC_PREVWINDOW, SC_SCREENSAVE};
    for (WPARAM command : commands) {
        DWORD_PTR result = 99;
        ASSERT_TRUE(SendMessageTimeoutA(preview, WM_SYSCOMMAND, command, 0, SMTO_NORMAL, DEADLINE, &result));
        EXPECT_EQ(0u, result) << std::hex << command;
        EXPECT_TRUE(RunningProgram::settle(preview)) << std::hex << command;
    }
    EXPECT_EQ(0, SendMessageA(preview, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("Another title")));
    char title[32] = {};
    GetWindowTextA(preview, title, sizeof title);
    EXPECT_STREQ("Preview", title);
    PostMessageA(preview, WM_CLOSE, 0, 0);  // the display settings may close it
    EXPECT_EQ(0u, process.finish());
}
