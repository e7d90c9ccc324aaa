#include <gtest/gtest.h>

#include <windows.h>

#include "SaverDriver.h"

using namespace driver;

namespace {

const int CENTRE_X = 400, CENTRE_Y = 300;

// A window of the saver's class and title, shown without activation.
struct StandInShow {
    StandInShow() {
        WNDCLASSA saverClass = {};
        saverClass.lpfnWndProc = DefWindowProcA;
        saverClass.hInstance = GetModuleHandleA(nullptr);
        saverClass.lpszClassName = CLASS_NAME;
        RegisterClassA(&saverClass);
        window = CreateWindowExA(0, CLASS_NAME, "Screen Saver", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr,
                                 saverClass.hInstance, nullptr);
        ShowWindow(window, SW_SHOWNOACTIVATE);
    }
    ~StandInShow() {
        if (window) DestroyWindow(window);
        UnregisterClassA(CLASS_NAME, GetModuleHandleA(nullptr));
    }
    static constexpr const char* CLASS_NAME = "WindowsScreenSaverClass";
    HWND window = nullptr;
};

// Whether upper comes before lower in the z-order of the top-level windows.
bool isAbove(HWND upper, HWND lower) {
    for (HWND next = GetWindow(upper, GW_HWNDNEXT); next; next = GetWindow(next, GW_HWNDNEXT))
        if (next == lower) return true;
    return false;
}

}  // namespace

// Full-screen shows on the NT family: every case starts its own show.
class Closing : public ::testing::Test {
protected:
    void SetUp() override { copy = makeCopy("closing"); }

    // Starts a show with the cursor at the centre and waits until it has
    // the foreground.
    HWND startShow(bool movesPointer = false) {
        if (movesPointer) copy = makeCopy("closing-mouse", NT_MOUSE_PROGRAM);
        placeCursor(CENTRE_X, CENTRE_Y);
        if (!process.start(copy.program, "/s")) return nullptr;
        HWND saver = process.waitForSaver();
        if (saver) waitForeground(saver);
        return saver;
    }
    bool ended() { return process.waitForExit(); }

    ProgramCopy copy;
    RunningProgram process;
};

TEST_F(Closing, WindowCoversTheVirtualScreenOnTop) {
    HWND saver = startShow();
    ASSERT_NE(nullptr, saver);
    RECT bounds;
    GetWindowRect(saver, &bounds);
    EXPECT_EQ(GetSystemMetrics(SM_XVIRTUALSCREEN), bounds.left);
    EXPECT_EQ(GetSystemMetrics(SM_YVIRTUALSCREEN), bounds.top);
    EXPECT_EQ(GetSystemMetrics(SM_CXVIRTUALSCREEN), bounds.right - bounds.left);
    EXPECT_EQ(GetSystemMetrics(SM_CYVIRTUALSCREEN), bounds.bottom - bounds.top);
    EXPECT_EQ(static_cast<LONG>(WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN),
              GetWindowLongA(saver, GWL_STYLE) & ~WS_DISABLED);
    EXPECT_TRUE(GetWindowLongA(saver, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(0u, process.endShowWithKey());
}

TEST_F(Closing, AnyKeyEndsTheShow) {
    static const struct {
        int line;
        WORD key;
        bool alt;
    } cases[] = {
        {__LINE__, 'A', false}, {__LINE__, VK_SPACE, false}, {__LINE__, VK_F5, false},
        {__LINE__, VK_SHIFT, false}, {__LINE__, 'F', true}, {__LINE__, VK_TAB, true},
    };
    for (const auto& c : cases) {
        HWND saver = startShow();
        ASSERT_NE(nullptr, saver) << "line " << c.line;
        pressKey(c.key, c.alt);
        EXPECT_EQ(0u, process.finish()) << "line " << c.line;
    }
}

TEST_F(Closing, EachMouseButtonEndsTheShow) {
    static const struct {
        int line;
        DWORD down, up;
    } cases[] = {
        {__LINE__, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP},
        {__LINE__, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP},
        {__LINE__, MOUSEEVENTF_MIDDLEDOWN, MOUSEEVENTF_MIDDLEUP},
    };
    for (const auto& c : cases) {
        ASSERT_NE(nullptr, startShow()) << "line " << c.line;
        clickButton(c.down, c.up);
        EXPECT_EQ(0u, process.finish()) << "line " << c.line;
    }
}

TEST_F(Closing, FourPixelsOfDriftKeepTheShowAndTheFifthEndsIt) {
    HWND saver = startShow(true);
    ASSERT_NE(nullptr, saver);
    moveMouse(2, 2);
    ASSERT_TRUE(cursorSettledAndSeen(saver)) << "a drift of 2 across and 2 down ended the show";
    POINT cursor;
    GetCursorPos(&cursor);
    ASSERT_EQ(CENTRE_X + 2, cursor.x);  // unaccelerated, as the case needs
    ASSERT_EQ(CENTRE_Y + 2, cursor.y);
    moveMouse(-1, 0);  // back towards the reference: 3 in total
    moveMouse(1, 0);
    ASSERT_TRUE(cursorSettledAndSeen(saver));
    moveMouse(0, 1);  // 5 from where the show started
    EXPECT_TRUE(ended());
    EXPECT_EQ(0u, process.finish());
}

TEST_F(Closing, SinglePixelMovesAddUp) {
    HWND saver = startShow(true);
    ASSERT_NE(nullptr, saver);
    for (int step = 1; step <= 4; ++step) {
        moveMouse(-1, 0);
        ASSERT_TRUE(cursorSettledAndSeen(saver)) << "ended after " << step << " pixels";
    }
    moveMouse(-1, 0);
    EXPECT_TRUE(ended());
    EXPECT_EQ(0u, process.finish());
}

TEST_F(Closing, LosingActivationEndsTheShow) {
    HWND saver = startShow();
    ASSERT_NE(nullptr, saver);
    // Wine without a window manager does not always tell the old foreground
    // thread; the message it would get is posted as well.
    SetForegroundWindow(foregroundWindow()->handle);
    PostMessageA(saver, WM_ACTIVATEAPP, FALSE, GetCurrentThreadId());
    EXPECT_TRUE(ended());
    EXPECT_EQ(0u, process.finish());
}

TEST_F(Closing, PowerEventsEndTheShowExceptAResumeFromFailure) {
    // Events that keep the show, all in one show.
    static const struct {
        int line;
        UINT message;
        WPARAM event;
        LPARAM flags;
    } keep[] = {
        {__LINE__, WM_POWERBROADCAST, 6, 1},    {__LINE__, WM_POWERBROADCAST, 7, 1},
        {__LINE__, WM_POWERBROADCAST, 8, 1},    {__LINE__, WM_POWERBROADCAST, 0x12, 1},
        {__LINE__, WM_POWERBROADCAST, 0x0A, 0},  // the power source did not change
        {__LINE__, WM_POWER, 1, 0},              {__LINE__, WM_POWER, 4, 0},
        {__LINE__, WM_ACTIVATEAPP, TRUE, 0},     // gaining activation
    };
    HWND saver = startShow();
    ASSERT_NE(nullptr, saver);
    for (const auto& c : keep) {
        PostMessageA(saver, c.message, c.event, c.flags);
        ASSERT_TRUE(RunningProgram::settle(saver)) << "line " << c.line;
    }
    EXPECT_EQ(0u, process.endShowWithKey());

    static const struct {
        int line;
        UINT message;
        WPARAM event;
        LPARAM flags;
    } close[] = {
        {__LINE__, WM_POWERBROADCAST, 0, 0},    {__LINE__, WM_POWERBROADCAST, 1, 0},
        {__LINE__, WM_POWERBROADCAST, 2, 0},    {__LINE__, WM_POWERBROADCAST, 3, 0},
        {__LINE__, WM_POWERBROADCAST, 4, 0},    {__LINE__, WM_POWERBROADCAST, 5, 0},
        {__LINE__, WM_POWERBROADCAST, 6, 0},    {__LINE__, WM_POWERBROADCAST, 7, 2},
        {__LINE__, WM_POWERBROADCAST, 8, 0},    {__LINE__, WM_POWERBROADCAST, 0x12, 0},
        {__LINE__, WM_POWERBROADCAST, 0x0B, 0}, {__LINE__, WM_POWERBROADCAST, 0x8013, 0},
        {__LINE__, WM_POWER, 3, 0},
    };
    for (const auto& c : close) {
        saver = startShow();
        ASSERT_NE(nullptr, saver) << "line " << c.line;
        PostMessageA(saver, c.message, c.event, c.flags);
        EXPECT_TRUE(ended()) << "line " << c.line;
        EXPECT_EQ(0u, process.finish()) << "line " << c.line;
    }
}

TEST_F(Closing, SwitchAndScreenSaverCommandsAreIgnored) {
    HWND saver = startShow();
    ASSERT_NE(nullptr, saver);
    static const WPARAM commands[] = {SC_NEXTWINDOW, SC_PREVWINDOW, SC_SCREENSAVE, SC_SCREENSAVE | 2};
    for (WPARAM command : commands) {
        DWORD_PTR result = 99;
        ASSERT_TRUE(SendMessageTimeoutA(saver, WM_SYSCOMMAND, command, 0, SMTO_NORMAL, DEADLINE, &result));
        EXPECT_EQ(0u, result) << std::hex << command;
        ASSERT_TRUE(RunningProgram::settle(saver)) << std::hex << command;
        EXPECT_EQ(saver, GetForegroundWindow());
    }
    EXPECT_EQ(0u, process.endShowWithKey());
}

TEST_F(Closing, TitleNeverChanges) {
    HWND saver = startShow();
    ASSERT_NE(nullptr, saver);
    EXPECT_EQ(0, SendMessageA(saver, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("Another title")));
    SetLastError(0xDEADBEEF);
    EXPECT_FALSE(SetWindowTextA(saver, "Another title"));
    char title[64] = {};
    GetWindowTextA(saver, title, sizeof title);
    EXPECT_STREQ("Screen Saver", title);
    EXPECT_EQ(0u, process.endShowWithKey());
}

// On this family a show that loses the foreground ends, so the first show
// found behind another window is one of the test's own: a window of the
// saver's class and title.
TEST_F(Closing, SecondShowBringsTheFirstToTheFrontAndEndsWithZero) {
    StandInShow first;
    ASSERT_NE(nullptr, first.window);
    ASSERT_TRUE(takeForeground());

    RunningProgram second;
    ASSERT_TRUE(second.start(copy.program, "/s"));
    EXPECT_EQ(0u, second.finish());
    EXPECT_TRUE(waitForeground(first.window));
    EXPECT_TRUE(IsWindow(first.window));
    EXPECT_TRUE(isAbove(first.window, foregroundWindow()->handle));
    takeForeground();  // not the active window when it goes
}

TEST_F(Closing, AutoPlayQueryIsNotAnsweredOutsideThe9xFamily) {
    HWND saver = startShow();
    ASSERT_NE(nullptr, saver);
    UINT autoPlay = RegisterWindowMessageA("QueryCancelAutoPlay");
    EXPECT_EQ(0, SendMessageA(saver, autoPlay, 0, 0));
    EXPECT_TRUE(RunningProgram::settle(saver));
    EXPECT_EQ(0u, process.endShowWithKey());
}
